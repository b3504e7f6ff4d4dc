# What `cmake --install` puts under the prefix, by component; each component
# is one Debian package (cmake/GmdPackage.cmake):
#   Runtime      libgmd.so.1, libgmdkit.so.1, the Fortran binding's library
#   Development  headers, .so links, static libraries, the CMake package
#                (find_package(gmd) gives gmd::gmd, gmd::gmd_static,
#                gmd::gmdkit, gmd::gmdkit_static), gmd.pc, gmdkit.pc, the
#                Fortran module and gmd-fortran.pc
#   Tools        the gmd command and its man page
#   Python       the Python package gmd
# Every install() names its component: a file without one would be in no
# package. The folders are those of cmake/GmdInstallDirs.cmake.
include(CMakePackageConfigHelpers)

set(GMD_LIBRARIES gmd gmd_static gmdkit gmdkit_static)
target_include_directories(gmd INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
target_include_directories(gmd_static INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
target_include_directories(gmdkit INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
target_include_directories(gmdkit_static INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
# Clients of the static library must not declare the functions dllimport.
target_compile_definitions(gmd_static INTERFACE GMD_STATIC)

# Installed programs and libraries find the others in the prefix's libdir,
# unless that is a place the dynamic linker searches anyway (/usr): then they
# carry no run path. (libgmd_fortran always looks beside itself.)
set(GMD_ABSOLUTE_LIBDIR ${CMAKE_INSTALL_FULL_LIBDIR})
list(FIND CMAKE_PLATFORM_IMPLICIT_LINK_DIRECTORIES "${GMD_ABSOLUTE_LIBDIR}" gmd_system_libdir)
if(gmd_system_libdir EQUAL -1 AND NOT APPLE AND NOT WIN32)
  file(RELATIVE_PATH gmd_bin_to_lib ${CMAKE_INSTALL_FULL_BINDIR} ${GMD_ABSOLUTE_LIBDIR})
  set(GMD_LIBRARY_RPATH "$ORIGIN")
  set(GMD_PROGRAM_RPATH "$ORIGIN/${gmd_bin_to_lib}")
  set_target_properties(gmdkit PROPERTIES INSTALL_RPATH "${GMD_LIBRARY_RPATH}")
  if(TARGET gmd_tool)
    set_target_properties(gmd_tool PROPERTIES INSTALL_RPATH "${GMD_PROGRAM_RPATH}")
  endif()
endif()

install(TARGETS ${GMD_LIBRARIES} EXPORT gmdTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Runtime
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Runtime NAMELINK_COMPONENT Development
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development)
install(FILES ${PROJECT_SOURCE_DIR}/include/gmd.h ${PROJECT_SOURCE_DIR}/kit/include/gmdkit.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT Development)

install(EXPORT gmdTargets NAMESPACE gmd:: DESTINATION ${GMD_CMAKE_DIR} COMPONENT Development)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/gmdConfig.cmake.in
  ${PROJECT_BINARY_DIR}/gmdConfig.cmake
  INSTALL_DESTINATION ${GMD_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/gmdConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/gmdConfig.cmake ${PROJECT_BINARY_DIR}/gmdConfigVersion.cmake
  DESTINATION ${GMD_CMAKE_DIR} COMPONENT Development)

foreach(pc gmd gmdkit)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/${pc}.pc.in ${PROJECT_BINARY_DIR}/${pc}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/${pc}.pc DESTINATION ${GMD_PC_DIR} COMPONENT Development)
endforeach()

if(TARGET gmd_tool)
  install(TARGETS gmd_tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Tools)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/gmd.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT Tools)
endif()

# _install.py, written at install time, tells the Python package where its
# libraries are, so that it needs no environment variable.
if(GMD_WITH_PYTHON)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/bindings/python/gmd DESTINATION ${GMD_PYTHON_DIR}
    COMPONENT Python
    PATTERN __pycache__ EXCLUDE
    PATTERN _install.py EXCLUDE)
  # CMAKE_INSTALL_PREFIX here is the prefix of the install being run
  # (`cmake --install --prefix` or CPack's), not the configured one.
  install(CODE "
    set(gmd_libdir \"${CMAKE_INSTALL_LIBDIR}\")
    if(NOT IS_ABSOLUTE \"\${gmd_libdir}\")
      set(gmd_libdir \"\${CMAKE_INSTALL_PREFIX}/\${gmd_libdir}\")
    endif()
    set(gmd_python_dir \"${GMD_PYTHON_DIR}\")
    if(NOT IS_ABSOLUTE \"\${gmd_python_dir}\")
      set(gmd_python_dir \"\${CMAKE_INSTALL_PREFIX}/\${gmd_python_dir}\")
    endif()
    message(STATUS \"Installing: \$ENV{DESTDIR}\${gmd_python_dir}/gmd/_install.py\")
    file(WRITE \"\$ENV{DESTDIR}\${gmd_python_dir}/gmd/_install.py\"
      \"# Written when the package was installed: where its libraries are.\\nLIBDIR = \\\"\${gmd_libdir}\\\"\\n\")
    " COMPONENT Python)
endif()
