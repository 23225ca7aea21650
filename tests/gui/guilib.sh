# What the GUI test scripts share (sourced): the test's verdict lines, the checks that skip a run
# without a display or the tools, waiting for a top-level window by its title, finding child
# windows by class and control id, and the mouse and key moves a user makes.
failures=0
skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

# Skips unless $1 (the program) is built and the display, xdotool and ImageMagick are there.
require_display() {
  [ -f "$1" ] || skip "$1 not built"
  [ -n "${DISPLAY:-}" ] || skip "DISPLAY is not set (run under xvfb-run)"
  command -v xdotool >/dev/null 2>&1 || skip "xdotool is not installed"
  command -v import >/dev/null 2>&1 || skip "ImageMagick is not installed"
}

# Waits up to $2 seconds for a top-level window whose name matches $1; prints its id.
wait_window() {
  i=0
  while [ $i -lt $(($2 * 4)) ]; do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.25
    i=$((i + 1))
  done
  return 1
}

# Stops the program ($app) and its Wine server; `stop_program wait` also waits until the server
# has gone, so that the next start gets a fresh one.
stop_program() {
  kill "$app" 2>/dev/null
  WINEPREFIX=$build/wineprefix /usr/lib/wine/wineserver64 -k 2>/dev/null
  if [ "${1:-}" = wait ]; then WINEPREFIX=$build/wineprefix /usr/lib/wine/wineserver64 -w 2>/dev/null; fi
  return 0
}

# Starts the program in the background, its output into $work/draxel.out; on exit the program
# and its Wine server are stopped.
start_program() {
  "$src/cmake/wine-run.sh" "$exe" >"$work/draxel.out" 2>&1 &
  app=$!
  trap stop_program EXIT
}

# Starts the program and waits (up to 90 s) for its frame with the first drawing, then lets it
# settle; sets $frame. A start that shows no frame is described (the Wine processes and the
# windows showing) in the output and in $build/gui-start-delays.txt, which the test command
# prints at its end, and the program is started once more with a fresh Wine server; without the
# frame then the script fails.
start_with_first_drawing() {
  start_program
  frame=$(wait_window '^Draxel Pro 2\.0 - \[Untitled1\]$' 90) || {
    describe_missing_frame | tee -a "$build/gui-start-delays.txt"
    stop_program wait
    start_program
    frame=$(wait_window '^Draxel Pro 2\.0 - \[Untitled1\]$' 90) || { fail "no frame with Untitled1"; exit 1; }
  }
  sleep 3
}

describe_missing_frame() {
  echo "== $(date -u +%H:%M:%S) $(basename "$work"): no frame with Untitled1 within 90 s; starting once more"
  echo "-- Wine processes:"
  ps -eo pid,ppid,etime,stat,wchan:24,args | grep -i '[w]ine\|[.]exe'
  echo "-- windows showing:"
  for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
    echo "$id $(xdotool getwindowname "$id" 2>/dev/null)"
  done
  echo "-- program output:"
  cat "$work/draxel.out"
}

