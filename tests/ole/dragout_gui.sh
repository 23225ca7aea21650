#!/bin/sh
# A drawing dragged out of Draxel onto another program's window, as a user drags it: the program
# opens a drawing file, our container opens a drop target, and xdotool presses on the drawing
# window beside its drawing pane and releases over the target. The target must receive the
# private format, "Embed Source" with the same records, and a picture; the dropped objects are
# the file's (drxconv reads both). Usage: dragout_gui.sh BUILD/Draxel.exe.
# Exit 77 (skipped) without a display or the tools.
set -u
exe=$(readlink -f "$1")
build=$(dirname "$exe")
src=$(cd "$(dirname "$0")/../.." && pwd)

. "$src/tests/gui/guilib.sh"
[ -x "$build/olecontainer.exe" ] || skip "olecontainer.exe not built"
gui_setup ole-dragout
/usr/bin/python3 "$src/tests/gui/make_fixture.py" "$work/fixture.drx" || { echo "cannot write the fixture"; exit 1; }

"$src/cmake/wine-run.sh" "$exe" "$(winpath "$work/fixture.drx")" >"$work/draxel.out" 2>&1 &
app=$!
"$src/cmake/wine-run.sh" "$build/olecontainer.exe" droptarget "$(winpath "$work")" >"$work/target.out" 2>&1 &
target_app=$!
trap 'kill "$target_app" 2>/dev/null; stop_program' EXIT

frame=$(wait_window '^Draxel Pro 2\.0' 90) || { fail "no frame"; exit 1; }
target=$(wait_window '^Drop Target$' 60) || { fail "no drop target"; exit 1; }
sleep 1
# The drawing window shows between its drawing pane and the vertical ruler (or its left edge).
rect MainClass 1 || { fail "no drawing pane"; exit 1; }
from_x=$((L - 3))
from_y=$((T + 60))
eval "$(xdotool getwindowgeometry --shell "$target")"
to_x=$((X + WIDTH / 2))
to_y=$((Y + HEIGHT / 2))
xdotool windowraise "$target" 2>/dev/null
drag "$from_x" "$from_y" "$to_x" "$to_y"

i=0
while [ ! -s "$work/dropped.txt" ] && [ $i -lt 40 ]; do sleep 0.25; i=$((i + 1)); done
if [ -s "$work/dropped.txt" ]; then
  pass "the target took a drop"
  tr -d '\r' <"$work/dropped.txt" >"$work/dropped.lines"
  cat "$work/dropped.lines"
  grep -q '^stuff [1-9]' "$work/dropped.lines" && pass "the private format arrived" || fail "no private format"
  grep -q '^embed same$' "$work/dropped.lines" && pass "Embed Source holds the same records" || fail "no Embed Source"
  grep -q '^picture$' "$work/dropped.lines" && pass "a picture arrived" || fail "no picture"
  "$src/cmake/wine-run.sh" "$build/drxconv.exe" info "$work/fixture.drx" 2>/dev/null | tr -d '\r' >"$work/fixture.json"
  "$src/cmake/wine-run.sh" "$build/drxconv.exe" info "$work/dropped.drx" 2>/dev/null | tr -d '\r' >"$work/dropped.json"
  if /usr/bin/python3 "$src/tests/ole/same_objects.py" "$work/fixture.json" "$work/dropped.json"; then pass "the dropped objects are the drawing's"; else fail "the dropped objects are the drawing's"; fi
else
  fail "nothing was dropped on the target"
fi
[ $failures -eq 0 ] || exit 1
exit 0
