# 32-bit Windows with Debian's mingw-w64 (posix threads), tests run under Wine.
set(GMD_MINGW_TRIPLE i686-w64-mingw32)
set(GMD_WINE_NAMES wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
