#!/usr/bin/env bash
# Plays generated tones through the music player under Wine while recording
# the sound server's null sink "test", then checks what was heard: the tone's
# frequency, that it lasted longer than its file (so it looped or was played
# again), and that silence followed the stop.
# usage: hear_music.sh <music_player_tests.exe> <scratch folder> <wine-run>
set -euo pipefail
program=$1
scratch=$2
emulator=$3
here="$(cd "$(dirname "$0")" && pwd)"
# Debian's own Python, which has numpy, whatever else is first on the path.
python=/usr/bin/python3

rm -rf "$scratch"
# A folder and file names with blanks: the MP3 path must reach MCI quoted.
tones="$scratch/tone folder"
mkdir -p "$tones"
sox -q -n -r 44100 -c 2 -b 16 "$tones/wav tone.wav" synth 1.0 sine 440 vol 0.5
sox -q -n -r 44100 -c 2 "$tones/mp3 tone.mp3" synth 1.5 sine 660 vol 0.5

windows_path() { local path="${1//\//\\}"; printf 'Z:%s' "$path"; }

recorder=""
stop_recorder() {
  if [ -n "$recorder" ]; then
    kill -INT "$recorder" 2>/dev/null || true
    wait "$recorder" 2>/dev/null || true
    recorder=""
  fi
}
trap stop_recorder EXIT

# hear NAME TEST FREQUENCY MIN_TONE_SECONDS: runs one tone test while
# recording, then checks the recording.
hear() {
  local name=$1 test=$2 frequency=$3 min_tone=$4
  local raw="$scratch/$name.raw"
  parec -d test.monitor --format=s16le --rate=48000 --channels=1 --latency-msec=20 >"$raw" &
  recorder=$!
  # The null sink runs all the time, so the recording grows from its start.
  for _ in $(seq 200); do [ -s "$raw" ] && break; sleep 0.05; done
  [ -s "$raw" ] || { echo "hear_music: the recorder did not start" >&2; return 1; }

  local status=0
  VENTALUNE_TONE_WAV="$(windows_path "$tones/wav tone.wav")" \
  VENTALUNE_TONE_MP3="$(windows_path "$tones/mp3 tone.mp3")" \
    "$emulator" "$program" --gtest_filter="HeardToneTest.$test" || status=$?
  sleep 0.3
  stop_recorder
  [ "$status" -eq 0 ] || { echo "hear_music: $test failed inside the program" >&2; return 1; }
  "$python" "$here/tone_check.py" "$raw" --rate 48000 --frequency "$frequency" \
    --min-tone "$min_tone" --min-silence-after 1.5
}

failed=0
# The WAV file lasts 1 s and plays for 4 s; the MP3 file lasts 1.5 s and is
# watched for 8 s.
hear wav WavLoopsUntilStopped 440 2.5 || failed=1
hear mp3 Mp3PlaysAgainAfterItEndsUntilStopped 660 3.0 || failed=1
exit "$failed"
