#!/usr/bin/env bash
# Installs the Debian packages Dezidu builds, tests and packages with (skips what is present).
# file is needed by CPack's dependency search (dpkg-shlibdeps).
set -euo pipefail
pkgs=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-qpa-plugins libsdl2-dev
      libcurl4-openssl-dev libstb-dev zlib1g-dev libgtest-dev libbenchmark-dev xvfb xauth
      xdotool fonts-ipafont-gothic python3 clang libclang-rt-14-dev imagemagick
      libsndfile1-dev file lintian desktop-file-utils shared-mime-info libxcb1-dev
      dbus-daemon dbus-bin playerctl weston qt6-wayland pulseaudio pulseaudio-utils appstream)
missing=()
for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=""
    [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
    $sudo_cmd apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends "${missing[@]}"
fi
