#!/bin/sh
# The settings dialogs and the drawings named on the command line, driven under X (Xvfb in the
# test run) with xdotool. The program starts with two drawing files; both open in windows named
# after them. Each dialog is opened as its menu item opens it, values are typed into its fields,
# and the drawing saved: drxconv reads the typed values back. A refused value shows a message,
# keeps the dialog open and leaves the saved file byte for byte as it was; Cancel changes nothing.
# Usage: dialogs_gui.sh BUILD/Draxel.exe. Exit 77 (skipped) without a display or the tools.
set -u
exe=$(readlink -f "$1")
build=$(dirname "$exe")
src=$(cd "$(dirname "$0")/../.." && pwd)

. "$src/tests/gui/guilib.sh"
gui_setup dialogs
/usr/bin/python3 "$src/tests/gui/make_fixture.py" "$work/first.drx" || { fail "no fixture"; exit 1; }
cp "$work/first.drx" "$work/second.drx"
drawing=second.drx  # the file `save` writes and `refused` compares

# Settings of the saved drawing: `setting NAME...` prints their values, one a line.
setting() {
  "$src/cmake/wine-run.sh" "$build/drxconv.exe" info "$work/second.drx" 2>/dev/null >"$work/info.json"
  /usr/bin/python3 - "$work/info.json" "$@" <<'PY'
import json, sys
d = json.load(open(sys.argv[1]))
for name in sys.argv[2:]:
    if name == "layers":
        print(",".join(l["name"] + ("" if l["visible"] else "-hidden") for l in d["layers"]))
    else:
        v = d["docState"][name]
        print(("%g" % v) if isinstance(v, float) else v)
PY
}
# expect NAME VALUE: the saved setting NAME reads VALUE.
expect() {
  got=$(setting "$1")
  [ "$got" = "$2" ] && pass "$1 is $2" || fail "$1 is '$got', not '$2'"
}
# open_dialog COMMAND TITLE: chooses the command and waits for its dialog; sets $dialog.
open_dialog() {
  winfind command "$1" >/dev/null
  dialog=$(wait_window "^$2\$" 15) || { fail "no dialog '$2'"; return 1; }
  xdotool windowfocus --sync "$dialog" 2>/dev/null
  sleep 0.3
}
"$src/cmake/wine-run.sh" "$exe" "$(winpath "$work/first.drx")" "$(winpath "$work/second.drx")" >"$work/draxel.out" 2>&1 &
app=$!
trap stop_program EXIT

frame=$(wait_window '^Draxel Pro 2\.0' 90) || { fail "no frame"; exit 1; }
sleep 3
names=$(winfind drawings | sort | tr '\n' ' ')
[ "$names" = "first.drx second.drx " ] && pass "both drawings of the command line open, named after their files" ||
  fail "drawing windows: '$names'"

# ---- Values typed reach the drawing ----
open_dialog 5046 "Grid Spacing" && fill 2 3 && accept "Grid Spacing" && save
expect gridH 2; expect gridV 3; expect snapH 2; expect snapV 3

open_dialog 5009 "Preferences" && fill 150 6 50 7 40 && accept "Preferences" && save
for pair in zoomPercentage:150 multigonSides:6 curveSmoothness:20 snapSensitivity:7 snapPercentage:40; do
  expect "${pair%%:*}" "${pair#*:}"
done

open_dialog 5007 "Duplicate Offsets" && fill 1 2 3 && accept "Duplicate Offsets" && save
expect dupOffsetH 1; expect dupOffsetV -2; expect dupRepeat 3

# The fixture's origin is the sheet's bottom-left corner (0, 792) at full scale: an inch each
# way is 72 page units right and up.
open_dialog 5027 "Move Origin" && fill 1 1 && accept "Move Origin" && save
expect originH 72; expect originV 720

