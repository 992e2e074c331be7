#!/usr/bin/env bash
# Colfix takes no command line: Qt's own options change nothing about the
# window. Started with no display at all, it says so in one line on stderr and
# ends with status 1, instead of Qt's abort.
set -euo pipefail
source "$(dirname "$0")/colfix_session.sh"
workdir=$(mktemp -d)
trap 'rm -rf "$workdir"' EXIT

# How many pixels two pictures differ in, or compare's complaint (as for two
# sizes). ImageMagick 6 prints the count alone, 7 adds its share in brackets
# ("0 (0)"), so the count is what comes before the bracket.
pixels_differing() {
  local out
  out=$(compare -metric AE "$1" "$2" null: 2>&1) || true
  [[ $out =~ ^([0-9]+)( \(.*\))?$ ]] && echo "${BASH_REMATCH[1]}" || echo "$out"
}

# Succeeds once Colfix's client area, saved as $1, is drawn and holds still:
# the same in two shots in a row, and in more colours than an undrawn window
# shows (one fill, or the root's two-colour weave).
drawn_as() {
  import -window "$colfix_window" -strip "$workdir/shot.png"
  [ "$(identify -format %k "$workdir/shot.png")" -gt 2 ] && [ -f "$1" ] &&
    [ "$(pixels_differing "$1" "$workdir/shot.png")" = 0 ] && return 0
  mv "$workdir/shot.png" "$1"
  return 1
}

# Starts Colfix with "$@", saves its client area and geometry as $name.*, and
# ends it with Exit. The pointer stays off the window, so nothing is hovered.
shown_as() {
  local name=$1
  shift
  xdotool mousemove 0 0
  start_colfix "$@"
  rm -f "$workdir/$name.png"
  wait_until 10 drawn_as "$workdir/$name.png" || fail "colfix $*: the window was not drawn"
  xdotool getwindowgeometry "$colfix_window" | tail -n +2 >"$workdir/$name.geometry"
  click cmdExit
  expect_end_within_a_second "$name" >/dev/null
}

shown_as reference
# Qt's options, each of which would change the window (or, for -platform, hide it).
qt_options=(
  "-reverse"
  "-style windows"
  "-style=windows"
  "-qwindowgeometry 200x100+0+0"
  "-qwindowtitle Other"
  "-platform offscreen"
)
for options in "${qt_options[@]}"; do
  read -ra arguments <<<"$options"
  shown_as option "${arguments[@]}"
  differing=$(pixels_differing "$workdir/reference.png" "$workdir/option.png")
  [ "$differing" = 0 ] || fail "colfix $options: $differing pixels differ from the window without it"
  cmp -s "$workdir/reference.geometry" "$workdir/option.geometry" ||
    fail "colfix $options: placed at $(tr '\n' ' ' <"$workdir/option.geometry")"
  echo "colfix $options: the same window"
done

# case name | environment variables removed | set | who answers: Colfix's own
# line, or Qt, which finds no display there either and fails in its own words
mkdir "$workdir/runtime" "$workdir/wayland-runtime"
touch "$workdir/wayland-runtime/wayland-0"
no_display_cases=(
  "no display|DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM||colfix"
  "X11 chosen, no display|DISPLAY WAYLAND_DISPLAY|QT_QPA_PLATFORM=xcb|colfix"
  "Wayland chosen, no display|DISPLAY WAYLAND_DISPLAY|QT_QPA_PLATFORM=wayland|colfix"
  "Wayland connection handed down|DISPLAY WAYLAND_DISPLAY|QT_QPA_PLATFORM=wayland WAYLAND_SOCKET=99|qt"
  "default Wayland socket|DISPLAY WAYLAND_DISPLAY|QT_QPA_PLATFORM=wayland XDG_RUNTIME_DIR=$workdir/wayland-runtime|qt"
)
for row in "${no_display_cases[@]}"; do
  IFS='|' read -r case_name removed set answers <<<"$row"
  unset_options=()
  for name in $removed; do unset_options+=(-u "$name"); done
  status=0
  timeout 20 env "${unset_options[@]}" XDG_RUNTIME_DIR="$workdir/runtime" $set "$COLFIX" \
    >"$workdir/out" 2>"$workdir/err" || status=$?
  if [ "$answers" = qt ]; then
    [ "$status" -ne 0 ] && ! grep -q 'no display to show the window on' "$workdir/err" ||
      fail "$case_name: Colfix did not leave it to Qt (status $status); stderr: $(cat "$workdir/err")"
    echo "$case_name: left to Qt, status $status"
    continue
  fi
  [ "$status" -eq 1 ] || fail "$case_name: status $status, not 1; stderr: $(cat "$workdir/err")"
  [ "$(wc -l <"$workdir/err")" -eq 1 ] && grep -q 'no display to show the window on' "$workdir/err" ||
    fail "$case_name: stderr was: $(cat "$workdir/err")"
  [ ! -s "$workdir/out" ] || fail "$case_name: wrote to stdout: $(cat "$workdir/out")"
  echo "$case_name: $(cat "$workdir/err")"
done
echo "command line: all cases passed"
