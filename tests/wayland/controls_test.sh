#!/usr/bin/env bash
# In a Wayland compositor: Clear empties the field; Stay on top reports nothing
# (natively it has no effect; through XWayland it asks for _NET_WM_STATE_ABOVE,
# which mutter and KWin carry out and sway ignores); Exit and the compositor's
# close each end Colfix within a second.
set -euo pipefail
source "$(dirname "$0")/colfix_wayland.sh"

has_above() {
  xprop -id "$(x_window)" _NET_WM_STATE |
    grep -q _NET_WM_STATE_ABOVE
}
exit_button() { click cmdExit; }

for way in exit_button close_window; do
  # Ends the keeper the last way left, so that the copy below is this one's.
  offer "from another program"
  offer " AB:12:34: " --primary
  start_colfix
  click chkAutoCopy
  wait_for_x_primary " AB:12:34: "
  click txtTranscode 2
  wait_until 10 clipboard_is AB_12_34 || fail "$way: the paste was not tidied"
  click cmdclear
  # A release over the field copies what it holds, which is nothing now.
  click txtTranscode
  wait_until 3 clipboard_is "" || fail "$way: Clear left '$(clipboard)' in the field"
  click chkOntop
  if [ -n "${DISPLAY:-}" ] && [ "$COMPOSITOR" != sway ]; then
    wait_until 3 has_above || fail "$way: $COMPOSITOR did not put Colfix on top"
  fi
  # A reported error would be a modal box, and Exit would not get through.
  "$way"
  expect_end_within_a_second "$way"
done
echo "controls: all passed"
