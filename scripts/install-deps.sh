#!/usr/bin/env bash
# Installs the Debian packages the logger needs to build, run and test, when missing.
set -euo pipefail
packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-serialport-dev qt6-multimedia-dev libgl1-mesa-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth xdotool openbox x11-apps x11-utils imagemagick fonts-dejavu-core
    clang libclang-rt-dev
    direwolf libhamlib-utils
    dbus dbus-x11 at-spi2-core python3-pyatspi
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good espeak-ng sox
    desktop-file-utils dpkg-dev file lintian orca speech-dispatcher
    gmt-gshhg-low netcdf-bin python3 chromium tidy
)
missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi
echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
