#!/usr/bin/env bash
# Configures and builds everything in build/ with all cores. Warnings are errors.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
generator=()
[ -f "$root/build/CMakeCache.txt" ] || generator=(-G Ninja)
cmake -S "$root" -B "$root/build" "${generator[@]}" -DORVIX_WERROR=ON
cmake --build "$root/build" --parallel "$(nproc)"
