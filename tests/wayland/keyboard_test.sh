#!/usr/bin/env bash
# From the keyboard alone: auto-copy ticked, Paste chosen from the field's menu
# (Menu key) tidies the reference and leaves it on the clipboard for Wayland
# programs, and Exit ends Colfix, natively leaving the text kept where the
# compositor can (see expect_kept). Natively Colfix sets the clipboard once for
# that paste: mutter keeps only the first selection set for one input event.
set -euo pipefail
source "$(dirname "$0")/colfix_wayland.sh"

offer " AB:12:34: "
start_colfix
# The focus starts on Stay on top; Clear, the field and auto-copy follow.
"$WAYLAND_INPUT" key Tab Tab Tab space shift+Tab
paste_from_menu "$WAYLAND_INPUT" key Menu
wait_until 3 clipboard_is AB_12_34 || fail "the clipboard holds '$(clipboard)'"
if [ -n "${QPA:-}" ]; then
  [ "$(grep -c -- '-> wl_data_device[@#][0-9]*\.set_selection' "$protocol_log")" -eq 1 ] ||
    fail "Colfix set the clipboard more than once for one paste"
fi
"$WAYLAND_INPUT" key Tab Tab space
expect_end_within_a_second "Exit from the keyboard"
expect_kept AB_12_34
echo "keyboard: passed"
