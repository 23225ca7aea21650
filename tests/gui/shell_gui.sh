#!/bin/sh
# Drives Draxel.exe through its windows under X (Xvfb in the test run) with xdotool:
# start-up, New, Open through the common dialog, the drawing on screen against the renderer's
# picture, Save As read back by drxconv, and the close question for each drawing.
# Usage: shell_gui.sh BUILD/Draxel.exe. Exit 77 (skipped) without a display or the tools.
set -u
exe=$(readlink -f "$1")
build=$(dirname "$exe")
src=$(cd "$(dirname "$0")/../.." && pwd)

. "$src/tests/gui/guilib.sh"
gui_setup shell
wait_gone() {
  i=0
  while [ $i -lt $(($2 * 4)) ]; do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.25
    i=$((i + 1))
  done
  return 1
}
# Waits for window id $1 to be gone from the screen.
box_gone() {
  i=0
  while [ $i -lt $(($2 * 4)) ]; do
    xdotool search --onlyvisible --name '.' 2>/dev/null | grep -qx "$1" || return 0
    sleep 0.25
    i=$((i + 1))
  done
  return 1
}
# Answers the Yes/No/Cancel question box $1 with a click on button $2. Keys proved unreliable
# without a window manager; the buttons sit at fixed places in the box's bottom row.
answer() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  case $2 in
    Yes) x=$((WIDTH * 21 / 100)) ;;
    No) x=$((WIDTH * 51 / 100)) ;;
    Cancel) x=$((WIDTH * 80 / 100)) ;;
  esac
  xdotool mousemove --sync $((X + x)) $((Y + HEIGHT - 21))
  sleep 0.2
  xdotool click 1
}
# Pixels of pure red in a picture.
red_pixels() {
  convert "$1" -fuzz 8% -fill black +opaque 'rgb(255,0,0)' -fill white -opaque 'rgb(255,0,0)' \
    -colorspace Gray -format '%[fx:round(mean*w*h)]' info:
}
red_box() {
  convert "$1" -fuzz 8% -fill black +opaque 'rgb(255,0,0)' -trim -format '%X %Y %w %h' info: | tr -d '+'
}

/usr/bin/python3 "$src/tests/gui/make_fixture.py" "$work/fixture.drx" || { echo "cannot write the fixture"; exit 1; }

start_program

# 1. The frame with its first drawing, once the splash has gone.
frame=$(wait_window '^Draxel Pro 2\.0 - \[Untitled1\]$' 90) || { fail "no frame with Untitled1"; exit 1; }
pass "frame shows Untitled1"
sleep 3
import -window root "$work/start.png"

# 2. A second New makes Untitled2.
keys "$frame" ctrl+n
wait_window '\[Untitled2\]$' 20 >/dev/null && pass "New makes Untitled2" || fail "no Untitled2 after New"
sleep 1
import -window root "$work/empty.png"
[ "$(red_pixels "$work/empty.png")" -eq 0 ] || fail "red ink before anything was opened"

# 2a. Open Symbol: the preview shows the selected symbol; Place adds it to the drawing.
mkdir -p "$work/symbols"
cp "$work/fixture.drx" "$work/symbols/plan.sym"
keys "$frame" alt+f y
if dialog=$(wait_window '^Open Symbol$' 20); then
  eval "$(xdotool getwindowgeometry --shell "$dialog")"
  # Into the file name box, then the folder; the list then holds plan.sym alone.
  xdotool mousemove --sync $((X + 320)) $((Y + 304)) click 1
  sleep 0.3
  xdotool key End shift+Home BackSpace
  xdotool type --delay 15 "$(winpath "$work/symbols")\\"
  xdotool key Return
  sleep 1.5
  xdotool mousemove --sync $((X + 137)) $((Y + 43)) click 1
  sleep 2
  import -window root "$work/preview.png"
  convert "$work/preview.png" -crop 250x200+$((X))+$((Y + 340)) +repage "$work/preview-box.png"
  red=$(red_pixels "$work/preview-box.png")
  [ "$red" -gt 20 ] && pass "the symbol preview shows plan.sym ($red red pixels)" || fail "no symbol preview ($red red pixels)"
  xdotool mousemove --sync $((X + 505)) $((Y + 304)) click 1
  box_gone "$dialog" 10 || fail "the symbol dialog stayed up"
  sleep 1
  import -window root "$work/placed.png"
  red=$(red_pixels "$work/placed.png")
  [ "$red" -gt 150 ] && pass "Place adds the symbol to the drawing" || fail "the placed symbol is not on screen ($red red pixels)"
