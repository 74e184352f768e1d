#!/usr/bin/env bash
# Installs every Debian package that building, testing and running the program need.
# Packages named as arguments are installed as well (scripts/windows.sh adds its own).
# Safe to run again: packages already present are left alone. Another installation that runs
# meanwhile is waited for (scripts/apt_get.sh).
set -euo pipefail

packages=(
  build-essential cmake pkg-config clang
  libgtest-dev libgmock-dev libbenchmark-dev libclang-rt-14-dev
  freeglut3-dev libglew-dev libglu1-mesa-dev libgl1-mesa-dri libx11-dev libxi-dev libxxf86vm-dev libpng-dev zlib1g-dev
  libsleef-dev libmpfr-dev
  console-data
  xvfb xauth xdotool imagemagick x11-utils
  "$@"
)

# One query for all of them: the program's start waits for this.
installed=$(dpkg-query -W -f='${Package} ${Status}\n' "${packages[@]}" 2> /dev/null | awk '/install ok installed$/ { print $1 }' || true)
missing=()
for package in "${packages[@]}"; do
  grep -qx "$package" <<< "$installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

apt_get=$(dirname "$0")/apt_get.sh
"$apt_get" update -qq
"$apt_get" install -y -qq --no-install-recommends "${missing[@]}"
