#!/usr/bin/env bash
# Builds the program and starts it. Its files (config.ex, BugsReport.txt) live in the folder it
# starts in: ORVIX_HOME, or ~/.local/share/orvix-dazu.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
home=${ORVIX_HOME:-${XDG_DATA_HOME:-$HOME/.local/share}/orvix-dazu}
mkdir -p "$home"
cd "$home"
exec "$root/build/src/orvix-dazu" "$@"
