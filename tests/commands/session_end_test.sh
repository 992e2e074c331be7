#!/usr/bin/env bash
# The end of the desktop session closes Colfix like any other way of closing:
# a session manager (XSMP) asks it to save with shutdown set, then tells it to
# die, and it ends within a second with status 0, field empty or full, whether
# or not the manager lets it interact with the user.
set -euo pipefail
source "$(dirname "$0")/colfix_session.sh"

workdir=$(mktemp -d)
# A manager left waiting for a client that never came would hold the test's
# output open until its time limit.
trap 'kill "${manager_pid:-}" 2>/dev/null || true; rm -rf "$workdir"' EXIT

for style in any none; do
  for field in "" " AB:12:34: "; do
    # The last manager's address goes first: the background job empties the
    # file only once it runs, and Colfix was handed that address (or nothing).
    rm -f "$workdir/address"
    "$SESSION_MANAGER_HELPER" "$style" >"$workdir/address" &
    manager_pid=$!
    wait_until 5 test -s "$workdir/address" || fail "the session manager did not start"
    SESSION_MANAGER=$(head -n1 "$workdir/address") start_colfix
    [ -z "$field" ] || paste_into_field "$field"
    kill -USR1 "$manager_pid"
    expect_end_within_a_second "session end, interaction $style, field '$field'"
    wait "$manager_pid" || fail "the session manager failed (status $?)"
  done
done
echo "session end: all cases passed"
