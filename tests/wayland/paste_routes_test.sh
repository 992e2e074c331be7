#!/usr/bin/env bash
# In a Wayland compositor, the window shows at its size, and every way of
# pasting a reference tidies it and, with auto-copy ticked, leaves the result
# on the clipboard where a Wayland program (wl-paste) reads it, and kept there
# after Exit: through XWayland by colfix-clipboard-keeper, natively where the
# compositor can (see expect_kept). Natively the middle button pastes a
# 1,000,000-character reference.
set -euo pipefail
source "$(dirname "$0")/colfix_wayland.sh"

# Focus on Clear, one Tab before the field, so the first click in the field
# comes after the paste.
to_field() { click cmdclear && "$WAYLAND_INPUT" key Tab; }
ctrl_v_then_click() { to_field && "$WAYLAND_INPUT" key ctrl+v && click txtTranscode; }
middle_button() { wait_for_x_primary " AB:12:34: " && click txtTranscode 2; }
menu_paste() { paste_from_menu click txtTranscode 3; }
menu_key() { to_field && paste_from_menu "$WAYLAND_INPUT" key Menu; }
shift_f10() { to_field && paste_from_menu "$WAYLAND_INPUT" key shift+F10; }

routes="ctrl_v_then_click middle_button menu_paste menu_key shift_f10"
# KWin 5.27 gives a native client's window no keyboard back when its menu
# closes, until the next key, and sets no clipboard for a client without the
# keyboard: a Paste from the menu is tidied there, but not copied. KWin 6 copies it.
if [ "$COMPOSITOR ${QPA:-}" = "kwin wayland" ] &&
  dpkg --compare-versions "$(dpkg-query -W -f '${Version}' kwin-wayland)" lt 4:6; then
  routes="ctrl_v_then_click middle_button"
fi
long=${QPA:+é$(head -c 999991 /dev/zero | tr '\0' 7)}
for route in $routes; do
  tail=$([ "$route" != middle_button ] || echo "$long")
  offer "from another program"
  offer " AB:12:34$tail: " $([ "$route" != middle_button ] || echo --primary)
  start_colfix
  read -r width height < <("$CONTROL_POINT" frmMain)
  [ "$window_width $window_height" = "$width $height" ] ||
    fail "the window is ${window_width}x$window_height, not ${width}x$height"
  click chkAutoCopy
  "$route"
  wait_until $((${#tail} / 50000 + 3)) clipboard_is "AB_12_34$tail" ||
    fail "$route: the clipboard holds '$(clipboard | head -c 40)'"
  click cmdExit
  # A field of a million characters takes Qt itself a while to take down.
  expect_end_within $((${#tail} / 100000 + 1)) "$route"
  [ -n "${QPA:-}" ] || wait_until 3 clipboard_is AB_12_34 || fail "$route: the text went with Colfix"
  expect_kept "AB_12_34$tail"
done
echo "paste routes: all passed"
