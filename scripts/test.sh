#!/usr/bin/env bash
# Builds everything and runs every test; the output ends with ctest's summary.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
cd "$root/build"
exec ctest --output-on-failure --no-label-summary --parallel "$(nproc)"
