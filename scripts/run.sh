#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/setup.sh"
exec "$here/build/bin/coldroom" "$@"
