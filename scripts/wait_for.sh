# Bounded waits for the scripts that drive the program's window; sourced. A script may define
# its own fail() after sourcing this, to add what it knows to the message.

# Runs the command until it succeeds, for at most the given number of seconds.
wait_for() {
  local seconds=$1
  shift
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.1
  done
}

# Waits as wait_for does, and fails when the time is up, saying what it waited for.
await() {
  local seconds=$1 what=$2
  shift 2
  wait_for "$seconds" "$@" || fail "waited $seconds s for $what"
}

fail() {
  echo "FAILED: $*" >&2
  exit 1
}
