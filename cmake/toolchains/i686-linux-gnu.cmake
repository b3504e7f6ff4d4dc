# 32-bit x86 Linux (32-bit size_t and pointers, 4-byte long) with Debian's
# cross compiler; tests run under qemu, since a host kernel need not run
# 32-bit code itself.
set(GMD_CROSS_TRIPLE i686-linux-gnu)
set(GMD_CROSS_PROCESSOR i386)
set(GMD_STATIC_TESTS ON)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross-common.cmake)
