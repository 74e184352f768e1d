#!/usr/bin/env bash
# Installs every Debian package that building, testing and running the program need.
# Packages named as arguments are installed as well (scripts/windows.sh adds its own).
# Safe to run again: packages already present are left alone.
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

# sudo clears the environment, so the non-interactive front end is handed over through env.
as_root=(env DEBIAN_FRONTEND=noninteractive)
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo > /dev/null || { echo "setup.sh: missing packages ${missing[*]}; run as root or install sudo" >&2; exit 1; }
  as_root=(sudo "${as_root[@]}")
fi
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
