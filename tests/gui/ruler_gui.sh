#!/bin/sh
# The rulers of a drawing window under X (Xvfb in the test run), driven with xdotool: Ctrl+R
# shows them, and their dotted cursor marks follow the mouse over the drawing pane: between two
# hover positions the screen changes only in the columns and rows of those positions.
# Usage: ruler_gui.sh BUILD/Draxel.exe. Exit 77 (skipped) without a display or the tools.
set -u
exe=$(readlink -f "$1")
build=$(dirname "$exe")
src=$(cd "$(dirname "$0")/../.." && pwd)

. "$src/tests/gui/guilib.sh"
gui_setup ruler
# The changed pixels between two screenshots, one "x y" line each.
changed_pixels() {
  convert "$1" "$2" -compose difference -composite -threshold 0 -depth 8 txt:- |
    awk -F'[,: ]+' 'NR > 1 && $0 !~ /#000000/ { print $1, $2 }'
}

start_program

frame=$(wait_window '^Draxel Pro 2\.0 - \[Untitled1\]$' 90) || { fail "no frame with Untitled1"; exit 1; }
sleep 3
eval "$(xdotool getwindowgeometry --shell "$frame")"
# Two hover positions well inside the drawing pane, as fractions of the frame.
x1=$((X + WIDTH * 45 / 100)); y1=$((Y + HEIGHT * 50 / 100))
x2=$((X + WIDTH * 55 / 100)); y2=$((Y + HEIGHT * 60 / 100))

import -window root "$work/before.png"
xdotool windowfocus --sync "$frame" 2>/dev/null
xdotool key ctrl+r
sleep 1.5
import -window root "$work/rulers.png"
n=$(changed_pixels "$work/before.png" "$work/rulers.png" | wc -l)
[ "$n" -gt 2000 ] && pass "Ctrl+R shows the rulers ($n pixels changed)" || fail "Ctrl+R changed only $n pixels"

xdotool mousemove --sync "$x1" "$y1"
sleep 0.5
import -window root "$work/hover1.png"
xdotool mousemove --sync "$x2" "$y2"
sleep 0.5
import -window root "$work/hover2.png"
changed_pixels "$work/hover1.png" "$work/hover2.png" >"$work/marks.txt"
# Each changed pixel lies on a mark: in the column or row of one of the hover positions.
summary=$(awk -v x1="$x1" -v x2="$x2" -v y1="$y1" -v y2="$y2" '
  function near(a, b) { return a - b <= 1 && b - a <= 1 }
  { if (near($1, x1)) c1++; else if (near($1, x2)) c2++; else if (near($2, y1)) r1++;
    else if (near($2, y2)) r2++; else stray++ }
  END { printf "%d %d %d %d %d", c1, c2, r1, r2, stray }' "$work/marks.txt")
set -- $summary
echo "mark pixels: column 1 $1, column 2 $2, row 1 $3, row 2 $4, elsewhere $5"
[ "$1" -gt 3 ] && [ "$2" -gt 3 ] && pass "the horizontal ruler's mark moved with the mouse" ||
  fail "the horizontal ruler's mark did not follow the mouse"
[ "$3" -gt 3 ] && [ "$4" -gt 3 ] && pass "the vertical ruler's mark moved with the mouse" ||
  fail "the vertical ruler's mark did not follow the mouse"
[ "$5" -eq 0 ] && pass "nothing else changed" || fail "$5 pixels changed away from the marks"

# Hiding the rulers and showing them again keeps a single mark per ruler.
xdotool key ctrl+r
sleep 1
xdotool key ctrl+r
sleep 1.5
xdotool mousemove --sync "$x1" "$y1"
sleep 0.5
import -window root "$work/again.png"
n=$(changed_pixels "$work/hover1.png" "$work/again.png" | wc -l)
[ "$n" -eq 0 ] && pass "the rulers come back as they were" || fail "$n pixels differ after hiding and showing the rulers"

echo "$failures failure(s); pictures in $work"
[ $failures -eq 0 ]
