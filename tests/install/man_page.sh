#!/bin/sh
# Usage: man_page.sh GMD PAGE
# The man page and the tool describe the same commands and options: every
# subcommand of `gmd --help` has a section (.SS) in PAGE, every option of
# `gmd SUB --help` is described there, and every option the section describes
# (a .TP tag) exists. Also checks that man(1) can format the page.
set -eu
gmd=$1 page=$2
status=0

# Option names (--long and -s) of a CLI11 help text, one per line, without
# --help and --version, which the page describes once for every command.
options() {
    sed -n 's/^  \(-[^ ]*\).*/\1/p' | tr ',' '\n' | grep -v '^-h$\|^--help$\|^--version$' || true
}

# The lines of section .SS $1 of the page.
section() {
    awk -v name="$1" '/^\.S[SH] / { inside = ($0 == ".SS " name) ; next } inside' "$page"
}

subcommands=$("$gmd" --help | awk '/^Subcommands:/ { on = 1; next } on && /^  [a-z]/ { print $1 }')
if [ -z "$subcommands" ]; then
    echo "gmd --help lists no subcommands" >&2
    exit 1
fi
for sub in $subcommands; do
    text=$(section "$sub")
    if [ -z "$text" ]; then
        echo "$page: no section for '$sub'" >&2
        status=1
        continue
    fi
    for option in $("$gmd" "$sub" --help | options); do
        written=$(printf '%s' "$option" | sed 's/-/\\\\-/g')
        if ! printf '%s\n' "$text" | grep -q -- "$written\\b"; then
            echo "$page: '$sub' does not describe $option" >&2
            status=1
        fi
    done
    # The options the section describes: the line after each .TP.
    described=$(printf '%s\n' "$text" | awk 'tag { print; tag = 0 } /^\.TP/ { tag = 1 }' |
                sed 's/\\-/-/g' | grep -oE -- '(^|[ "])--?[a-z][a-z-]*' | tr -d ' "' || true)
    help=$("$gmd" "$sub" --help | options)
    for option in $described; do
        if ! printf '%s\n' "$help" | grep -qx -- "$option"; then
            echo "$page: '$sub' describes $option, which gmd $sub does not have" >&2
            status=1
        fi
    done
done
if "$gmd" --help | grep -q -- '--version' && ! grep -q -- '\\-\\-version' "$page"; then
    echo "$page: --version is not described" >&2
    status=1
fi

if command -v man >/dev/null 2>&1; then
    if ! out=$(MANWIDTH=80 man -l -P cat "$page" 2>&1) || printf '%s' "$out" | grep -qi 'warning'; then
        printf '%s\n' "$out" >&2
        echo "$page: man cannot format it cleanly" >&2
        status=1
    fi
fi
[ $status = 0 ] && echo "$page describes every command and option of $gmd"
exit $status
