#!/usr/bin/env bash
# Installs the build into a temporary prefix, makes the prefix read-only and
# runs the installed program with a fresh home: the user's data folder must be
# filled from the installed defaults without touching a file the user already
# has, the program's window-less modes must work from there, and nothing may
# be written into the installation.
#   install_run.sh <build folder> <sample slip>
set -euo pipefail
build=$1
sample=$2
tmp=$(mktemp -d)
trap 'chmod -R u+w "$tmp"; rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$tmp/prefix" >/dev/null
exe=$tmp/prefix/bin/torvane
[ -x "$exe" ] || fail "no installed program"
[ -f "$tmp/prefix/share/torvane/Dat/Mst/Zip/ziplist" ] || fail "no installed defaults"
for f in applications/torvane.desktop mime/packages/torvane.xml icons/hicolor/scalable/apps/torvane.svg \
    icons/hicolor/48x48/apps/torvane.png; do
    [ -f "$tmp/prefix/share/$f" ] || fail "not installed: share/$f"
done
chmod -R a-w "$tmp/prefix"
touch "$tmp/installed"

export HOME=$tmp/home
unset XDG_DATA_HOME XDG_CONFIG_HOME TORVANE_DATA_DIR
export QT_QPA_PLATFORM=offscreen
user=$HOME/.local/share/Torvane
# A file of the user's own, there before the first start.
mkdir -p "$user/Dat/Mst"
printf 'USER-OWN\r\n' >"$user/Dat/Mst/SlipDiv.dat"

out=$("$exe" --zip-search 岩本町) || fail "--zip-search failed"
grep -q 1010032 <<<"$out" || fail "--zip-search found nothing: $out"
[ -f "$user/Dat/Mst/Zip/ziplist" ] || fail "the user's folder was not filled"
[ -w "$user/Dat/Mst/Zip/ziplist" ] || fail "the user's copies are not writable"
[ "$(cat "$user/Dat/Mst/SlipDiv.dat")" = $'USER-OWN\r' ] || fail "the user's own file was overwritten"

"$exe" --export-pdf "$tmp/out.pdf" "$sample" || fail "--export-pdf failed"
head -c 5 "$tmp/out.pdf" | grep -q '%PDF-' || fail "no PDF written"

# A shared folder named on the command line is filled the same way.
"$exe" --data-dir "$tmp/shared" --zip-search 岩本町 >/dev/null || fail "--data-dir failed"
[ -f "$tmp/shared/Dat/Mst/Zip/ziplist" ] || fail "the named folder was not filled"

written=$(find "$tmp/prefix" -newer "$tmp/installed")
[ -z "$written" ] || fail "written into the installation: $written"
echo "ok"
