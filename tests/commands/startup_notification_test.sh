#!/usr/bin/env bash
# The desktop entry promises startup notification: a launcher hands Colfix a
# DESKTOP_STARTUP_ID, and once the window is shown Colfix must broadcast that
# the start is complete, or the launcher's busy feedback lingers until it times out.
set -euo pipefail
source "$(dirname "$0")/colfix_session.sh"

id="colfix-launch-$$_TIME0"
coproc watcher { timeout 20 "$STARTUP_WATCHER"; }
# Bash forgets a coprocess's descriptors once it ends, so its output is kept on one of our own.
exec {from_watcher}<&"${watcher[0]}"
read -r line <&"$from_watcher" && [ "$line" = listening ] || fail "the watcher did not start"

DESKTOP_STARTUP_ID=$id start_colfix
read -r message <&"$from_watcher" || fail "no startup notification message came"
echo "startup notification: '$message'"
[ "$message" = "remove: ID=$id" ] || fail "expected 'remove: ID=$id'"

click cmdExit
expect_end_within_a_second "after the start"
echo "startup notification: passed"
