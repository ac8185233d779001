#!/usr/bin/env bash
# The same run on two screens of different sizes (1280 × 960 and 2560 × 1920,
# each a display of its own with a wineserver of its own): the room at 3 s
# after the window appears is recorded on the first and compared on the second.
# usage: orientation_run.sh <scene_orientation_tests.exe> <wine-run> <prefix folder>
set -uo pipefail
tests=$1
emulator=$2
prefix=$3
top="$(cd "$(dirname "$0")/../../.." && pwd)"
source "$top/tools/lib/session.sh"
trap session_stop EXIT
trap "exit 1" TERM INT HUP  # so a stopped test still stops its X server

session_use_prefix_copy "$prefix" || exit 1
export WINEDEBUG=-all

# run_at SIZE FILTER: the test program on a display of SIZE.
run_at() {
  local size=$1 filter=$2
  echo "== ${size}"
  session_start_display "$size" || return 1
  wineserver -p 2>/dev/null || true
  local result=0
  "$emulator" "$tests" --gtest_filter="$filter" || result=1
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  session_stop
  session_pids=()
  return "$result"
}

run_at 1280x960 SceneOrientationTest.Record || exit 1
run_at 2560x1920 SceneOrientationTest.MatchesTheRecord
