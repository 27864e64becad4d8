#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
# SANITIZE=1 runs the suite once more, built with AddressSanitizer and UndefinedBehaviorSanitizer
# into build-asan/ (with clang, the fuzz targets too, each for a few seconds).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/setup.sh"
cd "$here/build"
ctest --output-on-failure -j "$(nproc)" --timeout 300

if [ "${SANITIZE:-0}" = 1 ]; then
    compiler=()
    if command -v clang++ >/dev/null; then compiler=(-DCMAKE_CXX_COMPILER=clang++); fi
    if [ ! -f "$here/build-asan/CMakeCache.txt" ]; then
        cmake -S "$here" -B "$here/build-asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCOLDROOM_SANITIZE=ON "${compiler[@]}"
    fi
    cmake --build "$here/build-asan" -j "$(nproc)"
    cd "$here/build-asan"
    # The one leak reported from outside our code is fontconfig's own cache; nothing else is
    # suppressed.
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    LSAN_OPTIONS="suppressions=$here/scripts/lsan.supp:print_suppressions=0" \
        ctest --output-on-failure -j "$(nproc)" --timeout 900
fi
