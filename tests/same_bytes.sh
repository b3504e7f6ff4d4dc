#!/bin/sh
# Runs write_model natively and on the target (through its emulator, if any)
# and compares the two files byte for byte.
#   same_bytes.sh NATIVE_WRITE_MODEL [EMULATOR...] TARGET_WRITE_MODEL
set -eu
native=$1
shift
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# The target program is given a name relative to its working folder: the
# emulated system may spell absolute names its own way.
(cd "$tmp" && "$native" native.gmd && "$@" target.gmd)
cmp "$tmp/native.gmd" "$tmp/target.gmd"
echo "$(wc -c < "$tmp/native.gmd") bytes, identical"
