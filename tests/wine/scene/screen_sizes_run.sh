#!/usr/bin/env bash
# The scene and the saver run on today's screens, where the display has no
# 1024 × 768 mode and the scene must cover the monitor at its own size: for
# each size a private X display of that size (its only mode) and a wineserver
# of its own, as Wine reads the monitors once per wineserver; then the
# largest again at 144 dpi.
# usage: screen_sizes_run.sh <scene_program_tests.exe> <saver_program_tests.exe> <scene_pixel_format_tests.exe>
#                            <wine-run> <prefix folder>
set -uo pipefail
scene_tests=$1
saver_tests=$2
format_tests=$3
emulator=$4
prefix=$5
top="$(cd "$(dirname "$0")/../../.." && pwd)"
source "$top/tools/lib/session.sh"
trap session_stop EXIT
trap "exit 1" TERM INT HUP  # so a stopped test still stops its X server

session_use_prefix_copy "$prefix" || exit 1
export WINEDEBUG=-all

scene_filter='SceneProgramTest.ShowsRoomAndRingsFullScreen:SceneProgramTest.EscapeKeyEndsTheRun'
scene_filter+=':SceneProgramTest.EscapeEndsTheRunWhileAnotherWindowIsInFront'
saver_filter='SaverProgramTest.RunCopiesTheDesktopMirroredAndEndsWithTheScene'
saver_filter+=':SaverProgramTest.EscapeWhileAnotherWindowIsInFrontEndsTheRun'
dpi_key='HKCU\Control Panel\Desktop'
status=0

# run_at SIZE DPI: the test programs on a display of SIZE at DPI.
run_at() {
  local size=$1 dpi=$2
  echo "== ${size} at ${dpi} dpi"
  session_start_display "$size" || return 1
  wineserver -p 2>/dev/null || true
  if [ "$dpi" != 96 ]; then
    "$emulator" reg add "$dpi_key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  fi
  local result=0
  "$emulator" "$scene_tests" --gtest_filter="$scene_filter" || result=1
  "$emulator" "$saver_tests" --gtest_filter="$saver_filter" || result=1
  # The desktop's own depth here, no 16-bit mode: the format it gets.
  "$emulator" "$format_tests" || result=1
  if [ "$dpi" != 96 ]; then
    "$emulator" reg delete "$dpi_key" /v LogPixels /f >/dev/null 2>&1
  fi
  # This display's X server and wineserver go; the next size gets new ones.
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  session_stop
  session_pids=()
  return "$result"
}

for size in 1920x1080 2560x1440 1280x1024; do
  run_at "$size" 96 || status=1
done
run_at 1920x1080 144 || status=1
exit "$status"
