#!/bin/sh
# Drives Draxel's toolboxes with the mouse under X (Xvfb in the test run) with xdotool: the
# current tool shown inverted, choosing a draw tool, the close box and the Toolboxes menu,
# dragging a toolbox and trying to lose it off the screen, the origin snap's double click, and
# the misc pane's zoom text. Child windows are found by class and control id through winfind.exe.
# Usage: panes_gui.sh BUILD/Draxel.exe. Exit 77 (skipped) without a display or the tools.
set -u
exe=$(readlink -f "$1")
build=$(dirname "$exe")
src=$(cd "$(dirname "$0")/../.." && pwd)

. "$src/tests/gui/guilib.sh"
gui_setup panes
# Mean brightness (0..255) of a screen rectangle in a screenshot: x y w h.
brightness() {
  convert "$work/shot.png" -crop "$3x$4+$1+$2" +repage -colorspace Gray -format '%[fx:round(mean*255)]' info:
}
shot() { sleep 0.5; import -window root "$work/shot.png"; }
# The brightness of tool pane $1's picture area (the highlight covers it when current).
pane_brightness() {
  rect ToolPaneClass "$1" || { echo 999; return; }
  brightness $((L + 2)) $((T + 2)) $((R - L - 3)) $((B - T - 3))
}

start_program

frame=$(wait_window '^Draxel Pro 2\.0 - \[Untitled1\]$' 90) || { fail "no frame with Untitled1"; exit 1; }
sleep 3
eval "$(xdotool getwindowgeometry --shell "$frame")"
frameX=$X frameY=$Y frameW=$WIDTH frameH=$HEIGHT

# 1. The selection tool starts current: its pane is inverted, its neighbour is not.
shot
selected=$(pane_brightness 200)
plain=$(pane_brightness 201)
echo "selection tool pane $selected, point tool pane $plain"
[ "$selected" -lt 120 ] && [ "$plain" -gt 150 ] && pass "the selection tool starts current and inverted" \
  || fail "the selection tool's pane is not shown current ($selected vs $plain)"

# 2. A click on the rectangle tool makes it current and gives the selection tool's look back.
if rect ToolPaneClass 300; then
  click_at $(((L + R) / 2)) $(((T + B) / 2))
  shot
  rectangle=$(pane_brightness 300)
  selection=$(pane_brightness 200)
  [ "$rectangle" -lt 120 ] && [ "$selection" -gt 150 ] && pass "a click makes the rectangle tool current" \
    || fail "the rectangle tool did not become current ($rectangle, selection $selection)"
else
  fail "no rectangle tool pane"
fi

