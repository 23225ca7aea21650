#!/bin/bash
# Installs what is missing, builds Draxel and starts it under Wine: on the current display when
# there is one, else inside a virtual display, saving a screenshot to build/win/draxel-screen.png.
# Arguments are passed on to the program.
set -u
cd "$(dirname "$0")/.." || exit 1
root=$PWD
. scripts/packages.sh

jobs=${DRX_JOBS:-2}
build_type=${DRX_BUILD_TYPE:-RelWithDebInfo}
win_dir=$root/build/win
program=$win_dir/Draxel.exe
screenshot=$win_dir/draxel-screen.png
# How long to wait for the first window in the virtual display, and to let it finish painting.
window_wait_seconds=60
paint_seconds=3

drx_install_packages || exit 1

cmake -S "$root" -B "$win_dir" -DCMAKE_BUILD_TYPE="$build_type" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" || exit 1
# wineprinter gives the prefix a printer that writes PostScript files (cmake/wine-run.sh).
cmake --build "$win_dir" -j"$jobs" --target Draxel wineprinter || exit 1

export DRX_WINEPREFIX=$win_dir/wineprefix
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$root/cmake/wine-run.sh" "$program" "$@"
fi

# No display: run inside Xvfb with a desktop window (framed windows need no window manager),
# wait for the frame, take a screenshot and stop the program.
cat >"$win_dir/run-headless.sh" <<EOF
#!/bin/bash
cd "$win_dir" || exit 1
"$root/cmake/wine-run.sh" explorer /desktop=Draxel,1024x768 Draxel.exe "\$@" </dev/null &
if ! timeout $window_wait_seconds xdotool search --sync --onlyvisible --name Draxel >/dev/null; then
  echo "no Draxel window appeared within $window_wait_seconds s" >&2
  status=1
else
  sleep $paint_seconds
  import -window root "$screenshot" && echo "screenshot: $screenshot"
  status=\$?
fi
WINEPREFIX="$DRX_WINEPREFIX" /usr/lib/wine/wineserver64 -k
wait
exit \$status
EOF
chmod +x "$win_dir/run-headless.sh"
xvfb-run -a -s "-screen 0 1024x768x24" "$win_dir/run-headless.sh" "$@"
