#!/usr/bin/env bash
# Every way of closing Colfix ends it within a second with exit status 0,
# whether or not the field holds text: a status of 0 after a signal shows the
# signal went through the program's own unloading rather than killing it.
set -euo pipefail
source "$(dirname "$0")/colfix_session.sh"

exit_button() { click cmdExit; }
# The close box: openbox puts it at the right end of the title bar, which
# spans the frame's top down to the window.
close_box() {
  local frame_x frame_y frame_width client_y
  read -r frame_x frame_y frame_width _ < <(frame_geometry)
  client_y=$(xwininfo -id "$colfix_window" | awk '/Absolute upper-left Y/ {print $NF}')
  xdotool mousemove $((frame_x + frame_width - 10)) $(((frame_y + client_y) / 2)) click 1
}
window_manager_close() { wmctrl -i -c "$colfix_window"; }
alt_f4() { xdotool key alt+F4; }
sigterm() { kill -TERM "$colfix_pid"; }
sigint() { kill -INT "$colfix_pid"; }
sighup() { kill -HUP "$colfix_pid"; }

for way in exit_button close_box window_manager_close alt_f4 sigterm sigint sighup; do
  for field in "" " AB:12:34: "; do
    start_colfix
    [ -z "$field" ] || paste_into_field "$field"
    "$way"
    expect_end_within_a_second "$way, field '${field}'"
  done
done
echo "closing: all cases passed"
