# What the GUI test scripts share (sourced): the test's verdict lines, the checks that skip a run
# without a display or the tools, and waiting for a top-level window by its title.
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
