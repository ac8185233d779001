#!/usr/bin/env bash
# Saver runs with a WAV file as their music, each ended by killing one of
# the two programs or by the scene hanging: records the sound server's null sink during each run and
# checks that the tone was heard while the run went on and that silence
# followed its end.
# usage: hear_killed_runs.sh <killed_run_tests.exe> <scratch folder> <wine-run> <tone_check.py>
set -euo pipefail
program=$1
scratch=$2
emulator=$3
checker=$4

rm -rf "$scratch"
mkdir -p "$scratch"
sox -q -n -r 44100 -c 2 -b 16 "$scratch/killed tone.wav" synth 1.0 sine 659 vol 0.5
windows_path() { local path="${1//\//\\}"; printf 'Z:%s' "$path"; }

status=0
for test in SaverEndsWithinAWatchWhenTheSceneIsKilled SceneStillEndsOnEscapeWhenTheSaverIsKilled SaverEndsAHungScene; do
  raw="$scratch/$test.raw"
  parec -d test.monitor --format=s16le --rate=48000 --channels=1 --latency-msec=20 >"$raw" &
  recorder=$!
  trap 'kill -INT "$recorder" 2>/dev/null || true; wait "$recorder" 2>/dev/null || true' EXIT
  for _ in $(seq 200); do [ -s "$raw" ] && break; sleep 0.05; done

  VENTALUNE_RUN_TONE_WAV="$(windows_path "$scratch/killed tone.wav")" \
    "$emulator" "$program" --gtest_filter="KilledRunTest.$test" || status=1
  kill -INT "$recorder"
  wait "$recorder" || true
  trap - EXIT
  # Each run plays for 2 s before the kill or the hang; the test waits 2 s
  # after its end.
  echo "== $test"
  /usr/bin/python3 "$checker" "$raw" --rate 48000 --frequency 659 --min-tone 1.5 --min-silence-after 1.5 || status=1
done
exit "$status"
