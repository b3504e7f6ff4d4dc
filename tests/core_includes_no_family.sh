#!/bin/sh
# The core knows record families in two files only: record_file.h, which
# holds their decoded members, and dispatch.cpp, which merges their letter
# rows. Any other core file that includes a family header fails this check.
#   core_includes_no_family.sh SRC_DIR
set -eu
found=$(grep -lE '#include +"\.\./(mesh|solids|surfaces)/' "$1"/core/*.h "$1"/core/*.cpp |
        grep -vE '/core/(record_file\.h|dispatch\.cpp)$' || true)
[ -z "$found" ] || { echo "core files that include a family header:" $found; exit 1; }
