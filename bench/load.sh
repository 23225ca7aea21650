#!/bin/sh
# Loading time by record kind: drawings of COUNT layers, COUNT one-member groups, COUNT plain
# objects and COUNT text blocks, each saved and read back (best of 3). Loading is linear when us_per_record stays flat
# from 10,000 to 1,000,000 records.
#
#   bench/load.sh                      host build, 10,000 / 100,000 / 1,000,000
#   SIZES="10000 100000" bench/load.sh
#   BUILDS="host win" bench/load.sh    the Windows build too (under Wine)
#   KINDS=texts SIZES="10000 100000" BUILDS=win bench/load.sh   text blocks under Wine
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
HOST_BUILD=${HOST_BUILD:-$ROOT/build/bench-host}
WIN_BUILD=${WIN_BUILD:-$ROOT/build/bench-win}
SIZES=${SIZES:-10000 100000 1000000}
BUILDS=${BUILDS:-host}
KINDS=${KINDS:-layers groups objects texts}
JOBS=${JOBS:-2}

build() {  # folder, extra cmake arguments...
  dir=$1
  shift
  cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j"$JOBS" --target drxloadbench >/dev/null
}

printf '%-5s %-8s %8s %9s %8s %8s %14s\n' build kind count file_MB read_s rcpu_s us_per_record
for b in $BUILDS; do
  case $b in
    host)
      build "$HOST_BUILD"
      runner="" program="$HOST_BUILD/bench/drxloadbench" data="$HOST_BUILD/benchdata"
      ;;
    win)
      build "$WIN_BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake"
      runner="$ROOT/cmake/wine-run.sh" program="$WIN_BUILD/bench/drxloadbench.exe" data="$WIN_BUILD/benchdata"
      ;;
    *) echo "unknown build $b" >&2; exit 1 ;;
  esac
  mkdir -p "$data"
  for kind in $KINDS; do
    for n in $SIZES; do
      file="$data/load-$kind-$n.drx"
      [ "$b" = win ] && file="Z:$file"
      line=$($runner "$program" "$kind" "$n" "$file" | tr -d '\r') || { echo "$b $kind $n failed" >&2; exit 1; }
      echo "$line" | awk -v build="$b" '{
        for (i = 1; i <= NF; i++) { split($i, kv, "="); v[kv[1]] = kv[2] }
        printf "%-5s %-8s %8s %9.1f %8s %8s %14s\n", build, v["kind"], v["count"], v["bytes"] / 1048576,
               v["read_s"], v["read_cpu_s"], v["us_per_record"]
      }'
      rm -f "$data/load-$kind-$n.drx"
    done
  done
done
