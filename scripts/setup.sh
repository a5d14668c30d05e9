#!/usr/bin/env bash
# Installs the Debian packages Korvel needs (only those missing), then configures and builds.
# Usage: scripts/setup.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-serialport-dev qt6-svg-dev libgl-dev
  libqcustomplot-dev libqcustomplot2.1-qt6 libfftw3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  dpkg-dev help2man
  python3
  qt6-translations-l10n desktop-file-utils shared-mime-info
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q "${missing[@]}"
fi

cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# Two jobs by default: the build machines are shared. JOBS=n overrides.
cmake --build "$build_dir" -j"${JOBS:-2}"
