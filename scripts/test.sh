#!/usr/bin/env bash
# Installs what is missing, builds, runs every test; then builds again with
# AddressSanitizer + UndefinedBehaviorSanitizer and runs every test there too.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
export QT_QPA_PLATFORM=offscreen
"$root/scripts/build.sh" "$root/build"
(cd "$root/build" && ctest --output-on-failure -j2)
"$root/scripts/build.sh" "$root/build-asan" -DQH_SANITIZE=ON
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd "$root/build-asan" && ctest --output-on-failure -j2)