open_dialog 5066 "Line Size" && fill 5 && accept "Line Size" && save
expect lineWeight 5
open_dialog 5042 "Tension" && fill 7 && accept "Tension" && save
expect tension 7
open_dialog 5029 "Scrolling Speed" && fill 120 && accept "Scrolling Speed" && save
expect scrollSpeed 120
open_dialog 5040 "Nudge Rate" && fill 0.5 && accept "Nudge Rate" && save
expect nudgeRate 0.5
open_dialog 5057 "Tolerances" && fill 0.1 0.2 && accept "Tolerances" && save
expect upperTolerance 0.1; expect lowerTolerance 0.2
open_dialog 5017 "Parallel Format" && fill 0.75 && accept "Parallel Format" && save
expect parallelWidth 0.75
# Rulers / Scale: screen scale, its unit (kept), world scale.
open_dialog 5011 "Rulers / Scale" && fill 1 - 48 && accept "Rulers / Scale" && save
expect worldScale 48; expect scaleFactor 48

# Layering: a new layer named in the name field.
if open_dialog 5099 "Layering"; then
  fill Doors
  if rect_dialog "Layering" 5; then
    click_at $(((L + R) / 2)) $(((T + B) / 2))
    xdotool windowfocus --sync "$dialog" 2>/dev/null
    accept "Layering" && save
  else
    fail "no New button in Layering"
  fi
fi
expect layers "Walls,Doors"

# ---- Refused values ----
save
cp "$work/second.drx" "$work/before.drx"
open_dialog 5046 "Grid Spacing" && fill 0 && refused "Grid Spacing" 0
open_dialog 5011 "Rulers / Scale" && fill 1 - 0 && refused "Rulers / Scale" 0
open_dialog 5009 "Preferences" && fill 100 0 && refused "Preferences" "0 sides"
open_dialog 5009 "Preferences" && fill 100 8 0 && refused "Preferences" "smoothness 0"
open_dialog 5009 "Preferences" && fill 0 && refused "Preferences" "zoom 0"
open_dialog 5007 "Duplicate Offsets" && fill 1 1 70000 && refused "Duplicate Offsets" 70000
open_dialog 5066 "Line Size" && fill 0 && refused "Line Size" 0
open_dialog 5040 "Nudge Rate" && fill "10-2" && refused "Nudge Rate" "10-2"

# ---- Cancel changes nothing ----
open_dialog 5046 "Grid Spacing" && fill 9 9 && xdotool key Escape && wait_fewer "^Grid Spacing$" 1
open_dialog 5027 "Move Origin" && fill 5 5 && xdotool key Escape && wait_fewer "^Move Origin$" 1
save
cmp -s "$work/before.drx" "$work/second.drx" && pass "Cancel left the drawing as it was" || fail "Cancel changed the drawing"

# ---- A double-click on a ruler opens Rulers / Scale ----
keys "$frame" ctrl+r
sleep 1.5
if rect HorizontalRulerClass 7 && [ "$V" = 1 ]; then
  xdotool mousemove --sync $(((L + R) / 2)) $(((T + B) / 2))
  sleep 0.2
  xdotool click --repeat 2 --delay 80 1
  if dialog=$(wait_window '^Rulers / Scale$' 15); then
    pass "a double-click on the ruler opens Rulers / Scale"
    xdotool windowfocus --sync "$dialog" 2>/dev/null
    xdotool key Escape
    wait_fewer '^Rulers / Scale$' 1
  else
    fail "the ruler's double-click opened no Rulers / Scale"
  fi
else
  fail "no horizontal ruler after Ctrl+R"
fi

# ---- One drawing and one that cannot be read, on the command line ----
stop_program
sleep 1
"$src/cmake/wine-run.sh" "$exe" "$(winpath "$work/first.drx")" "$(winpath "$work/missing.drx")" >"$work/draxel2.out" 2>&1 &
app=$!
if box=$(wait_window '^File Error$' 90); then
  pass "a drawing that cannot be read is told as Open tells it"
  xdotool windowfocus --sync "$box" 2>/dev/null
  xdotool key Return
  wait_fewer '^File Error$' 1
else
  fail "no message for the missing drawing"
fi
sleep 1
names=$(winfind drawings | tr '\n' ' ')
[ "$names" = "first.drx " ] && pass "the readable drawing opens alone, named after its file" ||
  fail "drawing windows: '$names'"

echo "$failures failure(s); files in $work"
[ $failures -eq 0 ]