else
  fail "no Open Symbol dialog"
fi

# 2b. A damaged drawing: the objects before the damage are shown and the user is told why.
head -c 600 "$work/fixture.drx" >"$work/damaged.drx"  # cut inside the second object, the red line
keys "$frame" ctrl+o
dialog=$(wait_window '^Open$' 20) || fail "no Open dialog"
if [ -n "${dialog:-}" ]; then
  type_path "$dialog" "$(winpath "$work/damaged.drx")"
  if box=$(wait_window '^File Error$' 20); then
    pass "opening a damaged drawing warns"
    eval "$(xdotool getwindowgeometry --shell "$box")"
    xdotool mousemove --sync $((X + WIDTH / 2)) $((Y + HEIGHT - 21)) click 1
    box_gone "$box" 10 || fail "the warning stayed up"
  else
    fail "no warning for a damaged drawing"
  fi
  wait_window '\[damaged\.drx\]$' 10 >/dev/null && pass "the damaged drawing keeps its window" || fail "no damaged.drx window"
  sleep 1
  import -window root "$work/damaged.png"
  [ "$(red_pixels "$work/damaged.png")" -eq 0 ] || fail "the line after the damage is shown"
fi

# 3. Open through the common dialog.
keys "$frame" ctrl+o
dialog=$(wait_window '^Open$' 20) || fail "no Open dialog"
if [ -n "${dialog:-}" ]; then
  type_path "$dialog" "$(winpath "$work/fixture.drx")"
  if wait_window '\[fixture\.drx\]$' 20 >/dev/null; then pass "Open loads fixture.drx"; else fail "no fixture.drx window"; fi
fi
sleep 2
import -window root "$work/opened.png"
red=$(red_pixels "$work/opened.png")
[ "$red" -gt 150 ] && pass "the pane shows the drawing ($red red pixels)" || fail "the opened drawing is not on screen ($red red pixels)"

# 3b. The pane against the renderer's own picture of the same drawing, aligned on the red line.
if [ -x "$build/drxconv.exe" ] && "$src/cmake/wine-run.sh" "$build/drxconv.exe" convert "$work/fixture.drx" "$work/picture.png" >/dev/null 2>&1; then
  set -- $(red_box "$work/opened.png"); sx=$1; sy=$2
  set -- $(red_box "$work/picture.png"); px=$1; py=$2
  dx=$((sx - px)); dy=$((sy - py))
  # The rectangle and the line: page 90..460 across, 90..510 down.
  convert "$work/picture.png" -crop 370x420+90+90 +repage "$work/picture-part.png"
  convert "$work/opened.png" -crop 370x420+$((90 + dx))+$((90 + dy)) +repage "$work/screen-part.png"
  diff=$(compare -metric AE -fuzz 12% "$work/picture-part.png" "$work/screen-part.png" "$work/diff.png" 2>&1)
  if [ "${diff%%.*}" -le 200 ] 2>/dev/null; then pass "screen matches the renderer's picture ($diff pixels differ)"
  else fail "screen differs from the renderer's picture: $diff pixels (see $work/diff.png)"; fi
else
  echo "note: drxconv.exe cannot render here; picture comparison left out"
fi

# 4. Save As writes a file drxconv reads back equal.
keys "$frame" alt+f a
dialog=$(wait_window '^Save As$' 20) || fail "no Save As dialog"
if [ -n "${dialog:-}" ]; then
  type_path "$dialog" "$(winpath "$work/saved.drx")"
  wait_window '\[saved\.drx\]$' 20 >/dev/null && pass "Save As renames the window" || fail "caption not saved.drx"
  sleep 1
