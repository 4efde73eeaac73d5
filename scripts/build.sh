#!/usr/bin/env bash
# Configures and builds into the given folder: scripts/build.sh BUILD_DIR [cmake options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1; shift
cmake -S "$root" -B "$dir" "$@" >/dev/null
cmake --build "$dir" -j2
