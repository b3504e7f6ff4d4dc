#!/bin/sh
# Compares the dynamic symbols that the shared library defines with the
# functions that the public header declares: the two lists must be equal.
set -eu
lib=$1
header=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
nm -D --defined-only "$lib" | awk '{print $NF}' | sort > "$tmp/exported"
grep -o 'GMD_[A-Za-z0-9_]*(' "$header" | tr -d '(' | sort -u > "$tmp/declared"
if ! diff -u "$tmp/declared" "$tmp/exported"; then
    echo "exported symbols differ from the header's declarations" >&2
    exit 1
fi
echo "$(wc -l < "$tmp/exported") exports, all declared in the header"
