#!/usr/bin/env bash
# "Clear" empties the field and changes nothing else: the clipboard (whoever
# filled it), the "Stay on top" state and the check boxes stay as they were.
set -euo pipefail
source "$(dirname "$0")/colfix_session.sh"

has_above() { xprop -id "$colfix_window" _NET_WM_STATE | grep -q '_NET_WM_STATE_ABOVE'; }

# Reads the field the only way another program can: with auto-copy ticked, a
# release over the field puts the field's (tidied) text on the clipboard.
expect_empty_field() {
  [ "$1" = on ] || click chkAutoCopy
  click txtTranscode
  wait_until 2 clipboard_is "" ||
    fail "$case_name: the field still held '$(xclip -o -selection clipboard)'"
}

# Colfix handles input in order, so once a context menu asked for after the
# click on Clear shows, that click and all it did are through. The keys reach
# the field and open its menu from the keyboard, which changes nothing.
menu_shown() { [ "$(xdotool search --onlyvisible --pid "$colfix_pid" | wc -l)" -gt 1 ]; }
after_input_so_far() {
  xdotool key Tab Menu
  wait_until 5 menu_shown || fail "$case_name: the field's menu did not open"
  xdotool key Escape
  wait_until 5 eval '! menu_shown' || fail "$case_name: the field's menu did not close"
}

# case name | text typed before Clear | auto-copy | stay on top | clipboard after Clear
cases=(
  "empty field||off|off|from another program"
  "full field|AB:12:34:|off|off|from another program"
  "full field, on top| AB:12:34: |off|on|from another program"
  "after a paste with auto-copy| AB:12:34: |on|off|AB_12_34"
)

for row in "${cases[@]}"; do
  IFS='|' read -r case_name text auto_copy on_top expected <<<"$row"
  echo -n "from another program" | xclip -selection clipboard
  wait_until 2 clipboard_is "from another program" || fail "could not fill the clipboard"

  start_colfix
  [ "$auto_copy" = off ] || click chkAutoCopy
  [ "$on_top" = off ] || click chkOntop
  [ "$on_top" = off ] || wait_until 2 has_above || fail "$case_name: could not put Colfix on top"
  [ -z "$text" ] || paste_into_field "$text"
  [ "$auto_copy" = off ] || wait_until 2 clipboard_is "$expected" || fail "$case_name: the paste did not reach the clipboard"

  click cmdclear
  after_input_so_far
  clipboard_is "$expected" || fail "$case_name: Clear changed the clipboard to '$(xclip -o -selection clipboard)'"
  if [ "$on_top" = on ]; then has_above; else ! has_above; fi || fail "$case_name: Clear changed Stay on top"
  expect_empty_field "$auto_copy"

  click cmdExit
  expect_end_within_a_second "$case_name"
done
echo "clear: all cases passed"
