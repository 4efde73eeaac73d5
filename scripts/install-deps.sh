#!/usr/bin/env bash
# Installs the Debian packages of scripts/packages.txt that are missing, and
# the locales the locale-independence tests switch to.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mapfile -t wanted < <(grep -v '^\s*#' "$here/packages.txt" | grep -v '^\s*$')
missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y "${missing[@]}"
fi
# German and Chinese locales, so the tests can show that no result depends on
# the C locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE.utf8$' || ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
  for l in de_DE zh_CN; do
    $SUDO sed -i "s/^# *\($l.UTF-8 UTF-8\)/\1/" /etc/locale.gen
  done
  $SUDO locale-gen >/dev/null
fi
