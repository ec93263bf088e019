#!/usr/bin/env bash
# Installs the Debian packages that Orbivane needs, and only those that are missing;
# runs apt-get update only when something is to be installed.
#   install-deps.sh               to build and run the program
#   install-deps.sh --with-tests  also to run every test (end-to-end under Xvfb)
#   install-deps.sh --with-tools  also for the benchmarks, the fuzzer and remaking the media
set -euo pipefail

build=(g++ cmake ninja-build pkg-config
       qt6-base-dev
       # Tells when the connection to the X display breaks.
       libxcb1-dev
       # Speech, sound output and sound files; their libraries are loaded at run time.
       libespeak-ng-dev libpulse-dev libsndfile1-dev
       googletest libgtest-dev)
run=(# Platform plugins (xcb, offscreen) are only recommended by libqt6gui6.
     qt6-qpa-plugins
     # Speech, sound output and decoding the MP3 shake sound, loaded at the first shake.
     libespeak-ng1 espeak-ng-data libpulse0 libsndfile1
     fonts-dejavu-core
     # The designs' system font has Helvetica's widths.
     fonts-liberation2
     # Opens web addresses in the default browser.
     xdg-utils)
tests=(xvfb xauth xdotool x11-utils openbox clang-format pulseaudio pulseaudio-utils)
tools=(clang libclang-rt-14-dev sox lame imagemagick)

want=("${build[@]}" "${run[@]}")
for option in "$@"; do
  case "$option" in
    --with-tests) want+=("${tests[@]}") ;;
    --with-tools) want+=("${tests[@]}" "${tools[@]}") ;;
    *) echo "unknown option: $option" >&2; exit 2 ;;
  esac
done

missing=()
for package in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

# Without root, sudo has to work without a password, or be able to ask for one on a
# terminal; otherwise say what to run, rather than fail inside sudo or apt-get.
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  sudo=(sudo)
  if ! command -v sudo >/dev/null ||
     ! { sudo -n true 2>/dev/null || { { : </dev/tty; } 2>/dev/null && sudo true; }; }; then
    echo "install-deps.sh: cannot install without root or sudo; as root run:" \
      "apt-get update && apt-get install --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
# sudo drops the caller's environment, so the variable goes on its command line.
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
  "${missing[@]}"
