#!/usr/bin/env bash
# Builds the Debian package and checks that it holds the program, its default
# data, the desktop entry, the icon and the file type, and depends on what it
# needs. Skipped where there are no Debian tools.
#   package_contents.sh <source folder> <build folder>
set -euo pipefail
command -v dpkg-deb >/dev/null || exit 77
source=$1
build=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

deb=$(bash "$source/scripts/package.sh" "$build" "$tmp")
case $(basename "$deb") in
torvane_*_*.deb) ;;
*) fail "unexpected package name: $deb" ;;
esac
contents=$(dpkg-deb --contents "$deb")
for f in ./usr/bin/torvane ./usr/share/torvane/Dat/Mst/Zip/ziplist ./usr/share/applications/torvane.desktop \
    ./usr/share/icons/hicolor/scalable/apps/torvane.svg ./usr/share/icons/hicolor/48x48/apps/torvane.png \
    ./usr/share/mime/packages/torvane.xml; do
    grep -q " $f\$" <<<"$contents" || fail "not in the package: $f"
done
depends=$(dpkg-deb --field "$deb" Depends)
for p in libqt6widgets6 libjpeg62-turbo libzip4 fonts-ipafont; do
    grep -q "$p" <<<"$depends" || fail "does not depend on $p: $depends"
done
echo "ok: $(basename "$deb")"
