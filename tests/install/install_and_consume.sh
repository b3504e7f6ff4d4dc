#!/bin/sh
# Usage: install_and_consume.sh CMAKE BUILD_DIR SOURCE_DIR CC PKG_CONFIG [EXTRA_FLAGS]
# Installs BUILD_DIR into a fresh prefix, checks the installed files, then
# builds and runs consumer.c against the prefix twice: through
# find_package(gmd) (shared and static library) and through pkg-config.
set -eu
cmake=$1 build=$2 here=$3 cc=$4 pkgconfig=$5 flags=${6:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

"$cmake" --install "$build" --prefix "$prefix" > "$work/install.log"
for file in include/gmd.h lib/libgmd.a lib/libgmd.so lib/libgmd.so.1 \
            lib/cmake/gmd/gmdConfig.cmake lib/cmake/gmd/gmdConfigVersion.cmake lib/pkgconfig/gmd.pc; do
    found=$(ls "$prefix"/$file "$prefix"/lib/*/"${file#lib/}" 2>/dev/null | head -n 1 || true)
    if [ -z "$found" ]; then
        echo "not installed: $file" >&2
        exit 1
    fi
done

"$cmake" -S "$here/consumer" -B "$work/cmake-build" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" \
    > "$work/configure.log" || { cat "$work/configure.log"; exit 1; }
"$cmake" --build "$work/cmake-build" > "$work/build.log" || { cat "$work/build.log"; exit 1; }
"$work/cmake-build/consumer_shared" "$work/shared.gmd"
"$work/cmake-build/consumer_static" "$work/static.gmd"

pcdir=$(dirname "$(ls "$prefix"/lib/pkgconfig/gmd.pc "$prefix"/lib/*/pkgconfig/gmd.pc 2>/dev/null | head -n 1)")
export PKG_CONFIG_PATH="$pcdir"
libdir=$("$pkgconfig" --variable=libdir gmd)
# shellcheck disable=SC2046 # the flags are meant to split
"$cc" $flags -o "$work/consumer_pc" "$here/consumer/consumer.c" \
    $("$pkgconfig" --cflags --libs gmd) -Wl,-rpath,"$libdir"
"$work/consumer_pc" "$work/pkgconfig.gmd"
echo "installed into a temporary prefix; consumers built with CMake and pkg-config ran"
