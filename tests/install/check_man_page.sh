#!/usr/bin/env bash
# The batch tool's manual page is written by hand; this keeps it from
# drifting from the program. Every command that `lumivar-batch --help` lists
# has its own entry, every option that a command's --help lists appears in
# the page, and the page names no option that the program does not have.
#
#   check_man_page.sh LUMIVAR_BATCH MAN_PAGE
set -uo pipefail
# Under pipefail a writer piped into `grep -q` dies of SIGPIPE when grep stops
# at its first match, and the pipeline then fails at random: every search
# below reads a here-string instead of a pipe.
tool=$1 page=$2
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# The page as a reader sees it: roff's escaped hyphens as plain hyphens.
text=$(sed 's/\\-/-/g' "$page")

# Option names at the start of the lines of a help text ("  -h,--help",
# "  --data TEXT:FILE ..."); the lines that follow a name say Needs: or
# Excludes: with other options and are not read.
options_of() {
  "$tool" "$@" --help 2>&1 | grep -E '^ +-' | sed -E 's/^ +//; s/[ ].*//' | tr ',' '\n' |
    grep -E '^--?[A-Za-z]'
}

help=$("$tool" --help 2>&1) || fail "lumivar-batch --help exits $?"
commands=$(printf '%s\n' "$help" | sed -n '/^Subcommands:/,/^$/p' | sed -n 's/^  \([a-z][a-z-]*\) .*/\1/p')
[ -n "$commands" ] || fail "lumivar-batch --help lists no commands"

listed=$(options_of)
for command in $commands; do
  grep -qx "\.B $command" <<<"$text" || fail "the page has no entry for the command '$command'"
  listed+=$'\n'$(options_of "$command")
done
[ "$(printf '%s\n' "$listed" | grep -c -- '--')" -gt 10 ] || fail "too few options read from the help texts"

for option in $(printf '%s\n' "$listed" | sort -u); do
  grep -qE -- "(^|[^A-Za-z-])$option([^A-Za-z-]|\$)" <<<"$text" ||
    fail "the page does not mention $option"
done

# The other way round: an option the page names but the program lost.
for option in $(printf '%s\n' "$text" | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
  grep -qx -- "$option" <<<"$listed" || fail "the page names $option, which no --help lists"
done

grep -q '^\.SH EXIT STATUS' <<<"$text" || fail "the page has no EXIT STATUS section"

[ $failures -eq 0 ] && echo "the page lists every command and option of $tool"
exit $((failures > 0))
