# Installs both libraries, the header, the CMake package (find_package(gmd)
# gives gmd::gmd and gmd::gmd_static) and the pkg-config file gmd.pc.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

target_include_directories(gmd INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
target_include_directories(gmd_static INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
# Clients of the static library must not declare the functions dllimport.
target_compile_definitions(gmd_static INTERFACE GMD_STATIC)

install(TARGETS gmd gmd_static EXPORT gmdTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} NAMELINK_COMPONENT Development
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/gmd.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
# The client layer, which the bindings load at run time.
install(TARGETS gmdkit
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} NAMELINK_COMPONENT Development)

set(GMD_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/gmd)
install(EXPORT gmdTargets NAMESPACE gmd:: DESTINATION ${GMD_CMAKE_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/gmdConfig.cmake.in
  ${PROJECT_BINARY_DIR}/gmdConfig.cmake
  INSTALL_DESTINATION ${GMD_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/gmdConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/gmdConfig.cmake ${PROJECT_BINARY_DIR}/gmdConfigVersion.cmake
  DESTINATION ${GMD_CMAKE_DIR})

# gmd.pc finds the prefix from its own place, so the tree can be installed
# with `cmake --install --prefix` anywhere and moved afterwards.
set(GMD_PC_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  set(GMD_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
else()
  file(RELATIVE_PATH GMD_PC_UP "/root/${GMD_PC_DIR}" "/root")
  string(REGEX REPLACE "/$" "" GMD_PC_UP "${GMD_PC_UP}")
  set(GMD_PC_PREFIX "\${pcfiledir}/${GMD_PC_UP}")
endif()
configure_file(${PROJECT_SOURCE_DIR}/gmd.pc.in ${PROJECT_BINARY_DIR}/gmd.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/gmd.pc DESTINATION ${GMD_PC_DIR})
