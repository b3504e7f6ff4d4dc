#!/bin/sh
# Usage: sources_listed.sh SOURCE_DIR
# The build lists its sources instead of globbing them, so a new file that
# nobody adds to a CMakeLists.txt would silently not be compiled, or a new
# test never run. Every C, C++ and Fortran source in the tree must be named,
# at least by its stem (foreach loops add the extension), in a CMakeLists.txt,
# a .cmake file or a test script.
set -eu
cd "$1"
haystack=$(find . -path ./build\* -prune -o \( -name CMakeLists.txt -o -name '*.cmake' -o -name '*.sh' \) -print)
status=0
for file in $(find src kit tools bindings tests bench examples fuzz \
                   \( -name '*.cpp' -o -name '*.c' -o -name '*.f90' \) -not -path '*/corpus/*' | sort); do
    stem=$(basename "$file" | sed 's/\.[^.]*$//')
    # shellcheck disable=SC2086 # a list of file names
    if ! grep -qw -- "$stem" $haystack; then
        echo "not in any build file: $file" >&2
        status=1
    fi
done
[ $status = 0 ] && echo "every source file is listed in the build"
exit $status
