#!/usr/bin/env bash
# The settings dialog on a 144 dpi screen: Wine takes the resolution from
# LogPixels in the prefix's registry. Every rectangle must be 1.5 times the
# 96 dpi one; the tests compute them for the resolution they are told.
# usage: dpi_144.sh <settings_dialog_tests.exe> <wine-run>
set -euo pipefail
program=$1
emulator=$2
key='HKCU\Control Panel\Desktop'
"$emulator" reg add "$key" /v LogPixels /t REG_DWORD /d 144 /f
trap '"$emulator" reg delete "$key" /v LogPixels /f' EXIT
VENTALUNE_TEST_DPI=144 "$emulator" "$program" \
  --gtest_filter='SettingsDialogTest.EveryWindowedElement*:SettingsDialogTest.PictureGroup*:*PictureChooserTest.*Jpeg'
