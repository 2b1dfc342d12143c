#!/usr/bin/env bash
# Installs the build into a fresh temporary prefix and checks it as a desktop
# would use it: the files in their places, the desktop entry and the AppStream
# description valid (where their validators are installed) and pointing at
# each other, and both programs answering --version without a window.
#
#   check_install.sh CMAKE BUILD_DIR VERSION GUI(ON|OFF)
set -uo pipefail
cmake=$1 build=$2 version=$3 gui=$4
app_id=org.lumivar.Lumivar
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

unset DESTDIR
if ! "$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log" >&2
  fail "cmake --install into $prefix"
  exit 1
fi

expect_file() { [ -f "$prefix/$1" ] || fail "not installed: $1"; }
expect_file bin/lumivar-batch
expect_file share/man/man1/lumivar-batch.1
expect_file share/doc/lumivar/columns.md
expect_file share/doc/lumivar/copyright
expect_file share/doc/lumivar/NOTICE
expect_file share/doc/lumivar/CITATION.cff
grep -q "^License: Expat" "$prefix/share/doc/lumivar/copyright" ||
  fail "the Debian copyright file names no MIT (Expat) licence"
[ -x "$prefix/bin/lumivar-batch" ] || fail "bin/lumivar-batch is not executable"

# Only programs belong in bin/.
for f in "$prefix"/bin/*; do
  [ -x "$f" ] || fail "a file that is not a program in bin/: ${f#"$prefix"/}"
done

out=$("$prefix/bin/lumivar-batch" --version 2>&1); rc=$?
[ $rc -eq 0 ] || fail "lumivar-batch --version exits $rc"
[ "$out" = "lumivar-batch $version" ] || fail "lumivar-batch --version prints '$out'"

# The installed batch tool runs an analysis on its own (nothing left behind
# in the build tree that it needs).
examples=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../examples" && pwd)
report=$("$prefix/bin/lumivar-batch" varexp --data "$examples/landmarks.txt" \
         --reps "$examples/reps.txt" --groups "$examples/groups.txt" 2>/dev/null); rc=$?
[ $rc -eq 0 ] || fail "the installed lumivar-batch varexp exits $rc"
case "$report" in
  "For the entire data set, SS="*) ;;
  *) fail "the installed lumivar-batch varexp printed no report" ;;
esac

if [ "$gui" = ON ]; then
  desktop=share/applications/$app_id.desktop
  icon=share/icons/hicolor/scalable/apps/$app_id.svg
  metainfo=share/metainfo/$app_id.metainfo.xml
  expect_file bin/lumivar
  expect_file "$desktop"
  expect_file "$icon"
  expect_file "$metainfo"
  expect_file share/man/man1/lumivar.1
  expect_file share/doc/lumivar/manual.md
  # Every picture the manual names is installed beside it.
  for picture in $(sed -n 's/.*](\([^)]*\.png\)).*/\1/p' "$prefix/share/doc/lumivar/manual.md"); do
    expect_file "share/doc/lumivar/$picture"
  done
  grep -q "<project_license>MIT</project_license>" "$prefix/$metainfo" ||
    fail "the AppStream description names no project licence"

  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$prefix/$desktop" || fail "desktop-file-validate $desktop"
  else
    echo "desktop-file-validate not installed: the desktop entry is not validated" >&2
  fi
  if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$prefix/$metainfo" || fail "appstreamcli validate $metainfo"
  else
    echo "appstreamcli not installed: the AppStream description is not validated" >&2
  fi

  # The entry starts an installed program and names the installed icon; the
  # AppStream description launches this entry and carries this version.
  exec_word=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$prefix/$desktop")
  [ -x "$prefix/bin/$exec_word" ] || fail "the desktop entry starts '$exec_word', not an installed program"
  icon_name=$(sed -n 's/^Icon=//p' "$prefix/$desktop")
  [ "$icon_name" = "$app_id" ] || fail "the desktop entry names the icon '$icon_name'"
  grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$prefix/$metainfo" ||
    fail "the AppStream description does not launch $app_id.desktop"
  grep -q "<release version=\"$version\"" "$prefix/$metainfo" ||
    fail "the AppStream description has no release $version"
  grep -q '<svg' "$prefix/$icon" || fail "the icon is not an SVG picture"

  # No Qt platform exists by this name: were --version or --help to make the
  # application object (and so a window), Qt would abort instead of printing.
  out=$(QT_QPA_PLATFORM=no-such-platform timeout 20 "$prefix/bin/lumivar" --version 2>&1); rc=$?
  [ $rc -eq 0 ] || fail "lumivar --version exits $rc: $out"
  [ "$out" = "lumivar $version" ] || fail "lumivar --version prints '$out'"
  out=$(QT_QPA_PLATFORM=no-such-platform timeout 20 "$prefix/bin/lumivar" --help 2>&1); rc=$?
  [ $rc -eq 0 ] || fail "lumivar --help exits $rc"
  case "$out" in
    "Usage: lumivar "*--version*) ;;
    *) fail "lumivar --help prints '$out'" ;;
  esac
fi

[ $failures -eq 0 ] && echo "installed as expected into a temporary prefix"
exit $((failures > 0))
