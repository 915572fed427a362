#!/usr/bin/env bash
# Installs what building, running and testing the program needs (Debian 12).
# Does nothing when everything is there already. With --fuzz also clang and its libFuzzer
# runtime, which only the fuzz build (scripts/fuzz.sh) needs.
set -euo pipefail

packages=(cmake ninja-build ccache g++ qt6-base-dev libqscintilla2-qt6-dev libpugixml-dev libsimpleini-dev libpcre2-dev libicu-dev pkg-config
          libgtest-dev libbenchmark-dev libgl-dev xvfb xauth fonts-dejavu-core
          qt6-translations-l10n desktop-file-utils appstream dpkg-dev file)
[ "${1:-}" = "--fuzz" ] && packages+=(clang libclang-rt-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
