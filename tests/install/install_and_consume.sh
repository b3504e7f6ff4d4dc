#!/bin/sh
# Usage: install_and_consume.sh CMAKE BUILD_DIR SOURCE_DIR CC PKG_CONFIG [tool] [python=PYTHON]
# Installs BUILD_DIR into a fresh prefix, checks the installed files, then
# uses the prefix as a client would: C programs through find_package(gmd)
# (shared and static libgmd and gmdkit) and through pkg-config (gmd,
# gmdkit), the installed gmd command, man page and Python package.
# fortran_consume.sh does the same for the Fortran module.
# Empty arguments stand for parts that were not built.
set -eu
cmake=$1 build=$2 here=$3 cc=$4 pkgconfig=$5
shift 5
tool=no python=
for part in "$@"; do
    case $part in
        tool) tool=yes ;;
        python=*) python=${part#python=} ;;
    esac
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

"$cmake" --install "$build" --prefix "$prefix" > "$work/install.log"
# The libraries go to lib/ or to a multiarch lib/<triplet>/.
libdir=$(dirname "$(ls "$prefix"/lib/libgmd.so.1 "$prefix"/lib/*/libgmd.so.1 2>/dev/null | head -n 1)")
[ -d "$libdir" ] || { echo "not installed: libgmd.so.1" >&2; exit 1; }
missing=""
expect() {
    for file in "$@"; do
        [ -e "$file" ] || missing="$missing ${file#"$prefix"/}"
    done
}
expect "$prefix/include/gmd.h" "$prefix/include/gmdkit.h" \
       "$libdir/libgmd.so" "$libdir/libgmd.a" "$libdir/libgmdkit.so" "$libdir/libgmdkit.so.1" "$libdir/libgmdkit.a" \
       "$libdir/cmake/gmd/gmdConfig.cmake" "$libdir/cmake/gmd/gmdConfigVersion.cmake" \
       "$libdir/pkgconfig/gmd.pc" "$libdir/pkgconfig/gmdkit.pc"
[ $tool = yes ] && expect "$prefix/bin/gmd" "$prefix/share/man/man1/gmd.1"
if [ -n "$python" ]; then
    pythondir=$(ls -d "$prefix"/lib/python3*/*-packages 2>/dev/null | head -n 1)
    expect "$pythondir/gmd/__init__.py" "$pythondir/gmd/_install.py"
fi
if [ -n "$missing" ]; then
    echo "not installed:$missing" >&2
    exit 1
fi

"$cmake" -S "$here/consumer" -B "$work/cmake-build" -DCMAKE_PREFIX_PATH="$prefix" \
    > "$work/configure.log" || { cat "$work/configure.log"; exit 1; }
"$cmake" --build "$work/cmake-build" > "$work/build.log" || { cat "$work/build.log"; exit 1; }
for program in consumer_shared consumer_static kit_consumer_shared kit_consumer_static; do
    "$work/cmake-build/$program" "$work/$program.gmd"
done

export PKG_CONFIG_PATH="$libdir/pkgconfig"
# shellcheck disable=SC2046 # the flags are meant to split
"$cc" -o "$work/consumer_pc" "$here/consumer/consumer.c" $("$pkgconfig" --cflags --libs gmd) -Wl,-rpath,"$libdir"
"$work/consumer_pc" "$work/pkgconfig.gmd"
# shellcheck disable=SC2046
"$cc" -o "$work/kit_consumer_pc" "$here/consumer/kit_consumer.c" $("$pkgconfig" --cflags --libs gmdkit gmd) \
    -Wl,-rpath,"$libdir"
"$work/kit_consumer_pc" "$work/pkgconfig-kit.gmd"

# The installed programs and the Python package find the libraries of the
# prefix by themselves.
if [ $tool = yes ]; then
    version=$(env -u LD_LIBRARY_PATH "$prefix/bin/gmd" --version)
    case $version in *1.0.0*) ;; *) echo "gmd --version printed: $version" >&2; exit 1 ;; esac
    if command -v man >/dev/null 2>&1; then
        MANPATH="$prefix/share/man" man -P cat gmd 2>/dev/null | grep -q 'gmd convert' ||
            { echo "man gmd does not show the installed page" >&2; exit 1; }
    fi
fi
if [ -n "$python" ]; then
    (cd "$work" && env -u GMD_LIBRARY PYTHONPATH="$pythondir" PYTHONDONTWRITEBYTECODE=1 "$python" -c "
import gmd, gmd._install, os, sys
assert gmd.__file__.startswith('$pythondir'), gmd.__file__
assert os.path.samefile(gmd._install.LIBDIR, '$libdir'), gmd._install.LIBDIR
")
fi
echo "installed into a temporary prefix; a client of each installed part used it"
