#!/usr/bin/env bash
# A pointer device that goes away while Colfix runs (a mouse unplugged) and
# comes back: Colfix goes on handling clicks, and closing it then ends it
# promptly, every time (it once hung in 3 tries of 8).
set -euo pipefail
source "$(dirname "$0")/colfix_wayland.sh"

# As a native client Colfix takes up a new pointer when the compositor offers
# it, as a new wl_pointer; clicks before that go nowhere, as with any client.
pointers_taken() { grep -c -- '-> wl_seat@[0-9]*\.get_pointer' "$protocol_log" || true; }
pointer_taken_after() { [ -z "${QPA:-}" ] || [ "$(pointers_taken)" -gt "$1" ]; }

for try in $(seq 8); do
  start_colfix
  click chkAutoCopy
  taken=$(pointers_taken)
  "$WAYLAND_INPUT" remove
  "$WAYLAND_INPUT" add
  wait_until 3 pointer_taken_after "$taken" || fail "try $try: Colfix did not take up the new pointer"
  echo -n " AB:12:34: " | wl-copy --primary
  click txtTranscode 2
  wait_until 3 clipboard_is AB_12_34 || fail "try $try: a click after the pointer came back was not handled"
  close_window
  expect_end_within_a_second "try $try"
done
echo "pointer device: all tries passed"
