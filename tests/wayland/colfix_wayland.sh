# Steps shared by the Wayland tests, sourced by each after the command tests'
# own (fail, wait_until, is_running, expect_end_within_a_second): start Colfix
# in the wayland-session's compositor, click its controls through the
# session's pointer, and read the clipboard as a Wayland program does.
# Expects COLFIX, CONTROL_POINT and the wayland-session's variables; Colfix
# runs natively with QPA=wayland, through XWayland with QPA unset (its default).
source "$(dirname "${BASH_SOURCE[0]}")/../commands/colfix_session.sh"

# Colfix's client area as "X Y WIDTH HEIGHT" in the output's pixels, from
# sway's tree, from XWayland, from a KWin script, or (mutter has no such
# interface) from the size mutter configured in Colfix's protocol log once a
# frame is drawn, placed where mutter puts a lone window, centred on the output,
# inside the decoration that Qt draws there (3 pixels round, a 30-pixel title
# bar); fails while there is none.
window_rect() {
  if [ "$COMPOSITOR" = sway ]; then
    swaymsg -t get_tree | python3 -c '
import json, sys
def views(node):
    yield node
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        yield from views(child)
for view in views(json.load(sys.stdin)):
    if view.get("pid") == int(sys.argv[1]) and view.get("name") == "Colfix":
        r, w = view["rect"], view["window_rect"]
        print(r["x"] + w["x"], r["y"] + w["y"], w["width"], w["height"])
        sys.exit(0)
sys.exit(1)' "$colfix_pid"
  elif [ -n "${DISPLAY:-}" ]; then
    local window
    window=$(x_window) && [ -n "$window" ] && x_window_rect "$window"
  elif [ "$COMPOSITOR" = kwin ]; then
    # KWin decorates Colfix itself, so the buffer is the client area. KWin 6
    # renamed clientList windowList.
    grep -q 'attach(wl_buffer' "$protocol_log" && kwin_script "for (const w of
      workspace.windowList ? workspace.windowList() : workspace.clientList())
      if (w.pid == $colfix_pid && w.caption == 'Colfix') {
        const g = w.bufferGeometry; print(g.x, g.y, g.width, g.height) }"
  else
    local width height
    grep -q 'attach(wl_buffer' "$protocol_log" || return 1
    read -r width height < <(grep -o 'xdg_toplevel[@#][0-9]*\.configure([1-9][0-9]*, [0-9]*' "$protocol_log" |
      tail -n1 | sed -E 's/.*\(([0-9]+), ([0-9]+)/\1 \2/') && [ -n "$height" ] || return 1
    echo $(((${OUTPUT_SIZE%x*} - width - 6) / 2 + 3)) $(((${OUTPUT_SIZE#*x} - height - 33) / 2 + 30)) "$width" "$height"
  fi
}

# An X window's place and size as "X Y WIDTH HEIGHT".
x_window_rect() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
    /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}'
}

# Colfix's shown X window, through XWayland. Both have to match: mutter 48's
# frame of it bears its name.
x_window() { xdotool search --onlyvisible --all --pid "$colfix_pid" --name '^Colfix$' | head -n1; }

# Runs JavaScript in KWin and prints what it printed, if anything. KWin's
# scripts print to its log, each line after "js: "; a mark tells this run's.
kwin_script() {
  local script mark=colfix$RANDOM$RANDOM id
  script=$(mktemp --suffix=.js)
  echo "print('$mark'); $1; print('$mark');" >"$script"
  id=$(dbus-send --session --print-reply --dest=org.kde.KWin /Scripting \
    org.kde.kwin.Scripting.loadScript string:"$script" string:"$mark" | awk '/int32/ {print $2}')
  # KWin 6 names the script /Scripting/ScriptID, KWin 5.27 /ID.
  dbus-send --session --print-reply --dest=org.kde.KWin "/Scripting/Script$id" org.kde.kwin.Script.run \
    >/dev/null 2>&1 || dbus-send --session --print-reply --dest=org.kde.KWin "/$id" org.kde.kwin.Script.run >/dev/null
  wait_until 3 eval '[ "$(grep -c "^js: $mark$" "$COMPOSITOR_LOG")" -eq 2 ]'
  dbus-send --session --print-reply --dest=org.kde.KWin /Scripting \
    org.kde.kwin.Scripting.unloadScript string:"$mark" >/dev/null
  rm -f "$script"
  sed -n "/^js: $mark$/,/^js: $mark$/ { /^js: $mark$/d; s/^js: //p }" "$COMPOSITOR_LOG" | grep .
}

# Colfix's standard error: the protocol, and Qt's own warnings among it. When a
# test fails the warnings are shown, and the protocol's last requests and
# events, which tell what Colfix was doing when it ended or stopped. The
# protocol names an object name@id, or name#id from libwayland 1.23. The Wayland keeper that Colfix leaves adds to keeper_report
# the data-control protocol it bound (see expect_kept).
protocol_log=$(mktemp)
keeper_report=$(mktemp)
show_protocol_log() {
  grep -v "^\[" "$protocol_log" || true
  echo "-- the last of Colfix's protocol:"
  grep "^\[" "$protocol_log" | tail -n 40
}
trap '[ $? -eq 0 ] || show_protocol_log >&2; rm -f "$protocol_log" "$keeper_report"' EXIT
start_colfix() {
  env --default-signal=INT,HUP ${QPA:+QT_QPA_PLATFORM=$QPA} WAYLAND_DEBUG=client \
    COLFIX_WAYLAND_KEEPER_REPORT="$keeper_report" "$COLFIX" 2>"$protocol_log" &
  colfix_pid=$!
  wait_until 10 window_rect >/dev/null || fail "Colfix showed no window"
  wait_until 5 has_keyboard || fail "Colfix's window did not get the keyboard"
  wait_until 5 read_window_rect || fail "Colfix's window was not found again once it had the keyboard"
}
# Sets window_x, window_y, window_width and window_height, if window_rect can tell them.
read_window_rect() {
  local rect
  rect=$(window_rect) && read -r window_x window_y window_width window_height <<<"$rect"
}

# Natively: the keyboard entered and the window was configured active (a
# non-empty list of states), which is when Qt gives its controls the keys.
has_keyboard() {
  if [ -n "${QPA:-}" ]; then
    grep -q 'wl_keyboard[@#][0-9]*\.enter' "$protocol_log" &&
      grep -q 'xdg_toplevel[@#][0-9]*\.configure([0-9]*, [0-9]*, array\[[1-9]' "$protocol_log"
  else
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$(x_window)" ]
  fi
}

# Moves the pointer over a control of frmMain (named as in the handlers).
# Through XWayland, X gets pointer input for a window only once the compositor
# shows it, which under load comes well after X has mapped and focused it: a
# motion before that goes nowhere, so the pointer is moved until X has it there.
point_at() {
  local x y
  read -r x y < <("$CONTROL_POINT" "$1") || fail "no point for $1"
  move_to $((window_x + x)) $((window_y + y)) "$1"
}
# The same for X,Y in the output's pixels, over what $3 names.
move_to() {
  "$WAYLAND_INPUT" move "$1" "$2"
  [ -n "${QPA:-}" ] || wait_until 5 x_pointer_moved_to "$1" "$2" || fail "X never had the pointer over $3"
}

# Whether X has its pointer at X,Y, give or take the pixel by which the
# compositor's output pixels and X's may round apart; if not, the pointer is
# moved off and back there again.
x_pointer_moved_to() {
  local X Y
  eval "$(xdotool getmouselocation --shell | grep -E '^[XY]=')"
  ((${X:-0} - $1 <= 1 && $1 - ${X:-0} <= 1 && ${Y:-0} - $2 <= 1 && $2 - ${Y:-0} <= 1)) && return 0
  "$WAYLAND_INPUT" move $(($1 + 2)) "$2" && "$WAYLAND_INPUT" move "$1" "$2"
  return 1
}

click() {
  point_at "$1"
  "$WAYLAND_INPUT" click "${2:-1}"
}

# The clipboard (or, with --primary, the primary selection) as a Wayland
# program reads it. KWin 5.27 tells such a reader nothing while there is none,
# so it would wait forever there: a read that gets no answer finds nothing.
clipboard() { timeout 2 wl-paste --no-newline "$@" 2>/dev/null || true; }
clipboard_is() { [ "$(clipboard)" = "$1" ]; }

# The Wayland clipboard keepers serving this session (other tests have their own).
keepers() {
  local pid
  for pid in $(pgrep -x colfix-wayland-); do
    is_running "$pid" && tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null |
      grep -qxF "XDG_RUNTIME_DIR=$XDG_RUNTIME_DIR" && echo "$pid"
  done
  true
}

# The data-control protocol the keeper is to bind: the first of
# ext-data-control-v1 and wlr-data-control that the compositor offered Colfix
# (its protocol log lists every global offered), or none.
data_control_offered() {
  local global
  for global in ext_data_control_manager_v1=ext-data-control-v1 zwlr_data_control_manager_v1=wlr-data-control; do
    if grep -q "\.global([0-9]*, \"${global%=*}\"" "$protocol_log"; then
      echo "${global#*=}"
      return
    fi
  done
  echo none
}

# Once Colfix, run natively, has ended with `text` on the clipboard: the one
# keeper it left has bound the data-control protocol that the compositor offers
# (ext-data-control-v1 first), and tells which. Where there is one (sway, KWin)
# the keeper serves the text, and ends when another program copies; where there
# is none (mutter) no keeper stays.
expect_kept() {
  [ -n "${QPA:-}" ] || return 0
  local bound offered
  offered=$(data_control_offered)
  wait_until 2 test -s "$keeper_report" || fail "the keeper did not tell which data-control protocol it bound"
  bound=$(cat "$keeper_report")
  : >"$keeper_report"
  echo "the keeper bound $bound; the first data-control protocol $COMPOSITOR offers: $offered"
  [[ $bound != *$'\n'* ]] || fail "more than one keeper told what it bound: ${bound//$'\n'/ }"
  [ "$bound" = "$offered" ] || fail "the keeper bound $bound, not $offered"
  if [ "$COMPOSITOR" = mutter ]; then
    wait_until 1 eval '[ -z "$(keepers)" ]' || fail "a keeper stays without data-control"
    return 0
  fi
  [ "$bound" != none ] || fail "the keeper bound no data-control protocol: $COMPOSITOR offers none"
  wait_until 2 clipboard_is "$1" || fail "the kept clipboard holds $(clipboard | head -c 40)..."
  [ "$(keepers | wc -l)" -eq 1 ] || fail "$(keepers | wc -l) keepers run, not one"
  offer "from another program"
  wait_until 2 eval '[ -z "$(keepers)" ]' || fail "the keeper did not end at another program's copy"
}

# Closes Colfix's window as the compositor's own close does.
close_window() {
  if [ "$COMPOSITOR" = sway ]; then
    swaymsg "[pid=$colfix_pid] kill" >/dev/null
  else
    "$WAYLAND_INPUT" key alt+F4
  fi
}

# Puts `text` on the clipboard (or, with --primary, the primary selection) from
# a Wayland program, and waits until the compositor offers it.
offer() {
  echo -n "$1" | wl-copy "${@:2}"
  wait_until 2 offered "$@" || fail "could not offer '$1'"
}
offered() { [ "$(clipboard "${@:2}")" = "$1" ]; }

# Through XWayland, X programs see a Wayland program's primary selection once
# the compositor has handed it over, in its own time: a middle click waits.
wait_for_x_primary() {
  [ -z "${QPA:-}" ] || return 0
  wait_until 10 x_primary_is "$1" || fail "X programs never saw the primary selection '$1'"
}
x_primary_is() { [ "$(xclip -o -selection primary 2>/dev/null)" = "$1" ]; }

# Menus shown so far: natively, the compositor's configures of popups;
# through XWayland, the menu windows shown now.
menus_shown() {
  if [ -n "${QPA:-}" ]; then
    grep -c 'xdg_popup[@#][0-9]*\.configure' "$protocol_log" || true
  else
    echo $(($(xdotool search --onlyvisible --pid "$colfix_pid" 2>/dev/null | wc -l) - 1))
  fi
}

# Runs "$@", which opens the field's menu, and waits until the menu shows.
open_menu() {
  local before
  before=$(menus_shown)
  "$@"
  wait_until 10 eval '[ "$(menus_shown)" -gt "$before" ]' || fail "the field's menu did not open"
}

# Opens the menu with "$@" and chooses Paste by its key: a key sent before the
# menu shows would reach the field instead.
paste_from_menu() { open_menu "$@" && "$WAYLAND_INPUT" key p; }

# Clicks Paste in the field's open menu, found in the menu's X window (through
# XWayland only): while the field is empty and the clipboard holds text, Paste
# is the one item drawn enabled, its dark text the darkest pixels of the menu.
click_menu_paste() {
  local window menu= item w h x y left top
  for window in $(xdotool search --onlyvisible --pid "$colfix_pid"); do
    [[ "$(xwininfo -id "$window")" != *"Override Redirect State: yes"* ]] || menu=$window
  done
  [ -n "$menu" ] || fail "no menu window"
  wait_until 5 eval 'item=$(import -window "$menu" png:- | convert - -colorspace gray -negate \
    -threshold 75% -format %@ info: | grep -E "^[0-9]+x([5-9]|[1-3][0-9])\+")' ||
    fail "the menu shows no Paste"
  read -r w h x y < <(tr 'x+' '  ' <<<"$item")
  read -r left top _ < <(x_window_rect "$menu")
  move_to $((left + x + w / 2)) $((top + y + h / 2)) Paste
  "$WAYLAND_INPUT" click 1
}
