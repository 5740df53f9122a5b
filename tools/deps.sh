#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, when any is missing.
set -euo pipefail
packages=(g++ cmake ninja-build qt6-base-dev qt6-svg-dev libjpeg62-turbo-dev libpng-dev zlib1g-dev
          libgtest-dev libbenchmark-dev fonts-wine fonts-liberation2 fonts-dejavu-core
          xvfb x11-utils  # a virtual X server and xprop: tests read window titles as X shows them
          libqcustomplot-dev libqcustomplot2.1-qt6  # only for the XY paint benchmark's comparison run
          ghostscript  # the printing tests rasterise the PDFs they print
          # live sides: Qt Multimedia (cameras, video files) decoding through GStreamer; the tests'
          # MJPEG AVI videos need avidemux and jpegdec (good), videoconvert and the app sink (base);
          # libav decodes the H.264 and other codecs of phone and camera recordings
          qt6-multimedia-dev gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi
