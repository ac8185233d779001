#!/usr/bin/env bash
# The user's picture folder replaced by a link to another folder, as a junction
# planted there would be: the run must write nothing through it. Wine shows a
# Unix symbolic link to a folder as a reparse point, and cannot make one
# itself, so the link is made here.
# usage: linked_picture_folder.sh <saver_program_tests.exe> <wine-run>
set -euo pipefail
program=$1
emulator=$2

local_appdata=$("$emulator" cmd /c 'echo %LOCALAPPDATA%' | tr -d '\r')
folder=$("$emulator" winepath -u "$local_appdata\\Ventalune" | tr -d '\r')
target=$("$emulator" winepath -u 'C:\ventalune-link-target' | tr -d '\r')
folder=${folder%/}
target=${target%/}
restore() { rm -f "$folder"; rm -rf "$target"; mkdir -p "$folder"; }
trap restore EXIT
rm -rf "$folder" "$target"
mkdir -p "$target"
ln -s "$target" "$folder"
VENTALUNE_LINK_TARGET='C:\ventalune-link-target' \
  "$emulator" "$program" --gtest_filter='SaverProgramTest.RunWritesNothingThroughALinkedPictureFolder'
if [ -n "$(ls -A "$target")" ]; then
  echo "linked_picture_folder: the run wrote through the link: $(ls -A "$target")" >&2
  exit 1
fi
