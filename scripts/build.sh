#!/usr/bin/env bash
# Configures and builds: scripts/build.sh BUILD_DIR [cmake options...] [-- build options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1; shift
configure=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do configure+=("$1"); shift; done
[ $# -gt 0 ] && shift
cmake -S "$root" -B "$dir" "${configure[@]}" >/dev/null
cmake --build "$dir" -j2 "$@"
