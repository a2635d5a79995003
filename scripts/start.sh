#!/usr/bin/env bash
# Builds everything, starts the local game world on a free loopback port and the program pointed
# at it; closing the program stops the world. The program's files (config.ex, BugsReport.txt)
# live in the folder it starts in: ORVIX_HOME, or ~/.local/share/orvix-dazu.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
home=${ORVIX_HOME:-${XDG_DATA_HOME:-$HOME/.local/share}/orvix-dazu}
mkdir -p "$home"

# The world lives as long as its standard input stays open: this script's pipe to it.
coproc WORLD { exec "$root/build/world/tarvo-world" --port 0 --exit-on-stdin-eof; }
world_pid=$WORLD_PID
trap 'kill "$world_pid" 2>/dev/null || true' EXIT
read -r -t 10 line <&"${WORLD[0]}" || { echo "tarvo-world did not start" >&2; exit 1; }
port=${line##*:}
echo "$line"

cd "$home"
"$root/build/src/orvix-dazu" --proxy "127.0.0.1:$port" "$@"
