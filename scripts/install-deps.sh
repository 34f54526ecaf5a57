#!/usr/bin/env bash
# Installs the Debian packages that building and testing Tagwright need, when missing.
# Usage: scripts/install-deps.sh [extra packages...]
set -euo pipefail

packages=(cmake g++ make pkg-config python3 libgtest-dev qt6-base-dev libicu-dev libuchardet-dev
  libacl1-dev patch libgumbo-dev libstemmer-dev fonts-liberation fonts-dejavu-core scdoc
  librsvg2-bin dpkg-dev "$@")
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${missing[@]}"
