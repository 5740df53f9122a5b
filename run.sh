#!/usr/bin/env bash
# Installs what is missing, builds Lumio Spectrometer in release mode and starts it.
set -euo pipefail
cd "$(dirname "$0")"
bash tools/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMIO_TESTS=OFF -DLUMIO_BENCH=OFF >/dev/null
cmake --build build/release --target lumio-spectrometer
# Only the window needs a display; a run with output options picks the offscreen platform itself.
if [ $# -eq 0 ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Lumio Spectrometer is built (build/release/lumio-spectrometer) but cannot start: there is no display."
  echo "Run it from a graphical session, or set DISPLAY (for example under Xvfb: xvfb-run ./run.sh)."
  exit 1
fi
exec build/release/lumio-spectrometer "$@"
