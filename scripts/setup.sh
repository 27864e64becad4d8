#!/usr/bin/env bash
# Installs the Debian packages the project needs (only those missing), prepares the
# comma-decimal test locale, then configures and builds into build/.
# Running it again when everything is in place only runs an incremental build.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
while read -r pkg; do
    pkg="${pkg%%#*}"; pkg="$(echo "$pkg" | xargs)"
    [ -z "$pkg" ] && continue
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$pkg")
    fi
done < packages.txt

if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A locale whose decimal separator is a comma, for the number-parsing tests.
if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf8$'; then
    echo "setup: generating ru_RU.UTF-8"
    if ! grep -q '^ru_RU.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
        echo 'ru_RU.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
    fi
    as_root locale-gen ru_RU.UTF-8 >/dev/null
fi

build_type="${BUILD_TYPE:-Release}"
if [ ! -f build/CMakeCache.txt ]; then
    cmake -S . -B build -DCMAKE_BUILD_TYPE="$build_type"
fi
cmake --build build -j "$(nproc)"
