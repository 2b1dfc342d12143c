#!/usr/bin/env bash
# The commands that the documents show must run as written. Every command
# block marked runnable (a line "<!-- runnable -->" right before its ```sh
# fence) in the Markdown files given, and the EXAMPLES of the manual page,
# run verbatim with bash from a copy of the repository root: its folders
# linked, build/ being the build tree under test, and that tree's batch tool
# on PATH as README.md tells. Whatever a block writes lands in the copy.
# A ```sh block that names lumivar-batch must be marked runnable or
# template (a block with words to fill in), so that none goes unchecked.
#
#   run_doc_commands.sh SOURCE_DIR BINARY_DIR MAN_PAGE DOC.md...
set -uo pipefail
source_dir=$1 binary_dir=$2 man_page=$3
shift 3
failures=0 ran=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root="$scratch/root"
mkdir "$root"
for entry in "$source_dir"/* "$source_dir"/.[!.]*; do
  name=${entry##*/}
  [ -e "$entry" ] && [ "$name" != build ] && ln -s "$entry" "$root/$name"
done
ln -s "$binary_dir" "$root/build"
export PATH="$root/build/src/batch:$PATH"

run_block() {  # WHERE FILE
  local where=$1 file=$2
  ran=$((ran + 1))
  if ! (cd "$root" && bash -euo pipefail "$file") >"$scratch/log" 2>&1; then
    fail "$where does not run:"
    sed 's/^/    | /' "$file" >&2
    sed 's/^/    > /' "$scratch/log" | tail -n 20 >&2
  fi
}

for doc in "$@"; do
  rel=${doc#"$source_dir"/}
  # Each block to its own file, named by the line of its fence; a block
  # naming the tool without a mark is reported.
  rm -f "$scratch"/block.*
  awk -v out="$scratch/block." -v doc="$rel" '
    /^<!-- (runnable|template) -->$/ { mark = $2; marked_at = NR; next }
    !inside && /^```sh$/ {
      inside = 1; start = NR; runnable = (mark == "runnable" && marked_at == NR - 1)
      known = (mark != "" && marked_at == NR - 1); body = ""; mark = ""; next
    }
    inside && /^```$/ {
      inside = 0
      if (runnable) printf "%s", body > (out start)
      else if (!known && body ~ /lumivar-batch/) print doc ", line " start ": a block naming lumivar-batch is marked neither runnable nor template" > (out "unmarked")
      next
    }
    inside { body = body $0 "\n" }
  ' "$doc"
  if [ -f "$scratch/block.unmarked" ]; then
    while IFS= read -r line; do fail "$line"; done <"$scratch/block.unmarked"
    rm -f "$scratch/block.unmarked"
  fi
  for file in "$scratch"/block.*; do
    [ -e "$file" ] || continue
    run_block "$rel, block at line ${file##*.}" "$file"
  done
done

# The manual page's examples: roff's escapes undone.
sed -n '/^\.SH EXAMPLES/,/^\.SH [^E]/p' "$man_page" | sed -n '/^\.nf/,/^\.fi/p' | sed '/^\.\(nf\|fi\)/d' |
  sed 's/\\-/-/g; s/\\e/\\/g' >"$scratch/man_examples"
if [ -s "$scratch/man_examples" ]; then
  run_block "the EXAMPLES of ${man_page##*/}" "$scratch/man_examples"
else
  fail "the manual page has no EXAMPLES"
fi

[ "$ran" -gt 3 ] || fail "only $ran blocks ran"
echo "$ran command blocks ran, $failures failed"
exit $((failures > 0))
