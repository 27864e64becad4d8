#!/usr/bin/env bash
# Builds the browser page (the model compiled to WebAssembly) into build-web/page/ and serves it
# on this computer only, printing the address. --build-only stops after the build; PORT=N
# chooses the port (8080 by default), WEB_BUILD_DIR=DIR another build folder (the desktop
# build makes its own copy for its tests and package that way). build/ is not touched.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"
if ! command -v emcmake >/dev/null; then
    echo "web: Emscripten is missing; scripts/setup.sh installs it (package emscripten)" >&2
    exit 1
fi
# Emscripten's JavaScript optimiser finds its modules only through Debian's node path when the
# node on the PATH is another one.
export NODE_PATH="${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs"
out="${WEB_BUILD_DIR:-build-web}"
start=$(date +%s)
if [ ! -f "$out/CMakeCache.txt" ]; then
    emcmake cmake -S web -B "$out" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$out" -j "$(nproc)"
echo "web: $out/page built in $(( $(date +%s) - start )) s"
[ "${1:-}" = --build-only ] && exit 0

port="${PORT:-8080}"
echo "web: ColdRoom in the browser: http://127.0.0.1:$port/ (Ctrl+C stops it)"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$out/page"
