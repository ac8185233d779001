#!/usr/bin/env bash
# The settings dialog in Japanese under a Western (1252) and a Japanese (932)
# system code page: Wine takes the code page from LANG and the display
# language from LC_MESSAGES. The two runs must show the same pixels and write
# the same settings file, and the pixels must be the dialog's as it has
# always looked on Japanese Windows (reference/japanese_dialog.png).
# usage: code_pages.sh <settings_dialog_tests.exe> <scratch folder> <wine-run>
set -euo pipefail
program=$1
scratch=$2
emulator=$3

rm -rf "$scratch"
mkdir -p "$scratch"
windows_path() { local path="${1//\//\\}"; printf 'Z:%s' "$path"; }
for run in "en_US.UTF-8 1252" "ja_JP.UTF-8 932"; do
  set -- $run
  env -u LC_ALL LANG=$1 LC_MESSAGES=ja_JP.UTF-8 VENTALUNE_EXPECT_ACP=$2 VENTALUNE_RECORD_FOLDER="$(windows_path "$scratch")" \
    "$emulator" "$program" --gtest_filter='CodePageRecordTest.*'
done
status=0
for file in dialog.bmp settings.ini; do
  if ! cmp -s "$scratch/1252-$file" "$scratch/932-$file"; then
    echo "code_pages: $file differs between code pages 1252 and 932 (see $scratch)" >&2
    status=1
  fi
done
# Wholly Western, the dialog speaks English; wholly Japanese, its banner
# opens the Japanese help page.
env -u LC_ALL LANG=en_US.UTF-8 "$emulator" "$program" --gtest_filter='DialogLanguageTest.*' || status=1
env -u LC_ALL LANG=ja_JP.UTF-8 LC_MESSAGES=ja_JP.UTF-8 "$emulator" "$program" \
  --gtest_filter='BannerTest.OpensTheHelpPageInTheDialogsLanguage' || status=1
reference="$(dirname "$0")/reference/japanese_dialog.png"
differing=$(compare -metric AE "$reference" "$scratch/932-dialog.bmp" null: 2>&1 || true)
if [ "$differing" != 0 ]; then
  echo "code_pages: the Japanese dialog differs from $reference in $differing pixels (see $scratch)" >&2
  status=1
fi
exit $status
