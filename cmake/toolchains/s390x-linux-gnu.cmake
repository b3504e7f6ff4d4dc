# s390x, a big-endian Linux, with Debian's cross compiler; tests run under qemu.
set(GMD_CROSS_TRIPLE s390x-linux-gnu)
set(GMD_CROSS_PROCESSOR s390x)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross-common.cmake)
