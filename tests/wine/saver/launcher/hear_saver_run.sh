#!/usr/bin/env bash
# A saver run with music: records the sound server's null sink while the run
# goes on and after it ends, then checks that the expected tone was heard
# while the scene ran and silence followed its end. The tests find the tones
# through VENTALUNE_RUN_TONE_WAV (523 Hz), VENTALUNE_RUN_TONE_MP3 (523 Hz) and
# VENTALUNE_RUN_OTHER_TONE_MP3 (784 Hz).
# usage: hear_saver_run.sh <saver_program_tests.exe> <scratch folder> <wine-run> <tone_check.py>
#        [<test filter> <expected frequency>]
set -euo pipefail
program=$1
scratch=$2
emulator=$3
checker=$4
filter=${5:-SaverProgramTest.MusicPlaysWhileTheSceneRuns}
frequency=${6:-523}

rm -rf "$scratch"
mkdir -p "$scratch"
sox -q -n -r 44100 -c 2 -b 16 "$scratch/run tone.wav" synth 1.0 sine 523 vol 0.5
sox -q -n -r 44100 -c 2 "$scratch/run tone.mp3" synth 4.0 sine 523 vol 0.5
sox -q -n -r 44100 -c 2 "$scratch/other tone.mp3" synth 4.0 sine 784 vol 0.5
windows_path() { local path="${1//\//\\}"; printf 'Z:%s' "$path"; }

raw="$scratch/run.raw"
parec -d test.monitor --format=s16le --rate=48000 --channels=1 --latency-msec=20 >"$raw" &
recorder=$!
trap 'kill -INT "$recorder" 2>/dev/null || true; wait "$recorder" 2>/dev/null || true' EXIT
for _ in $(seq 200); do [ -s "$raw" ] && break; sleep 0.05; done

VENTALUNE_RUN_TONE_WAV="$(windows_path "$scratch/run tone.wav")" \
VENTALUNE_RUN_TONE_MP3="$(windows_path "$scratch/run tone.mp3")" \
VENTALUNE_RUN_OTHER_TONE_MP3="$(windows_path "$scratch/other tone.mp3")" \
  "$emulator" "$program" --gtest_filter="$filter"
kill -INT "$recorder"
wait "$recorder" || true
trap - EXIT
# The test lets the scene run for 3 s and waits 2 s after the run's end.
/usr/bin/python3 "$checker" "$raw" --rate 48000 --frequency "$frequency" --min-tone 2.0 --min-silence-after 1.5