# winfind.exe (beside the program) reports child windows by class and control id.
winfind() { "$src/cmake/wine-run.sh" "$build/winfind.exe" "$@" 2>/dev/null | tr -d '\r'; }
# rect CLASS ID [PARENT]: sets L T R B V (screen pixels, visible flag); false when not found.
rect() {
  set -- $(winfind rect "$@")
  [ $# -eq 5 ] || return 1
  L=$1 T=$2 R=$3 B=$4 V=$5
}
click_at() {
  xdotool mousemove --sync "$1" "$2"
  sleep 0.15
  xdotool click 1
  sleep 0.3
}
# Presses at $1,$2 and releases at $3,$4 in steps, with the pauses the program's polling needs.
drag() {
  xdotool mousemove --sync "$1" "$2"
  sleep 0.15
  xdotool mousedown 1
  sleep 0.25
  xdotool mousemove --sync $((($1 * 3 + $3) / 4)) $((($2 * 3 + $4) / 4))
  sleep 0.1
  xdotool mousemove --sync $((($1 + $3) / 2)) $((($2 + $4) / 2))
  sleep 0.1
  xdotool mousemove --sync "$3" "$4"
  sleep 0.25
  xdotool mouseup 1
  sleep 0.5
}
# keys WINDOW KEY...: focuses the window and types the keys.
keys() {
  xdotool windowfocus --sync "$1" 2>/dev/null
  shift
  xdotool key --delay 80 "$@"
  sleep 0.4
}
# True when a window whose name matches $1 exists. A search can fail with BadWindow when another
# window goes away while it runs, so a miss is asked again a few times before it counts.
window_exists() {
  i=0
  while [ $i -lt 5 ]; do
    xdotool search --name "$1" >/dev/null 2>&1 && return 0
    sleep 0.3
    i=$((i + 1))
  done
  return 1
}
# rect_dialog TITLE ID: sets L T R B V for control ID of the dialog captioned TITLE.
rect_dialog() {
  set -- $(winfind dlgrect "$@")
  [ $# -eq 5 ] || return 1
  L=$1 T=$2 R=$3 B=$4 V=$5
}

# What the drawing scripts share: they set $frame (the frame window), $work (their folder), $build
# and $src first.
# winpath PATH: the Wine name of a Linux path.
winpath() { echo "Z:$1" | sed 's|/|\\|g'; }
# Types a path into file dialog $1 and confirms it.
type_path() {
  xdotool windowfocus --sync "$1" 2>/dev/null
  xdotool key ctrl+a
  xdotool type --delay 15 "$2"
  sleep 0.3
  xdotool key Return
}
# tool ID: picks the tool by its toolbox button.
tool() {
  if rect ToolPaneClass "$1"; then
    click_at $(((L + R) / 2)) $(((T + B) / 2))
  else
    fail "no toolbox button for tool $1"
  fi
}
# Saves the drawing under $1 with Save As and writes drxconv's reading of it to $1.json.
save_as() {
  keys "$frame" alt+f a
  dialog=$(wait_window '^Save As$' 20) || { fail "no Save As dialog for $1"; return 1; }
  type_path "$dialog" "$(winpath "$work/$1")"
  i=0
  while [ ! -s "$work/$1" ] && [ $i -lt 40 ]; do sleep 0.25; i=$((i + 1)); done
  sleep 0.5
  "$src/cmake/wine-run.sh" "$build/drxconv.exe" info "$work/$1" 2>/dev/null | tr -d '\r' >"$work/$1.json"
}
# Runs a check written in Python over the saved readings: check NAME 'python body'. The body sees
# `objs(name)`, the objects of the first layer of NAME.drx.json, `box(o)` = left, top, width,
# height, `pts(o)`, an object's (x, y) points, and `near(a, b)`; it prints what it found and
# exits non-zero on failure.
check() {
  name=$1
  shift
  if /usr/bin/python3 - "$work" "$@" <<'EOF'; then pass "$name"; else fail "$name"; fi
import json, sys, os
work = sys.argv[1]
def objs(name):
    with open(os.path.join(work, name + ".drx.json")) as f:
        return json.load(f)["layers"][0]["objects"]
def box(o):
    t, l, b, r = o["bounds"]
    return l, t, r - l, b - t
def pts(o):
    return [(p["x"], p["y"]) for p in o["points"]]
def near(a, b, tol=1.01):
    return abs(a - b) <= tol
exec(sys.argv[2])
EOF
}

# gui_setup NAME: what every script needs (a display, winfind, drxconv, Debian's Python), then a
# fresh work folder $build/NAME-gui-test in $work.
gui_setup() {
  require_display "$exe"
  [ -f "$build/winfind.exe" ] || skip "winfind.exe not built"
  [ -x "$build/drxconv.exe" ] || skip "drxconv.exe not built"
  [ -x /usr/bin/python3 ] || skip "python3 is not installed"
  work=$build/$1-gui-test
  rm -rf "$work"
  mkdir -p "$work"
}

# What the dialog scripts share.
# open_tool_dialog TOOL TITLE: double-clicks the tool's toolbox button and waits for its dialog,
# which it focuses; sets $dialog.
open_tool_dialog() {
  rect ToolPaneClass "$1" || { fail "no toolbox button for tool $1"; return 1; }
  xdotool mousemove --sync $(((L + R) / 2)) $(((T + B) / 2))
  sleep 0.2
  xdotool click --repeat 2 --delay 80 1
  dialog=$(wait_window "^$2\$" 15) || { fail "double-clicking tool $1 opened no '$2'"; return 1; }
  xdotool windowfocus --sync "$dialog" 2>/dev/null
  sleep 0.3
}
# fill VALUE...: types each value into the next field, from the first (focused, selected).
fill() {
  first=1
  for value in "$@"; do
    [ $first -eq 1 ] || xdotool key Tab
    first=0
    sleep 0.1
    [ "$value" = "-" ] || xdotool type --delay 40 "$value"
  done
  sleep 0.2
}
# True while a window captioned $1 shows.
showing() {
  xdotool search --onlyvisible --name "$1" >/dev/null 2>&1
}
# How many windows captioned $1 show.
count_showing() {
  xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l
}
# wait_count PATTERN N [TEST]: waits up to 5 s until the number of windows whose caption matches
# PATTERN passes `[ number TEST N ]` (-eq unless given); false when it does not. A closed dialog
# leaves the screen about a second after it ends.
wait_count() {
  i=0
  while [ $i -lt 20 ]; do
    [ "$(count_showing "$1")" "${3:--eq}" "$2" ] && return 0
    sleep 0.25
    i=$((i + 1))
  done
  return 1
}
# Waits until fewer than $2 windows captioned $1 show.
wait_fewer() { wait_count "$1" "$2" -lt; }
# The dialog's OK (Return) closes it; true when it closed.
accept() {
  xdotool key Return
  wait_fewer "^$1\$" 1 || { fail "$1 did not close on OK"; return 1; }
  return 0
}
# Saves the drawing of $frame under its own name.
save() {
  keys "$frame" ctrl+s
  sleep 1
}
# refusal TITLE WHAT: after Return a message titled like the dialog (captioned TITLE, the whole
# caption) stands in front of it; Return dismisses the message and the dialog stays open.
refusal() {
  xdotool key Return
  wait_count "^$1\$" 2 && pass "$1: $2 is refused with a message" || fail "$1: $2 was not refused"
  xdotool key Return
  wait_count "^$1\$" 1 && pass "$1 stays open after refusing $2" || fail "$1 closed on refusing $2"
  sleep 0.3
}
# refused TITLE VALUE: the refusal of VALUE, then Escape closes the dialog and, saved again, the
# drawing $work/$drawing is still byte for byte $work/before.drx.
refused() {
  refusal "$1" "'$2'"
  xdotool key Escape
  wait_fewer "^$1\$" 1 || fail "$1 did not close on Cancel"
  save
  cmp -s "$work/before.drx" "$work/$drawing" && pass "$1: the refused '$2' left the drawing as it was" ||
    fail "$1: the refused '$2' changed the drawing"
}
