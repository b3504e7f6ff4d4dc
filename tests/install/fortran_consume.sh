#!/bin/sh
# Usage: fortran_consume.sh CMAKE BUILD_DIR SOURCE_DIR FC PKG_CONFIG [EXTRA_FLAGS]
# Installs BUILD_DIR into a fresh prefix, then builds consumer.f90 against it
# with nothing but `pkg-config --cflags --libs gmd-fortran` and runs it.
set -eu
cmake=$1 build=$2 here=$3 fc=$4 pkgconfig=$5 flags=${6:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

"$cmake" --install "$build" --prefix "$prefix" > "$work/install.log"
pc=$(ls "$prefix"/lib/pkgconfig/gmd-fortran.pc "$prefix"/lib/*/pkgconfig/gmd-fortran.pc 2>/dev/null | head -n 1 || true)
if [ -z "$pc" ]; then
    echo "not installed: gmd-fortran.pc" >&2
    exit 1
fi
PKG_CONFIG_PATH=$(dirname "$pc")
export PKG_CONFIG_PATH
moduledir=$("$pkgconfig" --variable=moduledir gmd-fortran)
libdir=$("$pkgconfig" --variable=libdir gmd-fortran)
for file in "$moduledir/gmd.mod" "$libdir/libgmd_fortran.so.1" "$libdir/libgmdkit.so.1"; do
    if [ ! -e "$file" ]; then
        echo "not installed: ${file#"$prefix"/}" >&2
        exit 1
    fi
done

cd "$work"
# shellcheck disable=SC2046 # the flags are meant to split
"$fc" $flags -o consumer "$here/consumer/consumer.f90" \
    $("$pkgconfig" --cflags --libs gmd-fortran) -Wl,-rpath,"$libdir"
./consumer "padded.gmd"
echo "installed into a temporary prefix; a Fortran program built with gmd-fortran.pc ran"
