#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs to build, test and run, if any are missing.
# Safe to run again: with everything present it prints nothing and changes nothing.
set -euo pipefail

packages=(
    g++ cmake ninja-build
    qt6-base-dev qt6-serialport-dev
    libgtest-dev libgmock-dev
    fonts-dejavu-core socat
    xvfb xauth xdotool imagemagick
    clang libclang-rt-14-dev clang-format
    nlohmann-json3-dev git
    qt6-translations-l10n librsvg2-bin
    desktop-file-utils appstream libxml2-utils shared-mime-info man-db groff-base
    dpkg-dev file lintian
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
