#!/usr/bin/env bash
# Runs the monitor-cover tests on two monitors side by side: a nested X
# display with two heads, its own wineserver, and both stopped again at the
# end, whatever the tests did.
# usage: two_monitor_run.sh <monitor_cover_tests.exe> <wine-run> <prefix folder> [test arguments...]
set -uo pipefail
program=$1
emulator=$2
prefix=$3
top="$(cd "$(dirname "$0")/../../../.." && pwd)"
source "$top/tools/lib/session.sh"
trap session_stop EXIT
trap "exit 1" TERM INT HUP  # so a stopped test still stops its X servers

session_use_prefix_copy "$prefix" || exit 1
# A primary of the old size, where the scene's mode switch goes through,
# and one of today's, which the scene covers at its own size.
status=0
for primary in 1024x768 1920x1080; do
  echo "== primary ${primary}, second 800x600 right of it"
  session_start_two_monitors "$primary" || exit 1
  session_start_wine
  # In the background, so that a signal stops the run at once: the shell
  # handles it during `wait`, not only after the test program has ended.
  VENTALUNE_TWO_MONITORS=1 "$emulator" "$program" "${@:4}" &
  wait $! || status=1
  session_stop
  session_pids=()
done
exit "$status"
