#!/usr/bin/env bash
# What a Windows user downloads, checked the way they would use it:
#   - tools/package twice (the second time relinking both programs) gives the
#     same zip and installer bytes;
#   - the zip holds exactly the six files, and Ventalune.scr /s runs from a
#     folder with blanks in its path and ends on Esc;
#   - the installer, silent, in a fresh Wine prefix: files, uninstall entry,
#     Start-menu entries, the screen-saver choice (with the box on and off),
#     the installed saver runs, the settings entry's target opens the
#     settings, a reinstall keeps the settings file, and the silent
#     uninstaller leaves nothing of ours and touches only our choice;
#   - the installer given a folder of the user's own: it installs into a
#     folder inside it, finds that folder again on reinstalls, and its
#     uninstaller leaves the user's files as they were and gives back the
#     screen saver chosen before;
#   - the installer under a Japanese and an English display language: its
#     first page (screenshots in out/help/), the Start-menu entries' names
#     and the help page they open, and an uninstall in the other language;
#   - signing with a throwaway certificate: osslsigncode verify accepts the
#     programs, the installer and the programs it installs;
#   - the help pages, English and Japanese, are each one well-formed file
#     that needs nothing from outside, hold the same sections, have every
#     character in an installed font, and out/help/ shows them rendered.
# Needs DISPLAY (an X server Wine can use); tools/test provides one.
set -uo pipefail
top="$(cd "$(dirname "$0")/../.." && pwd)"
work="$top/build/package-test"
mkdir -p "$work" "$top/out/help"
export WINEDEBUG=-all

failures=0
pass() { echo "  ok   $1"; }
fail() { echo "  FAIL $1" >&2; failures=$((failures + 1)); }
check() {  # check NAME COMMAND...: passes when the command succeeds
  local name=$1; shift
  if "$@"; then pass "$name"; else fail "$name"; fi
}
equal() {  # equal NAME ACTUAL EXPECTED
  if [ "$2" == "$3" ]; then pass "$1"; else fail "$1: got '$2', expected '$3'"; fi
}
# wait_for SECONDS COMMAND...: polls every 0.2 s until the command succeeds.
wait_for() {
  local deadline=$((SECONDS + $1)); shift
  until "$@"; do
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.2
  done
}

# ---- Reproducible packages ---------------------------------------------------

echo "== package twice"
start=$SECONDS
"$top/tools/package" --out "$work/first" > "$work/package-first.log" 2>&1 || { cat "$work/package-first.log"; exit 1; }
# Relink the programs: a link time in the PE header would show now.
rm -f "$top/build/windows-release/bin/Ventalune.scr" "$top/build/windows-release/bin/Ventalune.dll" \
  "$top/build/windows-release/bin/VentaluneSettings.exe"
"$top/tools/package" --out "$work/second" > "$work/package-second.log" 2>&1 || { cat "$work/package-second.log"; exit 1; }
echo "  (two package runs: $((SECONDS - start)) s)"
version=$(cat "$top/build/windows-release/ventalune_version.txt")
zip_name="Ventalune-$version-win64.zip"
setup_name="Ventalune-$version-setup.exe"
for name in "$zip_name" "$setup_name"; do
  check "$name exists" test -s "$work/first/$name"
  equal "$name is the same from both runs" "$(sha256sum < "$work/first/$name")" "$(sha256sum < "$work/second/$name")"
done
check "an unsigned run says so" grep -q "nothing is signed" "$work/package-first.log"
zip="$work/first/$zip_name"
setup="$work/first/$setup_name"

# ---- The zip -----------------------------------------------------------------

echo "== zip"
equal "the zip holds exactly the six files" "$(unzip -Z1 "$zip" | tr '\n' ' ')" \
  "LICENSE.txt THIRD-PARTY.txt Ventalune-ja.html Ventalune.dll Ventalune.html Ventalune.scr "
for text in LICENSE.txt THIRD-PARTY.txt Ventalune.html Ventalune-ja.html; do
  check "$text has Windows line ends" bash -c "unzip -p '$zip' '$text' | python3 -c '
