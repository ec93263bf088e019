#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Orbivane need.
# Idempotent: installs only what is missing and runs apt-get update only when it must install.
set -euo pipefail

build=(g++ cmake ninja-build pkg-config
       qt6-base-dev qt6-multimedia-dev qt6-speech-dev
       # The TextToSpeech CMake package needs QmlIntegration, which Debian's package does not pull in.
       qt6-declarative-dev
       googletest libgtest-dev)
run=(# Platform plugins (xcb, offscreen) are only recommended by libqt6gui6.
     qt6-qpa-plugins
     qt6-speech-flite-plugin
     gstreamer1.0-plugins-base gstreamer1.0-plugins-good
     fonts-dejavu-core
     # The system font of the designs has Helvetica's widths.
     fonts-liberation2
     xdg-utils)
test=(xvfb xauth xdotool x11-utils imagemagick openbox
      pulseaudio pulseaudio-utils sox libsox-fmt-mp3)

want=("${build[@]}" "${run[@]}")
[ "${1:-}" = "--with-tests" ] && want+=("${test[@]}")

missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
