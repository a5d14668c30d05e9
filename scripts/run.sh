#!/usr/bin/env bash
# Installs what is missing, builds, and starts Korvel on the built-in simulated board. Without a
# display it runs a short headless demo with korvel-cli instead and says where the files went.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/bin/korvel --simulate "$@"
fi

out=${KORVEL_DEMO_DIR:-build/demo}
mkdir -p "$out"
echo "No display found: running a headless demo on the simulated board."
build/bin/korvel-cli measure --simulate --mode 1mhz --comment "Демонстрация" -o "$out/demo.dtw"
build/bin/korvel-cli export "$out/demo.dtw" -o "$out/demo.txt"
build/bin/korvel-cli plot "$out/demo.dtw" -o "$out/demo.png"
echo "Wrote $out/demo.dtw (data file), $out/demo.txt (text export) and $out/demo.png (chart)."
