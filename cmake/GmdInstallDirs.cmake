# Where installed files go, relative to the prefix; set early so that every
# directory can write install rules with them (cmake/GmdInstall.cmake has the
# rules of the libraries, the tool and the Python package):
#   CMAKE_INSTALL_*   GNUInstallDirs: lib/<multiarch> under /usr
#   GMD_CMAKE_DIR     the CMake package
#   GMD_PC_DIR        the .pc files; GMD_PC_PREFIX is the prefix as they write it
#   GMD_PYTHON_DIR    the Python package's parent folder
include(GNUInstallDirs)
set(GMD_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/gmd)

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
# The Python package goes where the interpreter of the prefix looks: Debian's
# python3 reads /usr/lib/python3/dist-packages and
# /usr/local/lib/python3.X/dist-packages; any other prefix gets Python's own
# layout, lib/python3.X/site-packages, for PYTHONPATH.
if(GMD_WITH_PYTHON)
  execute_process(COMMAND ${GMD_PYTHON} -c "import sys; print('%d.%d' % sys.version_info[:2])"
    OUTPUT_VARIABLE gmd_python_version OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
    set(GMD_PYTHON_DIR lib/python3/dist-packages)
  elseif(CMAKE_INSTALL_PREFIX STREQUAL "/usr/local")
    set(GMD_PYTHON_DIR lib/python${gmd_python_version}/dist-packages)
  else()
    set(GMD_PYTHON_DIR lib/python${gmd_python_version}/site-packages)
  endif()
  set(GMD_INSTALL_PYTHONDIR "" CACHE STRING
    "Where the Python package gmd is installed, relative to the prefix (empty: chosen from the prefix)")
  if(GMD_INSTALL_PYTHONDIR)
    set(GMD_PYTHON_DIR ${GMD_INSTALL_PYTHONDIR})
  endif()
endif()
