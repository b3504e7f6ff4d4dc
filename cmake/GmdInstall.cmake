# What `cmake --install` puts under the prefix, by component; each component
# is one Debian package (cmake/GmdPackage.cmake):
#   Runtime      libgmd.so.1, libgmdkit.so.1, the Fortran binding's library
#   Development  headers, .so links, static libraries, the CMake package
#                (find_package(gmd) gives gmd::gmd, gmd::gmd_static,
#                gmd::gmdkit, gmd::gmdkit_static), gmd.pc, gmdkit.pc, the
#                Fortran module and gmd-fortran.pc
#   Tools        the gmd command and its man page
#   Python       the Python package gmd
# Every install() names its component: a file without one would be in no package.
include(GNUInstallDirs)
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
# carry no run path.
set(GMD_ABSOLUTE_LIBDIR ${CMAKE_INSTALL_FULL_LIBDIR})
list(FIND CMAKE_PLATFORM_IMPLICIT_LINK_DIRECTORIES "${GMD_ABSOLUTE_LIBDIR}" gmd_system_libdir)
if(gmd_system_libdir EQUAL -1 AND NOT APPLE AND NOT WIN32)
  file(RELATIVE_PATH gmd_bin_to_lib ${CMAKE_INSTALL_FULL_BINDIR} ${GMD_ABSOLUTE_LIBDIR})
  set(GMD_LIBRARY_RPATH "$ORIGIN")
  set(GMD_PROGRAM_RPATH "$ORIGIN/${gmd_bin_to_lib}")
  set_target_properties(gmdkit PROPERTIES INSTALL_RPATH "${GMD_LIBRARY_RPATH}")
  if(TARGET gmd_fortran)
    set_target_properties(gmd_fortran PROPERTIES INSTALL_RPATH "${GMD_LIBRARY_RPATH}")
  endif()
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

set(GMD_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/gmd)
install(EXPORT gmdTargets NAMESPACE gmd:: DESTINATION ${GMD_CMAKE_DIR} COMPONENT Development)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/gmdConfig.cmake.in
  ${PROJECT_BINARY_DIR}/gmdConfig.cmake
  INSTALL_DESTINATION ${GMD_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/gmdConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/gmdConfig.cmake ${PROJECT_BINARY_DIR}/gmdConfigVersion.cmake
  DESTINATION ${GMD_CMAKE_DIR} COMPONENT Development)

# The .pc files find the prefix from their own place, so the tree can be
# installed with `cmake --install --prefix` anywhere and moved afterwards.
# GMD_PC_PREFIX is the prefix as a .pc file in GMD_PC_DIR writes it.
set(GMD_PC_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  set(GMD_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
else()
  file(RELATIVE_PATH GMD_PC_UP "/root/${GMD_PC_DIR}" "/root")
  string(REGEX REPLACE "/$" "" GMD_PC_UP "${GMD_PC_UP}")
  set(GMD_PC_PREFIX "\${pcfiledir}/${GMD_PC_UP}")
endif()
foreach(pc gmd gmdkit)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/${pc}.pc.in ${PROJECT_BINARY_DIR}/${pc}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/${pc}.pc DESTINATION ${GMD_PC_DIR} COMPONENT Development)
endforeach()

if(TARGET gmd_tool)
  install(TARGETS gmd_tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Tools)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/gmd.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT Tools)
endif()

# The Python package goes where the interpreter of the prefix looks: Debian's
# python3 reads /usr/lib/python3/dist-packages and
# /usr/local/lib/python3.X/dist-packages; any other prefix gets Python's own
# layout, lib/python3.X/site-packages, for PYTHONPATH. _install.py, written at
# install time, tells the package where its libraries are, so that it needs no
# environment variable.
if(GMD_WITH_PYTHON)
  execute_process(COMMAND ${GMD_PYTHON} -c "import sys; print('%d.%d' % sys.version_info[:2])"
    OUTPUT_VARIABLE gmd_python_version OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
    set(gmd_python_dir lib/python3/dist-packages)
  elseif(CMAKE_INSTALL_PREFIX STREQUAL "/usr/local")
    set(gmd_python_dir lib/python${gmd_python_version}/dist-packages)
  else()
    set(gmd_python_dir lib/python${gmd_python_version}/site-packages)
  endif()
  set(GMD_INSTALL_PYTHONDIR "" CACHE STRING
    "Where the Python package gmd is installed, relative to the prefix (empty: chosen from the prefix)")
  if(GMD_INSTALL_PYTHONDIR)
    set(gmd_python_dir ${GMD_INSTALL_PYTHONDIR})
  endif()
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/bindings/python/gmd DESTINATION ${gmd_python_dir}
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
    set(gmd_python_dir \"${gmd_python_dir}\")
    if(NOT IS_ABSOLUTE \"\${gmd_python_dir}\")
      set(gmd_python_dir \"\${CMAKE_INSTALL_PREFIX}/\${gmd_python_dir}\")
    endif()
    message(STATUS \"Installing: \$ENV{DESTDIR}\${gmd_python_dir}/gmd/_install.py\")
    file(WRITE \"\$ENV{DESTDIR}\${gmd_python_dir}/gmd/_install.py\"
      \"# Written when the package was installed: where its libraries are.\\nLIBDIR = \\\"\${gmd_libdir}\\\"\\n\")
    " COMPONENT Python)
endif()
