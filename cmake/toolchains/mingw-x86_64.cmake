# 64-bit Windows with Debian's mingw-w64 (posix threads), tests run under Wine.
set(GMD_MINGW_TRIPLE x86_64-w64-mingw32)
set(GMD_WINE_NAMES wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
