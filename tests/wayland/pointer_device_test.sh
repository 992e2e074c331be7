#!/usr/bin/env bash
# A pointer device that goes away while Colfix runs (a mouse unplugged) and
# comes back: Colfix goes on handling clicks, and closing it then ends it
# promptly, every time (it once hung in 3 tries of 8).
set -euo pipefail
source "$(dirname "$0")/colfix_wayland.sh"

# A new pointer reaches Colfix once the compositor offers it: as a native
# client, Colfix takes it up as a new wl_pointer; through XWayland, the X
# server makes its own pointer follow it. Clicks before that go nowhere, as
# with any client.
pointers_taken() { grep -c -- '-> wl_seat[@#][0-9]*\.get_pointer' "$protocol_log" || true; }
pointer_taken_after() {
  if [ -n "${QPA:-}" ]; then
    [ "$(pointers_taken)" -gt "$1" ]
  else
    local x y
    read -r x y < <("$CONTROL_POINT" txtTranscode)
    x_pointer_moved_to $((window_x + x)) $((window_y + y))
  fi
}

for try in $(seq 8); do
  # Ends the keeper the last try may have left, so that the copy below is this one's.
  offer "from another program"
  start_colfix
  click chkAutoCopy
  taken=$(pointers_taken)
  "$WAYLAND_INPUT" remove
  "$WAYLAND_INPUT" add
  wait_until 3 pointer_taken_after "$taken" || fail "try $try: Colfix did not take up the new pointer"
  offer " AB:12:34: " --primary
  wait_for_x_primary " AB:12:34: "
  click txtTranscode 2
  wait_until 3 clipboard_is AB_12_34 || fail "try $try: a click after the pointer came back was not handled"
  close_window
  expect_end_within_a_second "try $try"
done
echo "pointer device: all tries passed"
