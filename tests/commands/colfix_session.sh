# Steps shared by the command tests, sourced by each: start Colfix on the test's
# X display, click its controls as a user would, and watch it end.
# Expects COLFIX (the program), CONTROL_POINT, SELECTION_OWNER and
# SESSION_MANAGER_HELPER (helpers).

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
# A command whose failure ends the test by `set -e` is named, with where it
# stood, so that no test ends without saying why (functions included).
set -E
trap 'echo "FAIL: \"$BASH_COMMAND\" failed (status $?) at ${BASH_SOURCE[0]}:$LINENO" >&2' ERR

# The tests' waits are stretched by COLFIX_TEST_WAIT_FACTOR (see wait_factor.h)
# where Colfix runs many times slower on purpose, as under the sanitizers.
wait_factor=${COLFIX_TEST_WAIT_FACTOR:-1}

# Runs "$@" until it succeeds or about `seconds` (stretched) have passed.
wait_until() {
  local seconds=$(($1 * wait_factor))
  shift
  local deadline=$(($(date +%s%N) + seconds * 1000000000))
  until "$@"; do
    (($(date +%s%N) < deadline)) || return 1
    sleep 0.02
  done
}

is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$(($1))" ]; }

# Prints the id of a shown window that `xdotool search ARG...` finds, waiting
# up to 10 s for one. xdotool matches any one of several conditions unless given
# --all (mutter 48's frame of Colfix bears its name, under another pid).
find_window() { "$(dirname "${BASH_SOURCE[0]}")/../support/find-window" 10 "$@"; }

# Starts Colfix (with arguments "$@", if any) and waits until its window is
# shown and active. A script's background job inherits SIGINT ignored, which
# the program rightly keeps, so it is started with SIGINT and SIGHUP at their
# default actions, as from a terminal.
start_colfix() {
  env --default-signal=INT,HUP "$COLFIX" "$@" &
  colfix_pid=$!
  colfix_window=$(find_window --all --pid "$colfix_pid" --name '^Colfix$') ||
    fail "Colfix showed no window"
  wait_until 5 is_active "$colfix_window" || fail "Colfix's window did not become active"
}

# A window's place on the screen and its size, as "X Y WIDTH HEIGHT".
root_geometry() {
  xwininfo -id "$1" |
    awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
         /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}'
}

# The window manager's frame around a window: its ancestor just below the root.
frame_of() {
  local window=$1 parent_line
  while parent_line=$(xwininfo -tree -id "$window" | grep 'Parent window id:') &&
    [[ $parent_line != *"(the root window)"* ]]; do
    window=$(awk '{print $4}' <<<"$parent_line")
  done
  echo "$window"
}

# The frame around Colfix, as "X Y WIDTH HEIGHT".
frame_geometry() { root_geometry "$(frame_of "$colfix_window")"; }

# Clicks a control of frmMain, named as in the handlers.
click() {
  local x y
  read -r x y < <("$CONTROL_POINT" "$1") || fail "no point for $1"
  xdotool mousemove --window "$colfix_window" "$x" "$y" click 1
}

# Types `text` into the field and releases the mouse over it, which tidies it.
paste_into_field() {
  click txtTranscode
  xdotool type --delay 5 -- "$1"
  click txtTranscode
}

# The clipboard (xclip -o's arguments choose a target) as an X program reads it.
# A read left unanswered for 20 s (stretched) is asked again: under load, one
# request to a Colfix busy with a million characters went unanswered for good
# (in 1 run of 5) while the next was answered within a second.
x_clipboard() {
  local status tries=3 limit=$((20 * wait_factor))
  until timeout "$limit" xclip -o -selection clipboard "$@" 2>/dev/null; do
    status=$?
    [ "$status" -eq 124 ] && ((--tries > 0)) || return "$status"
    echo "xclip -o${*:+ $*}: no answer within $limit s, asking again" >&2
  done
}
clipboard_is() { [ "$(x_clipboard)" = "$1" ]; }
primary_holds() { xclip -o -selection primary 2>/dev/null | cmp -s - "$1"; }

# Pastes the text of FILE with the middle button, as another program's
# selection: fast at any length, where typing is not. xclip takes the selection
# only in its background half, which may run after the click: the click waits.
middle_paste() {
  xclip -selection primary "$1"
  wait_until 5 primary_holds "$1" || fail "xclip did not take the primary selection"
  local x y
  read -r x y < <("$CONTROL_POINT" txtTranscode) || fail "no point for txtTranscode"
  xdotool mousemove --window "$colfix_window" "$x" "$y" click 2
}

# What the clipboard serves: each target with a checksum of its bytes, but the
# time stamp, which is the owner's own.
served() {
  local target
  for target in $(x_clipboard -t TARGETS); do
    case $target in
      TIMESTAMP | MULTIPLE | SAVE_TARGETS) echo "$target" ;;
      *) echo "$target $(x_clipboard -t "$target" | sha1sum)" ;;
    esac
  done
}

# The clipboard keepers running for this display (other tests have their own).
keepers() {
  local pid
  for pid in $(pgrep -x colfix-clipboar); do
    is_running "$pid" && tr '\0' '\n' <"/proc/$pid/environ" | grep -qxF "DISPLAY=$DISPLAY" && echo "$pid"
  done
  true
}

# A child that has ended stays a zombie until waited for, and kill -0 still
# finds it, so the process state is read instead.
is_running() {
  local state
  state=$(cut -d" " -f3 "/proc/$1/stat" 2>/dev/null) && [ "$state" != Z ]
}

# Waits up to `seconds` for Colfix to end and checks that it ended with status
# 0. Prints how long it took, in milliseconds.
expect_end_within() {
  local seconds=$1 start status
  shift
  start=$(date +%s%N)
  wait_until "$seconds" eval '! is_running "$colfix_pid"' || {
    kill -KILL "$colfix_pid" 2>/dev/null || true # it may have ended just now
    fail "$1: Colfix was still running $((seconds * wait_factor)) s later"
  }
  wait "$colfix_pid" && status=0 || status=$?
  echo "$1: ended in $((($(date +%s%N) - start) / 1000000)) ms with status $status"
  [ "$status" -eq 0 ] || fail "$1: exit status $status, not 0"
}

expect_end_within_a_second() { expect_end_within 1 "$@"; }
