#!/usr/bin/env bash
# Every way of closing Colfix ends it within a second with exit status 0,
# whether or not the field holds text: a status of 0 after a signal shows the
# signal went through the program's own unloading rather than killing it. With
# no clipboard manager (openbox alone), the text Colfix copied outlives it, kept
# by colfix-clipboard-keeper, and only that: no keeper when it never copied.
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
# A signal to Colfix, or how it had ended if it already had.
signal_colfix() {
  kill "-$1" "$colfix_pid" 2>/dev/null && return
  local status=0
  wait "$colfix_pid" || status=$?
  fail "Colfix had already ended, with status $status, before SIG$1 was sent"
}
sigterm() { signal_colfix TERM; }
sigint() { signal_colfix INT; }
sighup() { signal_colfix HUP; }

for way in exit_button close_box window_manager_close alt_f4 sigterm sigint sighup; do
  for field in "" " AB:12:34: "; do
    start_colfix
    [ -z "$field" ] || paste_into_field "$field"
    "$way"
    expect_end_within_a_second "$way, field '${field}'"
    [ -z "$(keepers)" ] || fail "$way: a clipboard keeper started though Colfix never copied"
  done
done

# A reference of each length, not all of it Latin-1, so that the targets that
# carry Latin-1 differ from the UTF-8 ones, and its tidied form: made once, and
# compared as files, since on a loaded machine the shell takes seconds to
# capture and compare a million characters, over and over.
texts=$(mktemp -d)
trap 'rm -rf "$texts"' EXIT
for length in 100 1000000; do
  python3 -c 'import sys; n = int(sys.argv[1]); print(" AB:é€" + "x" * (n - 7) + ":", end="")' "$length" \
    >"$texts/$length"
  sed 's/^ //; s/:$//; s/:/_/g' "$texts/$length" >"$texts/$length.tidied"
done
clipboard_holds() { x_clipboard | cmp -s - "$1"; }

for way in exit_button close_box sigterm; do
  for length in 100 1000000; do
    start_colfix
    click chkAutoCopy
    middle_paste "$texts/$length"
    wait_until $((length / 50000 + 2)) clipboard_holds "$texts/$length.tidied" ||
      fail "$way, $length characters: auto-copy left $(xclip -o -selection clipboard | head -c 20) on the clipboard"
    before=$(served)
    "$way"
    # A field of a million characters takes Qt itself a while to take down.
    expect_end_within $((length / 100000 + 1)) "$way with $length characters copied"
    [ "$(keepers | wc -l)" -eq 1 ] || fail "$way, $length characters: keepers running: $(keepers | wc -l), not 1"
    [ "$(served)" = "$before" ] || fail "$way, $length characters: served after the end $(served), before $before"
  done
done
# Another program's copy ends the keeper.
echo other | xclip -selection clipboard
wait_until 2 eval '[ -z "$(keepers)" ]' || fail "the keeper outlived another program's copy"

# Nor is a keeper started when another program copied after Colfix.
start_colfix
click chkAutoCopy
paste_into_field " AB:12:34: "
wait_until 2 clipboard_is AB_12_34 || fail "auto-copy did not fill the clipboard"
echo other | xclip -selection clipboard
click cmdExit
expect_end_within_a_second "Exit after another program copied"
[ -z "$(keepers)" ] || fail "a keeper took the clipboard back from another program"
clipboard_is other || fail "the clipboard holds '$(xclip -o -selection clipboard)', not another program's text"

# Beyond the largest request (16 MiB here) the keeper hands the text over in
# INCR chunks. Colfix's field would take minutes over that much, so the keeper
# is given it directly, as Colfix would.
euros() { python3 -c 'import sys; sys.stdout.buffer.write(("€" * 6000000).encode())'; }
# Its one byte of output says it owns the clipboard.
exec {keeper_output}< <({ echo 18000000 6000000; euros; head -c 6000000 /dev/zero | tr '\0' '?'; } | "$CLIPBOARD_KEEPER")
read -r -n1 -t 10 -u "$keeper_output" _ || fail "the keeper did not take the clipboard"
[ "$(xclip -o -selection clipboard -t UTF8_STRING | sha1sum)" = "$(euros | sha1sum)" ] ||
  fail "UTF8_STRING beyond the largest request came over wrong"

# Last, as it ends the display: the keeper ends with the X server, the one
# x-session started for this test.
keeper=$(keepers)
kill "$(pgrep -P "$PPID" -x Xvfb)"
wait_until 5 eval '! is_running "$keeper"' || fail "the keeper outlived the X server"
echo "closing: all cases passed"
