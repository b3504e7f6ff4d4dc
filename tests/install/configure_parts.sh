#!/bin/sh
# Usage: configure_parts.sh CMAKE SOURCE_DIR
# Configures the source tree as a machine without the optional packages would
# (find_package disabled for each, no Fortran compiler, no Python) and checks
# what is built: the libraries always; a part left to AUTO is left out and
# named in the one "not building" line; a part asked for with ON fails the
# configure, naming what it needs.
set -eu
cmake=$1 source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
nothing="-DCMAKE_DISABLE_FIND_PACKAGE_CLI11=ON -DCMAKE_DISABLE_FIND_PACKAGE_nlohmann_json=ON
         -DCMAKE_DISABLE_FIND_PACKAGE_PNG=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON
         -DCMAKE_DISABLE_FIND_PACKAGE_Doxygen=ON -DCMAKE_Fortran_COMPILER= -DGMD_PYTHON=$work/no-python"

# case NAME EXPECT EXTRA_ARGS: EXPECT is ok or fail.
run() {
    name=$1 expect=$2
    shift 2
    # shellcheck disable=SC2086 # $nothing is a list of arguments
    if "$cmake" -S "$source" -B "$work/$name" $nothing "$@" > "$work/$name.log" 2>&1; then
        result=ok
    else
        result=fail
    fi
    if [ "$result" != "$expect" ]; then
        cat "$work/$name.log" >&2
        echo "$name: the configure should $( [ "$expect" = ok ] && echo succeed || echo fail)" >&2
        status=1
        return 1
    fi
}

# The log of case $1 contains $2 (fixed string).
says() {
    if ! grep -qF -- "$2" "$work/$1.log"; then
        echo "$1: the configure does not say: $2" >&2
        status=1
    fi
}

# Case $1 builds exactly the targets $2 of the targets $3.
builds() {
    targets=$("$cmake" --build "$work/$1" --target help)
    for target in $3; do
        if printf '%s\n' "$targets" | grep -q "^\.\.\. $target\$"; then has=yes; else has=no; fi
        case " $2 " in *" $target "*) want=yes ;; *) want=no ;; esac
        if [ $has != $want ]; then
            echo "$1: target $target: built $has, expected $want" >&2
            status=1
        fi
    done
}

all="gmd gmd_static gmdkit gmdkit_static gmd_tests gmd_tool gmd_fortran gmd_bench gmd_demo"

if run bare ok -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON; then
    says bare "libgmd: not building: test suite (no GoogleTest); tool (no CLI11, nlohmann_json, PNG); bindings (no Fortran compiler, $work/no-python with numpy); benchmarks (no Google Benchmark, Fortran compiler); API reference (no doxygen)"
    builds bare "gmd gmd_static gmdkit gmdkit_static gmd_demo" "$all"
    if [ "$(grep -c 'not building' "$work/bare.log")" != 1 ]; then
        echo "bare: more than one line about what is not built" >&2
        status=1
    fi
fi
if run with_tests ok; then
    builds with_tests "gmd gmd_static gmdkit gmdkit_static gmd_tests gmd_demo" "$all"
fi
run tests_asked fail -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DGMD_BUILD_TESTS=ON && says tests_asked GoogleTest
run tool_asked fail -DGMD_BUILD_TOOLS=ON && says tool_asked CLI11
run bindings_asked fail -DGMD_BUILD_BINDINGS=ON && says bindings_asked "Fortran compiler"
if run everything_off ok -DGMD_BUILD_TESTS=OFF -DGMD_BUILD_EXAMPLES=OFF -DGMD_BUILD_TOOLS=OFF \
       -DGMD_BUILD_BINDINGS=OFF -DGMD_BUILD_BENCH=OFF -DCMAKE_DISABLE_FIND_PACKAGE_Doxygen=OFF; then
    builds everything_off "gmd gmd_static gmdkit gmdkit_static" "$all"
fi

[ $status = 0 ] && echo "the optional parts follow their options and what is found"
exit $status
