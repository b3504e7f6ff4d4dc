#!/bin/sh
# Instructions per record of the triangle loops, counted by callgrind: only
# code run inside GMD_ calls is collected (the library and the runtime code it
# calls), and a run over an empty file is subtracted so that opening and
# closing drop out.  Usage: instructions.sh PATH/TO/gmd_bench_calls [N]
set -eu
calls=$1
n=${2:-200000}
dir=$(mktemp -d "$(dirname "$calls")/instructions.XXXXXX")
trap 'rm -rf "$dir"' EXIT

count() {  # mode file records -> instructions collected
    valgrind --tool=callgrind --toggle-collect='GMD_*' --callgrind-out-file="$dir/out" \
        "$calls" "$1" "$2" "$3" 2>"$dir/log" || { cat "$dir/log" >&2; exit 1; }
    sed -n 's/^==[0-9]*== Collected : //p' "$dir/log"
}

w_full=$(count write "$dir/full.gmd" "$n")
w_empty=$(count write "$dir/empty.gmd" 0)
r_full=$(count read "$dir/full.gmd" "$n")
r_empty=$(count read "$dir/empty.gmd" 0)

report() {  # name full empty calls limit
    per=$(( ($2 - $3 + n / 2) / n ))
    verdict=met
    [ "$per" -le "$5" ] || verdict="NOT MET"
    printf '%-10s %-58s %5d instructions/record (target <= %d: %s)\n' "$1" "$4" "$per" "$5" "$verdict"
}
echo "callgrind, $n records, minus an empty run; library plus the runtime code it calls"
report write_tri "$w_full" "$w_empty" "GMD_SetTriangle + GMD_WriteRecord" 120
report read_tri "$r_full" "$r_empty" "GMD_GetRecord + GMD_GetRecordType + GMD_GetTriangle" 150