import sys; b = sys.stdin.buffer.read(); sys.exit(not (b.count(b\"\\r\\n\") == b.count(b\"\\n\") > 0))'"
done

scene_window() { xdotool search --name '^Nubivola_VC$' 2>/dev/null | head -1; }
has_scene() { [ -n "$(scene_window)" ]; }
no_scene() { [ -z "$(scene_window)" ]; }
running() { kill -0 "$1" 2>/dev/null; }
not_running() { ! kill -0 "$1" 2>/dev/null; }

# The scene reads Esc only while it has the keyboard. Another Wine server on
# the same display may hold the X focus for a moment after the scene shows,
# so the key is held down for a while and, if need be, pressed again after
# a click has given the scene the focus (a click ends nothing).
press_escape_until_the_scene_ends() {
  local attempt window
  for attempt in 1 2 3 4 5; do
    window=$(scene_window)
    [ -z "$window" ] && return 0
    [ "$attempt" -gt 1 ] && xdotool mousemove --window "$window" 512 384 click 1 2>/dev/null
    xdotool windowfocus --sync "$window" 2>/dev/null
    xdotool keydown Escape
    wait_for 4 no_scene
    local gone=$?
    xdotool keyup Escape
    [ $gone -eq 0 ] && return 0
  done
  return 1
}

# run_saver PREFIX SCR_PATH: starts the saver as the screen-saver host does,
# waits for the scene, ends it with Esc and expects the saver to end.
run_saver() {
  local prefix=$1 scr=$2
  WINEPREFIX="$prefix" wine "$scr" /s > "$work/saver.log" 2>&1 &
  local pid=$!
  if ! wait_for 40 has_scene; then
    fail "the scene starts from $scr"
    kill "$pid" 2>/dev/null; return
  fi
  pass "the scene starts from $scr"
  check "Esc ends the scene" press_escape_until_the_scene_ends
  check "the saver ends with it" wait_for 20 not_running "$pid"
  if running "$pid" && [ "$prefix" != "$session_prefix" ]; then
    # Left running, it would hold its files and spoil the checks that follow.
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null
  fi
  kill "$pid" 2>/dev/null || true
}

# The session's prefix, and a folder with blanks as a user might choose.
session_prefix="${WINEPREFIX:-$top/build/wineprefix}"
unpacked="$work/My Screen Savers/Ventalune $version"
rm -rf "$work/My Screen Savers"
mkdir -p "$unpacked"
unzip -q "$zip" -d "$unpacked"
run_saver "$session_prefix" "$unpacked/Ventalune.scr"

# ---- The installer in a fresh prefix -----------------------------------------

echo "== installer"
template="$work/prefix-template"
if [ ! -f "$template/system.reg" ]; then
  mkdir -p "$template"
  WINEPREFIX="$template" WINEDLLOVERRIDES="mscoree,mshtml=" wine wineboot -i >/dev/null 2>&1
  WINEPREFIX="$template" wineserver -w
fi
prefix="$work/prefix"
rm -rf "$prefix"
cp -a "$template" "$prefix"
export WINEPREFIX="$prefix"
trap 'WINEPREFIX="$prefix" wineserver -k 2>/dev/null' EXIT

win() { wine "$@" 2>/dev/null | tr -d '\r'; }
unix_path() { winepath -u "$1" 2>/dev/null; }
reg_value() {  # reg_value KEY NAME: the value's data, empty when missing
  win reg query "$1" /v "$2" | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
reg_key_exists() { wine reg query "$1" >/dev/null 2>&1; }
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Ventalune'
desktop_key='HKCU\Control Panel\Desktop'

local_app_data=$(win cmd /c echo %LOCALAPPDATA%)
install_win="$local_app_data\\Programs\\Ventalune"
install_dir=$(unix_path "$install_win")
start_menu=$(unix_path "$(win cmd /c echo %APPDATA%)\\Microsoft\\Windows\\Start Menu\\Programs\\Ventalune")
user_profile=$(win cmd /c echo %USERPROFILE%)
# Where runs write their pictures: the user's own folder. The shared one of
# earlier versions may hold another user's, and is left alone.
picture_dir=$(realpath -m "$(unix_path "$local_app_data\\Ventalune")")
data_dir=$(unix_path 'C:\q_sarn')
shipped="LICENSE.txt THIRD-PARTY.txt Ventalune-ja.html Ventalune.dll Ventalune.html Ventalune.scr VentaluneSettings.exe uninstall.exe"

install() { wine "$setup" /S "$@" >/dev/null 2>&1; }
uninstall_done() { ! reg_key_exists "$uninstall_key" && [ ! -e "$1/uninstall.exe" ]; }
# uninstall [FOLDER]: the silent uninstaller of the install in FOLDER (the
# default one when none is given). It runs on as a copy of itself in the
# temporary folder; its end is the end of the last program of this prefix,
# when the prefix's wineserver goes.
uninstall() {
  local folder=${1:-$install_dir}
  wine "$folder/uninstall.exe" /S >/dev/null 2>&1
  timeout 90 wineserver -w
  uninstall_done "$folder"
}
shortcut() {  # shortcut FILE FIELD: target, arguments, working_dir or icon
  python3 "$top/tests/package/read_shortcut.py" "$1" "$2"
}
start_menu_entries() { ls "$start_menu" 2>/dev/null | LC_ALL=C sort | tr '\n' '|'; }
# Windows' display language and code page Japanese, as a Japanese user's.
japanese() { env -u LC_ALL LANG=ja_JP.UTF-8 LC_MESSAGES=ja_JP.UTF-8 "$@"; }
english() { env -u LC_ALL LANG=en_US.UTF-8 LC_MESSAGES=en_US.UTF-8 "$@"; }
# A Japanese display language on a Western code page (1252): the installer's
# texts are Unicode, so they read the same.
japanese_on_1252() { env -u LC_ALL LANG=en_US.UTF-8 LC_MESSAGES=ja_JP.UTF-8 "$@"; }

install
equal "the installed files" "$(cd "$install_dir" 2>/dev/null && ls | LC_ALL=C sort | tr '\n' ' ')" "$shipped "
check "the installed saver is the shipped one" cmp -s "$install_dir/Ventalune.scr" "$unpacked/Ventalune.scr"
equal "uninstall entry: name" "$(reg_value "$uninstall_key" DisplayName)" "Ventalune"
equal "uninstall entry: version" "$(reg_value "$uninstall_key" DisplayVersion)" "$version"
equal "uninstall entry: publisher" "$(reg_value "$uninstall_key" Publisher)" "Ventalune"
equal "uninstall entry: icon" "$(reg_value "$uninstall_key" DisplayIcon)" "$install_win\\Ventalune.scr,0"
equal "uninstall entry: location" "$(reg_value "$uninstall_key" InstallLocation)" "$install_win"
equal "uninstall entry: command" "$(reg_value "$uninstall_key" UninstallString)" "\"$install_win\\uninstall.exe\""
equal "uninstall entry: quiet command" "$(reg_value "$uninstall_key" QuietUninstallString)" \
  "\"$install_win\\uninstall.exe\" /S"
size=$(reg_value "$uninstall_key" EstimatedSize)
check "uninstall entry: size in KB ($size)" test $((size)) -ge $(( $(du -sk "$install_dir" | cut -f1) / 2 ))
settings_link="$start_menu/Ventalune settings.lnk"
settings_target=$(shortcut "$settings_link" target)
equal "Start menu: the settings entry starts VentaluneSettings.exe" "$settings_target" \
  "$install_win\\VentaluneSettings.exe"
equal "Start menu: the settings entry passes no arguments" "$(shortcut "$settings_link" arguments)" ""
equal "Start menu: the English entries" "$(start_menu_entries)" "Ventalune help.lnk|Ventalune settings.lnk|"
equal "Start menu: the help entry opens the English page" "$(shortcut "$start_menu/Ventalune help.lnk" target)" \
  "$install_win\\Ventalune.html"
saver_value=$(reg_value "$desktop_key" SCRNSAVE.EXE)
equal "the screen saver is the installed file" "$(realpath -m "$(unix_path "$saver_value")")" \
  "$(realpath "$install_dir/Ventalune.scr")"
equal "the screen-saver path is the long one, which has no blank" "$saver_value" "$install_win\\Ventalune.scr"
equal "the screen saver is on" "$(reg_value "$desktop_key" ScreenSaveActive)" "1"

run_saver "$prefix" "$install_dir/Ventalune.scr"

# ---- The settings entry ------------------------------------------------------

settings_dialog() { xdotool search --name '^<Ventalune>$' 2>/dev/null | head -1; }
has_settings_dialog() { [ -n "$(settings_dialog)" ]; }
no_settings_dialog() { [ -z "$(settings_dialog)" ]; }
# Esc cancels the dialog; pressed again if another Wine server on the
# display held the X focus the first time.
close_settings_dialog() {
  local attempt window
  for attempt in 1 2 3 4 5; do
    window=$(settings_dialog)
    [ -z "$window" ] && return 0
    xdotool windowfocus --sync "$window" 2>/dev/null
    xdotool key Escape
    wait_for 4 no_settings_dialog && return 0
  done
  return 1
}

# What the settings opener does, wherever it is: the installed one as the
# Start menu starts it, a copy beside the saver in a folder with blanks,
# and a copy with no saver beside it. (The rows come on descriptor 3: Wine
# would read them from standard input.)
blank_folder=$(unix_path 'C:\My Screen Savers\Ventalune')
lonely_folder=$(unix_path 'C:\Lonely')
rm -rf "$blank_folder" "$lonely_folder"
mkdir -p "$blank_folder" "$lonely_folder"
cp "$install_dir/VentaluneSettings.exe" "$install_dir/Ventalune.scr" "$blank_folder/"
cp "$install_dir/VentaluneSettings.exe" "$lonely_folder/"
# name | program | exit code | whether the dialog shows
while IFS='|' read -r name program expected_exit expects_dialog <&3; do
  wine "$program" > "$work/settings-opener.log" 2>&1
  equal "$name: exit code" "$?" "$expected_exit"
  if [ "$expects_dialog" = yes ]; then
    check "$name: the settings dialog shows" wait_for 30 has_settings_dialog
    check "$name: Esc closes it" close_settings_dialog
  else
    check "$name: no settings dialog" no_settings_dialog
  fi
done 3<<EOF
the Start menu's settings entry|$settings_target|0|yes
the settings opener in a folder with blanks|C:\My Screen Savers\Ventalune\VentaluneSettings.exe|0|yes
the settings opener without Ventalune.scr|C:\Lonely\VentaluneSettings.exe|2|no
EOF
rm -rf "$(unix_path 'C:\My Screen Savers')" "$lonely_folder"

# Another saver chosen since; the box off; the user's settings changed.
wine reg add "$desktop_key" /v SCRNSAVE.EXE /d 'C:\windows\system32\other.scr' /f >/dev/null 2>&1
printf '[Section]\r\nBGM=1\r\n' > "$install_dir/Ventalune.ini"
install /SAVER=0
equal "a reinstall keeps the settings file" "$(cat "$install_dir/Ventalune.ini" 2>/dev/null)" "$(printf '[Section]\r\nBGM=1\r\n')"
equal "with the box off the choice stays" "$(reg_value "$desktop_key" SCRNSAVE.EXE)" 'C:\windows\system32\other.scr'

# The uninstaller while another saver is chosen.
for folder in "$picture_dir" "$data_dir"; do
  mkdir -p "$folder"
  for picture in Nubivola1.bmp Nubivola1-2.bmp Nubivola1-16.bmp Nubivola2.bmp; do printf 'BM' > "$folder/$picture"; done
done
check "the silent uninstaller finishes" uninstall
equal "no program file is left" "$(cd "$install_dir" 2>/dev/null && ls | tr '\n' ' ')" "Ventalune.ini "
check "no Start-menu entry is left" test ! -e "$start_menu"
check "no uninstall entry is left" bash -c "! wine reg query '$uninstall_key' >/dev/null 2>&1"
equal "another saver's choice stays" "$(reg_value "$desktop_key" SCRNSAVE.EXE)" 'C:\windows\system32\other.scr'
check "the user's picture folder and its pictures are gone" test ! -e "$picture_dir"
equal "the shared folder, maybe another user's, is left alone" "$(ls "$data_dir" 2>/dev/null | tr '\n' ' ')" \
  "Nubivola1-16.bmp Nubivola1-2.bmp Nubivola1.bmp Nubivola2.bmp "
rm -rf "$data_dir"

# Install and uninstall with our saver chosen where none was chosen before;
# the user's own file in the picture folder keeps the folder. The settings the
# uninstall left behind do not make the folder someone else's.
wine reg delete "$desktop_key" /v SCRNSAVE.EXE /f >/dev/null 2>&1
install
equal "an install finds the folder holding only our settings" \
  "$(reg_value "$uninstall_key" InstallLocation)" "$install_win"
rm -f "$install_dir/Ventalune.ini"
mkdir -p "$picture_dir"
for picture in Nubivola1.bmp Nubivola2.bmp mine.txt; do printf 'x' > "$picture_dir/$picture"; done
check "the silent uninstaller finishes again" uninstall
if [ -e "$install_dir" ]; then
  fail "the install folder is gone: still there with $(ls -A "$install_dir" | tr '\n' ' ')"
else
  pass "the install folder is gone"
fi
equal "our screen-saver choice is cleared" "$(reg_value "$desktop_key" SCRNSAVE.EXE)" ""
equal "the picture folder keeps only the user's file" "$(ls "$picture_dir" 2>/dev/null | tr '\n' ' ')" "mine.txt "

# ---- The installer given a folder of the user's ------------------------------

echo "== installer in a folder of the user's"
mine_win="$user_profile\\Mine"
mine=$(unix_path "$mine_win")
ours_win="$mine_win\\Ventalune"
ours=$(unix_path "$ours_win")
rm -rf "$mine" "$work/mine-before"
mkdir -p "$mine" "$work/mine-before"
head -c 4096 /dev/urandom > "$mine/LICENSE.txt"
printf 'my notes\r\n' > "$mine/notes.txt"
cp -p "$mine/LICENSE.txt" "$mine/notes.txt" "$work/mine-before/"
# The screen saver the user had, switched off, to be given back.
wine reg add "$desktop_key" /v SCRNSAVE.EXE /d 'C:\windows\system32\previous.scr' /f >/dev/null 2>&1
wine reg add "$desktop_key" /v ScreenSaveActive /d 0 /f >/dev/null 2>&1

# Each install, the first and the reinstalls, lands in the one folder of
# ours inside the user's; the later ones keep the choice remembered first.
# name | the installer's folder option
while IFS='|' read -r name option <&3; do
  install ${option:+"$option"}
  equal "$name: installs into $ours_win" "$(reg_value "$uninstall_key" InstallLocation)" "$ours_win"
  equal "$name: our files" "$(cd "$ours" 2>/dev/null && ls | LC_ALL=C sort | tr '\n' ' ')" "$shipped "
  equal "$name: the user's folder" "$(ls "$mine" | LC_ALL=C sort | tr '\n' ' ')" "LICENSE.txt Ventalune notes.txt "
done 3<<EOF
into the user's folder|/D=$mine_win
again, into our folder|/D=$ours_win
again, into the user's folder|/D=$mine_win
again, without a folder|
EOF
check "the user's LICENSE.txt is untouched by the installs" cmp -s "$mine/LICENSE.txt" "$work/mine-before/LICENSE.txt"
equal "the screen saver is ours" "$(realpath -m "$(unix_path "$(reg_value "$desktop_key" SCRNSAVE.EXE)")")" \
  "$(realpath "$ours/Ventalune.scr")"

# The user's picture folder replaced by a link (Wine shows a Unix link to a
# folder as a reparse point): nothing is deleted through it.
linked="$work/linked-pictures"
rm -rf "$picture_dir" "$linked"
mkdir -p "$linked"
printf 'theirs' > "$linked/Nubivola1.bmp"
ln -s "$linked" "$picture_dir"

check "the silent uninstaller finishes in the user's folder" uninstall "$ours"
check "a linked picture folder stays a link" test -L "$picture_dir"
equal "nothing is deleted through it" "$(cat "$linked/Nubivola1.bmp" 2>/dev/null)" "theirs"
rm -f "$picture_dir"
equal "the user's folder holds only the user's files" "$(ls -A "$mine" | LC_ALL=C sort | tr '\n' ' ')" \
  "LICENSE.txt notes.txt "
for file in LICENSE.txt notes.txt; do
  check "the user's $file is unchanged" cmp -s "$mine/$file" "$work/mine-before/$file"
done
check "no Start-menu entry is left after it" test ! -e "$start_menu"
equal "the screen saver chosen before is back" "$(reg_value "$desktop_key" SCRNSAVE.EXE)" \
  'C:\windows\system32\previous.scr'
equal "the screen saver is switched off again" "$(reg_value "$desktop_key" ScreenSaveActive)" "0"

# A user's folder whose "Ventalune" is the user's too: nothing goes in.
contents() { (cd "$1" && find . -type f -exec sha256sum {} + | LC_ALL=C sort); }
# name | what the user has as Ventalune in the folder
while IFS='|' read -r name kind <&3; do
  rm -rf "$ours"
  if [ "$kind" = folder ]; then
    mkdir "$ours" && printf 'theirs' > "$ours/readme.txt"
  else
    printf 'theirs' > "$ours"
  fi
  before=$(contents "$mine")
  install "/D=$mine_win"
  equal "$name: the installer refuses (exit code)" "$?" "2"
  equal "$name: nothing is added or changed" "$(contents "$mine")" "$before"
  check "$name: no uninstall entry" bash -c "! wine reg query '$uninstall_key' >/dev/null 2>&1"
done 3<<EOF
a Ventalune folder of the user's inside theirs|folder
a Ventalune file of the user's inside theirs|file
EOF

# A folder with blanks: the screen-saver setting gets the short path, which
# has none. (/D= takes the rest of the command line unquoted, which only
# cmd passes on as it stands.)
blank_win="$user_profile\\My Savers"
wine cmd /c "$(winepath -w "$setup") /S /D=$blank_win" >/dev/null 2>&1
saver_value=$(reg_value "$desktop_key" SCRNSAVE.EXE)
equal "in a folder with blanks: installed there" "$(reg_value "$uninstall_key" InstallLocation)" "$blank_win"
equal "in a folder with blanks: the screen saver is ours" "$(realpath -m "$(unix_path "$saver_value")")" \
  "$(realpath -m "$(unix_path "$blank_win\\Ventalune.scr")")"
check "in a folder with blanks: the screen-saver path is the short one ($saver_value)" \
  bash -c "[[ -n '$saver_value' && '$saver_value' != *' '* ]]"
check "in a folder with blanks: the uninstaller finishes" uninstall "$(unix_path "$blank_win")"

# A folder outside the user's own, which other accounts may write: refused,
# and nothing written anywhere.
saver_before=$(reg_value "$desktop_key" SCRNSAVE.EXE)
while IFS='|' read -r name folder <&3; do
  rm -rf "$(unix_path 'C:\Tools')"
  install "/D=$folder"
  equal "$name: the installer refuses (exit code)" "$?" "3"
  check "$name: no folder is made" test ! -e "$(unix_path 'C:\Tools')"
  check "$name: no uninstall entry" bash -c "! wine reg query '$uninstall_key' >/dev/null 2>&1"
  equal "$name: the screen-saver choice stays" "$(reg_value "$desktop_key" SCRNSAVE.EXE)" "$saver_before"
done 3<<EOF
a folder on the system drive|C:\Tools
a way out of the profile|$user_profile\..\..\Tools
the public profile|C:\users\Public\Ventalune
EOF

# ---- The installer in Japanese and in English --------------------------------

echo "== installer in Japanese"
japanese wine "$setup" /S >/dev/null 2>&1
equal "in Japanese: the installed files" "$(cd "$install_dir" 2>/dev/null && ls | LC_ALL=C sort | tr '\n' ' ')" "$shipped "
equal "in Japanese: the Start-menu entries" "$(start_menu_entries)" "Ventalune の設定.lnk|Ventalune ヘルプ.lnk|"
equal "in Japanese: the help entry opens the Japanese page" \
  "$(shortcut "$start_menu/Ventalune ヘルプ.lnk" target)" "$install_win\\Ventalune-ja.html"
equal "in Japanese: the settings entry starts VentaluneSettings.exe" \
  "$(shortcut "$start_menu/Ventalune の設定.lnk" target)" "$install_win\\VentaluneSettings.exe"
install /SAVER=0
equal "reinstalled in English: only the English entries" "$(start_menu_entries)" \
  "Ventalune help.lnk|Ventalune settings.lnk|"
japanese wine "$install_dir/uninstall.exe" /S >/dev/null 2>&1
timeout 90 wineserver -w
check "uninstalled in Japanese: nothing of the English install is left" \
  bash -c "[ ! -e '$start_menu' ] && [ ! -e '$install_dir' ]"

# The installer as a person uses it, in each language: the first page (its
# title as the X server has it, in UTF-8, and a screenshot for a person to
# look at), Enter to agree, then on the last page the help page's box and
# Enter to finish. Which page that opens, a stand-in for the browser writes
# down. Then the uninstaller, its title, and Enter to uninstall and to close.
opened=$(unix_path 'C:\opened.txt')
# A Windows with a Japanese display language has its Japanese UI face, which
# the installer's Japanese pages ask for; Wine's prefix has none and finds a
# stand-in only under the Japanese code page. The stand-in named for both, so
# the pictures tell the code pages' texts apart, not Wine's fonts.
japanese wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
  /v 'ＭＳ Ｐゴシック' /d IPAPGothic /f >/dev/null 2>&1
wine reg add 'HKCR\.html' /ve /d VentaluneTest.HelpPage /f >/dev/null 2>&1
wine reg add 'HKCR\VentaluneTest.HelpPage\shell\open\command' /ve /d 'cmd.exe /c echo %1> C:\opened.txt' /f \
  >/dev/null 2>&1
# (The uninstaller's title ends in a blank.)
setup_window() { xdotool search --name "^$1 *\$" 2>/dev/null | head -1; }
has_setup_window() { [ -n "$(setup_window "$1")" ]; }
no_setup_window() { ! has_setup_window "$1"; }
# press_until WINDOW KEYS CONDITION...: the keys to the window, pressed
# again while the condition has not come (another Wine server on the display
# may have held the keyboard).
press_until() {
  local window=$1 keys=$2 attempt; shift 2
  for attempt in 1 2 3; do
    xdotool windowfocus --sync "$window" 2>/dev/null
    xdotool key $keys
    wait_for 30 "$@" && return 0
  done
  return 1
}
# name | how the installer is started | its title | the help page it opens | the uninstaller's title
while IFS='|' read -r name language title page uninstall_title <&3; do
  rm -f "$opened"
  $language wine "$setup" >/dev/null 2>&1 &
  setup_pid=$!
  if wait_for 60 has_setup_window "$title"; then
    pass "$name: the first page is titled '$title'"
    window=$(setup_window "$title")
    sleep 1
    import -window "$window" "$top/out/help/installer-$name.png" 2>/dev/null &&
      pass "$name: out/help/installer-$name.png" || fail "$name: no screenshot"
    check "$name: Enter agrees and installs" press_until "$window" Return test -e "$start_menu"
    sleep 2
    check "$name: the last page opens the help page" press_until "$window" "alt+s Return" test -s "$opened"
    equal "$name: it is $page" "$(tr -d '\r' < "$opened" | sed 's/ *$//')" "$install_win\\$page"
    check "$name: the installer ends" wait_for 20 not_running "$setup_pid"
  else
    fail "$name: no installer window titled '$title'"
  fi
  wineserver -k 2>/dev/null
  wait "$setup_pid" 2>/dev/null
  $language wine "$install_dir/uninstall.exe" >/dev/null 2>&1
  if wait_for 60 has_setup_window "$uninstall_title"; then
    pass "$name: the uninstaller is titled '$uninstall_title'"
    window=$(setup_window "$uninstall_title")
    check "$name: Enter uninstalls" press_until "$window" Return uninstall_done "$install_dir"
    check "$name: Enter closes the uninstaller" press_until "$window" Return no_setup_window "$uninstall_title"
  else
    fail "$name: no uninstaller window titled '$uninstall_title'"
  fi
  wineserver -k 2>/dev/null
  uninstall_done "$install_dir" || uninstall
done 3<<EOF
japanese|japanese|Ventalune $version セットアップ|Ventalune-ja.html|Ventalune $version アンインストール
japanese-1252|japanese_on_1252|Ventalune $version セットアップ|Ventalune-ja.html|Ventalune $version アンインストール
english|english|Ventalune $version Setup|Ventalune.html|Ventalune $version Uninstall
EOF
equal "the Japanese first page is the same under code pages 932 and 1252 (pixels differing)" \
  "$(compare -metric AE "$top/out/help/installer-japanese.png" "$top/out/help/installer-japanese-1252.png" null: 2>&1)" "0"
WINEPREFIX="$prefix" wineserver -k 2>/dev/null
trap - EXIT
export WINEPREFIX="$session_prefix"

# ---- Signing -----------------------------------------------------------------

echo "== signing"
keys="$work/keys"
rm -rf "$keys" "$work/signed"
mkdir -p "$keys"
printf 'throwaway-%s\n' "$RANDOM$RANDOM" > "$keys/password"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Ventalune test signer" \
  -addext "extendedKeyUsage=codeSigning" -addext "keyUsage=digitalSignature" \
  -keyout "$keys/key.pem" -out "$keys/cert.pem" >/dev/null 2>&1
openssl pkcs12 -export -inkey "$keys/key.pem" -in "$keys/cert.pem" -out "$keys/signer.pfx" \
  -passout "file:$keys/password" >/dev/null 2>&1
verify_signature() {  # against the throwaway certificate as the only trusted root
  osslsigncode verify -CAfile "$keys/cert.pem" -in "$1" > "$work/signed/verify-$(basename "$1").log" 2>&1
}
if "$top/tools/package" --out "$work/signed" --sign "$keys/signer.pfx" "$keys/password" > "$work/package-signed.log" 2>&1; then
  mkdir -p "$work/signed/unpacked"
  unzip -q -o "$work/signed/$zip_name" -d "$work/signed/unpacked"
  for file in "$work/signed/unpacked/Ventalune.scr" "$work/signed/unpacked/Ventalune.dll" "$work/signed/$setup_name"; do
    check "signature verifies: $(basename "$file")" verify_signature "$file"
  done
  # The settings opener and the uninstaller come only inside the installer:
  # checked as it installs them, in the installer test's prefix.
  WINEPREFIX="$prefix" wine "$work/signed/$setup_name" /S /SAVER=0 "/D=$user_profile\\Signed" </dev/null >/dev/null 2>&1
  signed_install=$(WINEPREFIX="$prefix" winepath -u "$user_profile\\Signed" 2>/dev/null)
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null
  for file in "$signed_install/VentaluneSettings.exe" "$signed_install/uninstall.exe"; do
    check "signature verifies: the installed $(basename "$file")" verify_signature "$file"
  done
else
  cat "$work/package-signed.log" >&2
  fail "tools/package --sign"
fi

# ---- The help page -----------------------------------------------------------

echo "== help pages"
english_page="$top/doc/Ventalune.html" japanese_page="$top/doc/Ventalune-ja.html"
check "the help pages stand alone and hold the same sections" \
  python3 "$top/tests/package/check_help_page.py" "$english_page" "$japanese_page"
check "the check catches pages out of step" python3 "$top/tests/package/help_pages_test.py" "$english_page" "$japanese_page"
check "the English page's characters are all in a font here" python3 "$top/tests/package/fonts_cover_page.py" "$english_page"
check "the Japanese page's characters are all in a font here, a Japanese one among them" \
  python3 "$top/tests/package/fonts_cover_page.py" --lang ja "$japanese_page"
for page in "$english_page" "$japanese_page"; do
  picture="$top/out/help/$(basename "$page" .html).png"
  if QT_QPA_PLATFORM=offscreen wkhtmltoimage --quiet --width 1000 --disable-javascript \
       "$page" "$picture" >/dev/null 2>&1 && [ -s "$picture" ]; then
    pass "help page rendered: out/help/$(basename "$picture")"
  else
    fail "$(basename "$page") could not be rendered"
  fi
done

if [ $failures -gt 0 ]; then
  echo "package tests: $failures failed"
  exit 1
fi
echo "package tests: all passed"
