#!/usr/bin/env bash
# Unpacks a release archive into a fresh folder and starts its program from another folder, as
# a user would (a .zip under Wine), on the X display that is set: the program must write its
# factory vorka.dat of 17,018 lines beside itself, and end with exit code 0 when its window is
# closed by the close button's message.
# Arguments: the archive, the helper that sends the close message (tests/window/
# close_when_shown.cpp) and, for a .zip, the Wine prefix to use (made when missing).
set -euo pipefail
archive=$(realpath "$1")
close_when_shown=$(realpath "$2")
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
fail() {
  echo "check_release.sh: $(basename "$archive"): $*" >&2
  exit 1
}

mkdir "$folder/unpacked" "$folder/elsewhere"
case $archive in
  *.tar.gz)
    tar -xzf "$archive" -C "$folder/unpacked"
    program=("$folder"/unpacked/*/particle_swarm)
    run=("${program[0]}")
    ;;
  *.zip)
    unzip -q "$archive" -d "$folder/unpacked"
    program=("$folder"/unpacked/*/particle_swarm.exe)
    export WINEPREFIX=$3 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    mkdir -p "$WINEPREFIX"
    # One wineserver for the check, so that none outlives it holding the caller's output.
    wineserver -p
    trap 'wineserver -k 2> /dev/null || true; rm -rf "$folder"' EXIT
    run=(/usr/lib/wine/wine64 "${program[0]}")
    ;;
  *) fail "not a .tar.gz or .zip" ;;
esac
[ -f "${program[0]}" ] || fail "no program in the archive"
[ -f "$(dirname "${program[0]}")/README.txt" ] || fail "no README.txt beside the program"
state=$(dirname "${program[0]}")/vorka.dat

cd "$folder/elsewhere"
"${run[@]}" < /dev/null > "$folder/output.txt" 2>&1 &
pid=$!
for _ in $(seq 600); do
  [ -f "$state" ] && [ "$(wc -l < "$state")" -eq 17018 ] && break
  kill -0 "$pid" 2> /dev/null || break
  sleep 0.1
done
[ -f "$state" ] && [ "$(wc -l < "$state")" -eq 17018 ] || {
  kill "$pid" 2> /dev/null || true
  cat "$folder/output.txt" >&2
  fail "no factory vorka.dat of 17018 lines beside the program"
}
"$close_when_shown" 0 || fail "no window to close"
code=0
wait "$pid" || code=$?
[ "$code" -eq 0 ] || fail "exit code $code after the close message"
[ -z "$(ls -A "$folder/elsewhere")" ] || fail "files left in the folder it was started from"
echo "check_release.sh: $(basename "$archive") unpacks, starts, writes its vorka.dat beside itself and closes"
