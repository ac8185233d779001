#!/usr/bin/env bash
# Runs the several-monitor tests on nested X displays of two and three heads,
# each with its own wineserver, and stops them again at the end, whatever
# the tests did.
# usage: monitor_layouts_run.sh <monitor_cover_tests.exe> <wine-run> <prefix folder> [test arguments...]
set -uo pipefail
program=$1
emulator=$2
prefix=$3
top="$(cd "$(dirname "$0")/../../../.." && pwd)"
source "$top/tools/lib/session.sh"
trap session_stop EXIT
trap "exit 1" TERM INT HUP  # so a stopped test still stops its X servers

session_use_prefix_copy "$prefix" || exit 1
# The dark covers on a primary of the old size, where the scene's mode
# switch goes through (the room on every monitor there too), and on one of
# today's, which the scene covers at its own size. The room on every monitor
# on today's mixed desks: a 1920x1080 main one beside a portrait one, and
# three of different sizes.
layouts=(
  "MonitorCover*:EveryMonitor*|1024x768+0+0 800x600+1024+0"
  "MonitorCover*|1920x1080+0+0 800x600+1920+0"
  "EveryMonitor*|1920x1080+0+0 1080x1920+1920+0"
  "EveryMonitor*|1280x1024+0+0 1920x1080+1280+0 1080x1920+3200+0"
)
status=0
for layout in "${layouts[@]}"; do
  tests=${layout%%|*}
  read -r -a heads <<<"${layout#*|}"
  echo "== ${heads[*]}: $tests"
  session_start_monitors "${heads[@]}" || exit 1
  session_start_wine
  # In the background, so that a signal stops the run at once: the shell
  # handles it during `wait`, not only after the test program has ended.
  VENTALUNE_TWO_MONITORS=1 "$emulator" "$program" "--gtest_filter=$tests" "${@:4}" &
  wait $! || status=1
  session_stop
  session_pids=()
done
exit "$status"
