#!/bin/sh
# Usage: embed_and_consume.sh CMAKE SOURCE_DIR [EXTRA_FLAGS]
# Builds the project in embed/, which add_subdirectory()s the source tree,
# and runs its programs.
set -eu
cmake=$1 source=$2 flags=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$cmake" -S "$here/embed" -B "$work/build" -DGMD_SOURCE_DIR="$source" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" \
    -DCMAKE_SHARED_LINKER_FLAGS="$flags" > "$work/configure.log" 2>&1 || { cat "$work/configure.log"; exit 1; }
if grep -q 'not building' "$work/configure.log"; then
    echo "an embedded libgmd has nothing to report about optional parts:" >&2
    grep 'not building' "$work/configure.log" >&2
    exit 1
fi
"$cmake" --build "$work/build" -j 2 > "$work/build.log" 2>&1 || { cat "$work/build.log"; exit 1; }
"$work/build/consumer" "$work/embedded.gmd"
"$work/build/kit_consumer" "$work/embedded-kit.gmd"
echo "built libgmd and gmdkit inside another project; its programs ran"
