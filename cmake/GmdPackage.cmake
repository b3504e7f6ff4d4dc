# Debian packages, one per install component (`make package`, which
# configures a build with the prefix /usr so that the libraries land in the
# multiarch libdir):
#   libgmd1      Runtime
#   libgmd-dev   Development, depends on libgmd1 of the same version
#   gmd-tools    Tools, depends on libgmd1
#   python3-gmd  Python, depends on libgmd1, python3 and python3-numpy
# dpkg-shlibdeps adds what the binaries need from the system (libc, libstdc++,
# libpng, libgfortran).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME libgmd)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "libgmd developers")
set(CPACK_PACKAGE_CONTACT "libgmd developers <libgmd@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Reads and writes GMD geometry-record files")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Our own libraries, which the programs and the other libraries need, are in
# the build tree; the package dependencies below name their package.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
  ${PROJECT_BINARY_DIR} ${PROJECT_BINARY_DIR}/kit ${PROJECT_BINARY_DIR}/bindings)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION science)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libgmd1)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
# A shlibs file for packages built against libgmd1, and the ldconfig trigger.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libgmd-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME gmd-tools)
set(CPACK_DEBIAN_PYTHON_PACKAGE_NAME python3-gmd)
set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS "python3, python3-numpy")
set(CPACK_DEBIAN_PYTHON_PACKAGE_RECOMMENDS python3-meshio)
set(CPACK_DEBIAN_PYTHON_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/cmake/debian/python3-gmd/prerm)

set(CPACK_COMPONENTS_ALL Runtime Development)
if(TARGET gmd_tool)
  list(APPEND CPACK_COMPONENTS_ALL Tools)
endif()
if(GMD_WITH_PYTHON)
  list(APPEND CPACK_COMPONENTS_ALL Python)
endif()

include(CPack)
cpack_add_component(Runtime DISPLAY_NAME "libgmd shared libraries"
  DESCRIPTION "libgmd, which reads and writes GMD geometry-record files, and gmdkit, its client layer (scan and diagnose a file, whole meshes as arrays)")
cpack_add_component(Development DISPLAY_NAME "libgmd development files" DEPENDS Runtime
  DESCRIPTION "Headers, static libraries, CMake package, pkg-config files and Fortran module of libgmd and gmdkit")
cpack_add_component(Tools DISPLAY_NAME "gmd command-line tool" DEPENDS Runtime
  DESCRIPTION "gmd inspects, checks, compares, converts and renders GMD files")
cpack_add_component(Python DISPLAY_NAME "Python package gmd" DEPENDS Runtime
  DESCRIPTION "Python package gmd: GMD records and whole meshes as numpy arrays, a meshio format")
