#!/usr/bin/env bash
# The user's picture in a folder that takes longer than the scene's start
# grace to hand it over (an online-only cloud folder, a slow share): the
# run still shows the scene and goes on. The folder is a FUSE view of the
# test data whose first read of a file waits that long; Wine sees it as a
# folder on Z:.
# usage: slow_picture_folder.sh <saver_program_tests.exe> <wine-run> <slow_folder.py> <data folder> <seconds>
set -euo pipefail
program=$1
emulator=$2
slow_folder=$3
data=$4
seconds=$5

if [ ! -e /dev/fuse ] || ! command -v fusermount >/dev/null; then
  echo "slow_picture_folder: skipped: this machine offers no FUSE (/dev/fuse, fusermount)" >&2
  exit 77
fi
folder=$(mktemp -d /tmp/ventalune-slow.XXXXXX)
server=""
cleanup() {
  fusermount -u "$folder" 2>/dev/null || true
  if [ -n "$server" ]; then wait "$server" 2>/dev/null || true; fi
  rmdir "$folder"
}
trap cleanup EXIT
/usr/bin/python3 "$slow_folder" "$data" "$folder" "$seconds" &
server=$!
for _ in $(seq 100); do mountpoint -q "$folder" && break; sleep 0.1; done
if ! mountpoint -q "$folder"; then
  echo "slow_picture_folder: the slow folder could not be mounted (is FUSE there?)" >&2
  exit 1
fi
picture=$("$emulator" winepath -w "$folder/photo-640x480.jpg" | tr -d '\r')
VENTALUNE_SLOW_PICTURE=$picture VENTALUNE_SLOW_PICTURE_SECONDS=$seconds \
  "$emulator" "$program" --gtest_filter='SaverProgramTest.PictureSlowerThanTheGraceStillShowsTheScene'
