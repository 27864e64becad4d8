#!/usr/bin/env bash
# The Debian package made from the build: lintian finds no error or warning in it, its menu
# entry is valid, and unpacked anywhere (not installed) its coldroom-calc finds the data it ships
# and computes a project from another folder.
#
#     check_package.sh BUILD_DIR PROJECT.cfg EXPECTED_TEXT
#
# Exit codes: 0 good, 1 a fault, 77 a tool missing.
set -euo pipefail

build="${1:?build folder}"
project="$(realpath "${2:?project}")"
expected="${3:?expected text}"

for tool in cpack dpkg-deb dpkg-shlibdeps lintian desktop-file-validate; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is not installed (scripts/setup.sh installs it)"
        exit 77
    fi
done

work="$(mktemp -d "${TMPDIR:-/tmp}/coldroom-package-XXXXXX")"
trap 'rm -rf "$work"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; exit 1; }
deb="$(ls "$work"/coldroom_*_amd64.deb 2>/dev/null | head -n 1)"
[ -n "$deb" ] || { echo "no coldroom_<version>_amd64.deb made"; cat "$work/cpack.log"; exit 1; }
echo "$(basename "$deb"): $(stat -c %s "$deb") bytes"
dpkg-deb -f "$deb" Depends

status=0
# --fail-on: errors and warnings fail; informational tags are printed only.
lintian --fail-on error,warning "$deb" || status=1

dpkg-deb -x "$deb" "$work/root"
desktop-file-validate "$work/root/usr/share/applications/coldroom.desktop" || status=1
for f in usr/bin/coldroom usr/bin/coldroom-calc usr/share/coldroom/Data.dtx usr/share/coldroom/coldroom-help.html \
    usr/share/icons/hicolor/scalable/apps/coldroom.svg usr/share/icons/hicolor/48x48/apps/coldroom.png \
    usr/share/man/man1/coldroom-calc.1.gz; do
    [ -e "$work/root/$f" ] || { echo "missing from the package: /$f"; status=1; }
done

# Unpacked somewhere else and run from a third folder: the data is found beside ../share.
mkdir "$work/elsewhere"
out="$(cd "$work/elsewhere" && "$work/root/usr/bin/coldroom-calc" "$project")" ||
    { echo "coldroom-calc from the package failed"; status=1; }
grep -qF "$expected" <<<"$out" || { echo "coldroom-calc from the package did not print \"$expected\""; status=1; }
# The PDF painter is a module the installed program finds on its own.
(cd "$work/elsewhere" && "$work/root/usr/bin/coldroom-calc" --pdf room.pdf "$project" >/dev/null) &&
    head -c 5 "$work/elsewhere/room.pdf" | grep -q '%PDF-' ||
    { echo "coldroom-calc from the package wrote no PDF"; status=1; }
exit $status
