#!/usr/bin/env bash
# Pictures of every window and tab into docs/screenshots/: the task dialog, the main window's
# tabs and surface pages at two window sizes, the report options, the About box and the help
# page, and the store window with the example store and its plant and energy window (the plant,
# then the panel-thickness study). Offscreen, over the shipped reference data
# (never a copy the user edited).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/setup.sh"

out="$here/docs/screenshots"
mkdir -p "$out"
rm -f "$out"/*.png
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
XDG_DATA_HOME="$scratch" XDG_RUNTIME_DIR="$scratch" QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 LC_ALL= \
    "$here/build/bin/coldroom_snapshots" "$out" --store "$here/docs/store/three_rooms.coldstore" \
    2> >(grep -v "This plugin does not support" >&2)
