#!/bin/sh
# Compares the functions a library exports with the functions that the public
# header declares: the two lists must be equal.
#   check_exports.sh elf LIB.so HEADER        dynamic symbols of a shared object
#   check_exports.sh def FILE.def HEADER      the EXPORTS of a module-definition file
#   check_exports.sh pe LIB.dll HEADER OBJDUMP
#       the export table of a DLL; it must also import nothing but Windows'
#       own DLLs, so that it runs without any compiler runtime beside it
# EXPORT_PREFIX (default GMD_) names the functions of the header to compare.
set -eu
prefix=${EXPORT_PREFIX:-GMD_}
kind=$1
lib=$2
header=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
case $kind in
elf)
    nm -D --defined-only "$lib" | awk '{print $NF}' | sort > "$tmp/exported"
    ;;
def)
    # Names follow the EXPORTS line, one a line; ';' starts a comment.
    sed 's/;.*//' "$lib" | awk '/^[ \t]*EXPORTS/ {on = 1; next} on && NF {print $1}' | sort > "$tmp/exported"
    ;;
pe)
    "$4" -p "$lib" > "$tmp/headers"
    awk '/^\[Ordinal\/Name Pointer\] Table/ {on = 1; next} on && /^\t\[/ {print $NF; next} on {on = 0}' \
        "$tmp/headers" | sort > "$tmp/exported"
    awk '/DLL Name:/ {print tolower($NF)}' "$tmp/headers" | sort -u > "$tmp/imports"
    if grep -v -x -e kernel32.dll -e msvcrt.dll "$tmp/imports"; then
        echo "the DLL imports the DLLs above besides kernel32.dll and msvcrt.dll" >&2
        exit 1
    fi
    ;;
*)
    echo "usage: check_exports.sh elf|def|pe LIBRARY HEADER [OBJDUMP]" >&2
    exit 2
    ;;
esac
grep -o "${prefix}[A-Za-z0-9_]*(" "$header" | tr -d '(' | sort -u > "$tmp/declared"
if ! diff -u "$tmp/declared" "$tmp/exported"; then
    echo "exported symbols differ from the header's declarations" >&2
    exit 1
fi
echo "$(wc -l < "$tmp/exported") exports, all declared in the header"
