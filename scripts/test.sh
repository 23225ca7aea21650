#!/bin/bash
# Installs what is missing, builds the host and the Windows build and runs every test:
# the host tests directly, the Windows tests under Wine inside a virtual X display.
# Exits non-zero when a step or a test fails. Build folders: build/host and build/win.
set -u
cd "$(dirname "$0")/.." || exit 1
root=$PWD
. scripts/packages.sh

jobs=${DRX_JOBS:-2}
build_type=${DRX_BUILD_TYPE:-RelWithDebInfo}
host_dir=$root/build/host
win_dir=$root/build/win
# A test that hangs (a dialog nobody answers) fails after this many seconds.
test_timeout=300
failed=""
summaries=""
started=$(date +%s)

step() { echo; echo "== $* ($(($(date +%s) - started)) s)"; }

# Runs ctest and keeps its summary line for the end.
run_ctest() {
  local name=$1 log
  shift
  log=$(mktemp)
  "$@" 2>&1 | tee "$log"
  local status=${PIPESTATUS[0]}
  local summary
  summary=$(grep -E "tests passed|No tests were found" "$log" | tail -1)
  summaries="$summaries$name: ${summary:-no summary (ctest exited $status)}"$'\n'
  rm -f "$log"
  return "$status"
}

step "packages"
drx_install_packages || { echo "package installation failed" >&2; exit 1; }

step "host build: configure"
if cmake -S "$root" -B "$host_dir" -DCMAKE_BUILD_TYPE="$build_type" &&
  step "host build: compile" && cmake --build "$host_dir" -j"$jobs"; then
  step "host tests"
  run_ctest host ctest --test-dir "$host_dir" --output-on-failure -j"$jobs" --timeout "$test_timeout" ||
    failed="$failed host-tests"
else
  failed="$failed host-build"
fi

# The host build again under AddressSanitizer and UndefinedBehaviorSanitizer: the unit tests, and
# every saved fuzz input (corpus and past crashes, leaks included) replayed through the reader.
step "host sanitizer build: configure and compile"
asan_dir=$root/build/asan
if cmake -S "$root" -B "$asan_dir" -DCMAKE_BUILD_TYPE="$build_type" -DDRX_SANITIZE=ON >/dev/null &&
  cmake --build "$asan_dir" -j"$jobs" --target drxtests drxconv drxfuzz_replay; then
  step "host sanitizer tests and fuzz replay"
  sanitized=passed
  export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  (cd "$asan_dir" && ./drxtests --gtest_brief=1) || { sanitized=failed; failed="$failed sanitizer-tests"; }
  "$asan_dir/fuzz/drxfuzz_replay" "$root"/fuzz/corpus/* "$root"/fuzz/crashes/* >/dev/null ||
    { sanitized=failed; failed="$failed sanitizer-fuzz-replay"; }
  unset ASAN_OPTIONS UBSAN_OPTIONS
  summaries="${summaries}sanitizer: unit tests and fuzz replay $sanitized"$'\n'
else
  failed="$failed sanitizer-build"
fi

step "Windows build: configure"
if cmake -S "$root" -B "$win_dir" -DCMAKE_BUILD_TYPE="$build_type" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" &&
  step "Windows build: compile" && cmake --build "$win_dir" -j"$jobs"; then
  # The text panes must work with no display at all (drxconv loads drawings headless).
  step "Windows tests without a display"
  if [ -f "$win_dir/drxtests.exe" ]; then
    (unset DISPLAY XAUTHORITY; "$root/cmake/wine-run.sh" "$win_dir/drxtests.exe" --gtest_filter='SeamWin*' \
      --gtest_brief=1) || failed="$failed win-headless"
  fi
  # Everything under Xvfb; the Wine wrapper restarts its server for the new display.
  step "Windows tests under Wine and Xvfb"
  rm -f "$win_dir/gui-start-delays.txt"
  run_ctest win xvfb-run -a -s "-screen 0 1024x768x24" \
    ctest --test-dir "$win_dir" --output-on-failure -j"$jobs" --timeout "$test_timeout" ||
    failed="$failed win-tests"
else
  failed="$failed win-build"
fi
# A GUI script whose program showed no frame at its first start says what was running then.
if [ -s "$win_dir/gui-start-delays.txt" ]; then
  step "GUI starts that needed a second try"
  cat "$win_dir/gui-start-delays.txt"
fi
# Leave no Wine processes behind.
WINEPREFIX=$win_dir/wineprefix /usr/lib/wine/wineserver64 -k >/dev/null 2>&1

step "summary"
printf '%s' "$summaries"
echo "total time: $(($(date +%s) - started)) s"
if [ -n "$failed" ]; then
  echo "FAILED:$failed"
  exit 1
fi
echo "all builds and tests passed"