fi
info() { "$src/cmake/wine-run.sh" "$build/drxconv.exe" info "$1" 2>&1; }
if [ -f "$work/saved.drx" ] && [ -x "$build/drxconv.exe" ]; then
  info "$work/fixture.drx" >"$work/fixture.json"
  info "$work/saved.drx" >"$work/saved.json"
  cmp -s "$work/fixture.json" "$work/saved.json" && pass "saved.drx reads back equal" \
    || fail "saved.drx differs: diff $work/fixture.json $work/saved.json"
else
  fail "saved.drx was not written"
fi

# 4b. Export DXF: the warning first (No ends the command), then the file dialog; the file is the
# one drxconv writes for the same drawing.
export_dxf() {
  keys "$frame" alt+f e Return
  wait_window '^WARNING!$' 20
}
if warning=$(export_dxf); then
  pass "Export DXF warns first"
  keys "$warning" Escape
  box_gone "$warning" 10 && ! wait_window '^Export DXF$' 3 >/dev/null && pass "No at the warning ends the export" \
    || fail "the export went on after No"
else
  fail "no export warning"
fi
if warning=$(export_dxf); then
  keys "$warning" Return
  dialog=$(wait_window '^Export DXF$' 20) || fail "no Export DXF dialog after Yes"
  if [ -n "${dialog:-}" ]; then
    type_path "$dialog" "$(winpath "$work/exported.dxf")"
    i=0
    while [ ! -f "$work/exported.dxf" ] && [ $i -lt 40 ]; do sleep 0.25; i=$((i + 1)); done
    sleep 1
    if [ -f "$work/exported.dxf" ] && "$src/cmake/wine-run.sh" "$build/drxconv.exe" convert "$work/saved.drx" \
      "$work/expected.dxf" >/dev/null 2>&1; then
      cmp -s "$work/exported.dxf" "$work/expected.dxf" && pass "Export DXF writes what drxconv writes" \
        || fail "exported.dxf differs from drxconv's expected.dxf"
    else
      fail "exported.dxf was not written"
    fi
  fi
fi
import -window root "$work/after-export.png"
[ "$(red_pixels "$work/after-export.png")" -gt 150 ] && pass "the drawing is on screen after the export" \
  || fail "the drawing changed on screen after the export"

# 5. Close asks first; Cancel keeps the drawing.
keys "$frame" ctrl+w
box=$(wait_window '^saved\.drx$' 20) && pass "Close asks about saved.drx" || fail "no close question"
[ -n "${box:-}" ] && { answer "$box" Cancel; box_gone "$box" 10 || fail "the close question stayed up"; }
window_exists '\[saved\.drx\]$' && pass "Cancel keeps the drawing" || fail "Cancel closed the drawing"

# 6. Exit asks once per drawing; Cancel on the second leaves the frame and that drawing open.
keys "$frame" ctrl+q
asked=0
names=""
for reply in No Cancel No No; do
  box=$(wait_window '^(saved\.drx|damaged\.drx|Untitled1|Untitled2)$' 20) || break
  asked=$((asked + 1))
  names="$names $(xdotool getwindowname "$box" 2>/dev/null)"
  answer "$box" "$reply"
  box_gone "$box" 10 || fail "the question box stayed up after $reply"
done
echo "asked about:$names"
[ "$names" = " saved.drx damaged.drx Untitled2 Untitled1" ] && pass "Exit asked for each of the 4 drawings" || fail "Exit asked about$names"
sleep 1
window_exists '^Draxel Pro 2\.0' && pass "the frame stays after a Cancel" || fail "the frame closed despite Cancel"
keys "$frame" ctrl+q
box=$(wait_window '^damaged\.drx$' 20) && answer "$box" No
wait_gone '^Draxel Pro 2\.0' 20 && pass "the frame closes when no drawing is left" || fail "the frame did not close"

echo "$failures failure(s); pictures in $work"
[ $failures -eq 0 ]
