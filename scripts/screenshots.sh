#!/usr/bin/env bash
# Saves one picture per window and panel, taken against the local world on a virtual screen,
# into the folder given (default: shots/ under the build folder).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" >/dev/null
out=$(realpath -m "${1:-$root/build/shots}")
command -v xvfb-run >/dev/null || { echo "xvfb-run is needed (apt-get install xvfb)" >&2; exit 1; }
cd "$(mktemp -d)"
exec xvfb-run -a -s "-screen 0 1024x768x24" "$root/build/tests/orvix_panel_shots" "$out"