# 3. The close box hides the Draw toolbox and the Toolboxes menu shows it unmarked.
if rect ToolPaneClass 100 3; then
  click_at $(((L + R) / 2)) $(((T + B) / 2))
  rect ToolPaneClass 300 && [ "$V" -eq 0 ] && pass "the close box hides the Draw toolbox" \
    || fail "the Draw toolbox is still shown after its close box"
  # The Toolboxes submenu (the right-most pop-up): the Edit row carries a check mark at its
  # left, the Draw row below it none.
  keys "$frame" alt+w o
  shot
  set -- $(winfind popups | sort -n | tail -n 1)
  keys "$frame" Escape Escape Escape
  if [ $# -eq 4 ]; then
    row=$((($4 - $2 - 6) / 5))
    editMark=$(brightness $(($1 + 3)) $(($2 + 3)) 14 $((row - 2)))
    drawMark=$(brightness $(($1 + 3)) $(($2 + 3 + row)) 14 $((row - 2)))
    echo "menu mark columns: Edit $editMark, Draw $drawMark"
    [ "$drawMark" -gt "$editMark" ] && [ $((drawMark - editMark)) -gt 8 ] \
      && pass "the Toolboxes menu shows Draw unmarked and Edit marked" || fail "the Draw item looks marked"
  else
    fail "no Toolboxes submenu on screen"
  fi
else
  fail "no close box on the Draw toolbox"
fi

# 4. Dragging the Edit toolbox's title bar moves it; closed and chosen again from the menu, it
# comes back where it was dragged to.
if rect ToolPaneClass 101 2; then
  barX=$(((L + R) / 2)) barY=$(((T + B) / 2))
  rect ToolPaneClass 200 && x0=$L y0=$T
  drag $barX $barY $((barX + 300)) $((barY + 120))
  rect ToolPaneClass 200 && x1=$L y1=$T
  [ $((x1 - x0)) -eq 300 ] && [ $((y1 - y0)) -eq 120 ] && pass "dragging the title bar moves the toolbox by the drag" \
    || fail "the toolbox moved by $((x1 - x0)),$((y1 - y0)) for a drag of 300,120"
  rect ToolPaneClass 100 2 && click_at $(((L + R) / 2)) $(((T + B) / 2))
  rect ToolPaneClass 200 && [ "$V" -eq 0 ] || fail "the Edit toolbox did not close"
  keys "$frame" alt+w o Return
  rect ToolPaneClass 200 && [ "$V" -eq 1 ] && [ "$L" -eq "$x1" ] && [ "$T" -eq "$y1" ] \
    && pass "the menu shows the Edit toolbox again where it was dragged" \
    || fail "the Edit toolbox came back at $L,$T (visible $V), not at $x1,$y1"
  # 5. Dragged far past the screen's corner, its title bar stays inside the frame and can be
  # dragged back.
  rect ToolPaneClass 101 2 && drag $(((L + R) / 2)) $(((T + B) / 2)) 0 0
  if rect ToolPaneClass 101 2; then
    echo "drag bar after a drag to the screen's corner: $L $T $R $B (frame at $frameX,$frameY)"
    [ "$L" -ge "$frameX" ] && [ "$T" -ge "$frameY" ] && [ "$B" -lt $((frameY + frameH)) ] \
      && pass "a toolbox dragged off the screen keeps its title bar reachable" \
      || fail "the title bar went out of reach: $L $T $R $B"
    drag $(((L + R) / 2)) $(((T + B) / 2)) $(((L + R) / 2 + 100)) $(((T + B) / 2 + 100))
    x2=$L
    rect ToolPaneClass 101 2 && [ "$L" -eq $((x2 + 100)) ] && pass "the title bar can be dragged back" \
      || fail "the toolbox could not be dragged back"
  fi
else
  fail "no drag bar on the Edit toolbox"
fi

# 6. The origin snap: a double click tells why it cannot be locked.
keys "$frame" alt+w o Down Down Return
if rect SnapPaneClass 509 && [ "$V" -eq 1 ]; then
  xdotool mousemove --sync $(((L + R) / 2)) $(((T + B) / 2))
  sleep 0.2
  xdotool click --repeat 2 --delay 80 1
  if box=$(wait_window '^Origin Snap$' 10); then
    pass "double-clicking the origin snap shows its message"
    keys "$box" Return
  else
    fail "no Origin Snap message"
  fi
else
  fail "the Snap toolbox did not show from the menu"
fi

# 7. The misc pane: its zoom text changes with the zoom (the toolbar's Fit to Window) and is the
# same again at actual size (the toolbar's 1:1).
toolbar_click() {
  rect ToolbarClass 2 && click_at $((L + 1 + $1)) $((T + 1 + 10))
}
if rect MiscClass 6; then
  mx=$((L + 4)) my=$((T + 3))
  shot
  convert "$work/shot.png" -crop "30x9+$mx+$my" +repage "$work/zoom1.png"
  toolbar_click 403
  shot
  convert "$work/shot.png" -crop "30x9+$mx+$my" +repage "$work/zoomfit.png"
  toolbar_click 424
  shot
  convert "$work/shot.png" -crop "30x9+$mx+$my" +repage "$work/zoomback.png"
  ink=$(convert "$work/zoom1.png" -colorspace Gray -threshold 50% -negate -format '%[fx:round(mean*w*h)]' info:)
  same=$(compare -metric AE "$work/zoom1.png" "$work/zoomback.png" null: 2>&1)
  changed=$(compare -metric AE "$work/zoom1.png" "$work/zoomfit.png" null: 2>&1)
  echo "zoom text: $ink ink pixels; $changed differ after fitting, $same after actual size"
  [ "$ink" -gt 10 ] && [ "${same%%.*}" -eq 0 ] && [ "${changed%%.*}" -gt 0 ] \
    && pass "the misc pane's zoom text follows the zoom and returns at actual size" \
    || fail "the misc pane's zoom text did not follow the zoom"
else
  fail "no misc pane"
fi

# 8. The toolbar's toolbox button: its pop-up lists the toolboxes; choosing Dimension shows it.
rect ToolPaneClass 400 && [ "$V" -eq 0 ] || fail "the Dimension toolbox is shown before it is chosen"
toolbar_click 481
sleep 0.5
set -- $(winfind popups | tail -n 1)
if [ $# -eq 4 ]; then
  row=$((($4 - $2 - 6) / 5))
  click_at $(($1 + 30)) $(($2 + 3 + 3 * row + row / 2))
  rect ToolPaneClass 400 && [ "$V" -eq 1 ] && pass "the toolbar's pop-up shows the Dimension toolbox" \
    || fail "the Dimension toolbox did not show from the toolbar's pop-up"
else
  fail "no pop-up from the toolbar's toolbox button"
fi

# 9. The grid button turns the grid on and shows pressed while it is on.
grid_brightness() {
  shot
  rect ToolbarClass 2 && brightness $((L + 1 + 320)) $((T + 1 + 3)) 16 14
}
# The pop-up's menu loop must have ended, or it takes the click.
i=0
while [ -n "$(winfind popups)" ] && [ $i -lt 12 ]; do
  sleep 0.25
  i=$((i + 1))
done
before=$(grid_brightness)
toolbar_click 328
after=$(grid_brightness)
# The pressed look can come a paint later on a busy machine.
i=0
while [ "$after" -ge $((before - 40)) ] && [ $i -lt 4 ]; do
  sleep 0.5
  after=$(grid_brightness)
  i=$((i + 1))
done
echo "grid button brightness: $before before, $after after"
[ "$after" -lt $((before - 40)) ] && pass "the grid button shows pressed while the grid is on" \
  || fail "the grid button did not change ($before, $after)"

import -window root "$work/end.png"
echo "$failures failure(s)"
[ $failures -eq 0 ]
