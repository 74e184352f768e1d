#!/usr/bin/env bash
# Runs apt-get with the given arguments as root, non-interactively. Another package installation
# holds the package manager's locks for as long as it runs: this waits for them instead of
# failing at once, for at most APT_LOCK_WAIT seconds (10 minutes by default).
set -euo pipefail
wait_seconds=${APT_LOCK_WAIT:-600}
# sudo clears the environment, so the non-interactive front end is handed over through env.
as_root=(env DEBIAN_FRONTEND=noninteractive)
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo > /dev/null || { echo "apt_get.sh: apt-get $*: run as root or install sudo" >&2; exit 1; }
  as_root=(sudo "${as_root[@]}")
fi
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
deadline=$((SECONDS + wait_seconds))
# apt-get waits for the lock of dpkg's front end by itself, but not for that of the package
# lists (apt-get update): a failure on a lock is tried again while time is left.
waiting=no
until "${as_root[@]}" apt-get -o DPkg::Lock::Timeout=$((deadline > SECONDS ? deadline - SECONDS : 0)) "$@" 2> "$errors"; do
  grep -q -e 'Could not get lock' -e 'Unable to acquire' -e 'Unable to lock' "$errors" || { cat "$errors" >&2; exit 1; }
  [ $SECONDS -lt $deadline ] || { cat "$errors" >&2; echo "apt_get.sh: the package manager stayed busy for $wait_seconds s" >&2; exit 1; }
  [ $waiting = yes ] || echo "apt_get.sh: another package installation holds the package manager; waiting for it" >&2
  waiting=yes
  sleep 5
done
cat "$errors" >&2
