# Shared by the mingw-w64 toolchain files, which set GMD_MINGW_TRIPLE and the
# names of the Wine loader able to run the result.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${GMD_MINGW_TRIPLE})
# The posix flavour: the win32 one of this compiler has no std::thread, which
# the thread test needs.
set(CMAKE_C_COMPILER ${GMD_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GMD_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${GMD_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${GMD_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Programs carry their compiler runtime, so Wine needs no DLL but gmd.dll.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
find_program(GMD_WINE NAMES ${GMD_WINE_NAMES} PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(GMD_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${GMD_WINE})
endif()
