; The per-user installer of Ventalune. tools/package runs makensis with
;   -DVERSION=<x.y.z>  the project's version
;   -DSTAGE=<folder>   the shipped files, as they go into the zip
;   -DSETUP_STAGE=<folder>  what only the installer carries: VentaluneSettings.exe
;   -DOUTFILE=<path>   the installer to write
;   -DUNINSTALLER_SIGN="<command> %1"  (optional) signs the uninstaller
; Installed for the current user alone, without elevation, into
; %LOCALAPPDATA%\Programs\Ventalune, or where an earlier install went.
;
; Silent use: Ventalune-<version>-setup.exe /S [/SAVER=0] [/D=<folder>]
;   /SAVER=0 leaves the user's screen-saver choice alone (the box unticked).
;   /D=<folder> installs there when it is empty, missing or an earlier
;   install of ours, and otherwise into a Ventalune folder inside it; when
;   that one holds other files too, nothing is installed (exit code 2). A
;   folder outside the user's own (profile, local or roaming application
;   data) is refused, and nothing is written (exit code 3).
; Uninstall silently: "%LOCALAPPDATA%\Programs\Ventalune\uninstall.exe" /S

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true
ManifestSupportedOS all

!include MUI2.nsh
!include nsDialogs.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!define PRODUCT "Ventalune"
!define PUBLISHER "Ventalune"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Ventalune"
!define DESKTOP_KEY "Control Panel\Desktop"
; Where runs write their two pictures: the user's own folder.
!define PICTURE_FOLDER "$LOCALAPPDATA\Ventalune"
!define FILE_ATTRIBUTE_REPARSE_POINT 0x400
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATEINIFILE_SENDCHANGE 3

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Ventalune"
; A reinstall without /D= goes where the earlier install went, rather than
; leaving it behind without an uninstall entry.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "MIT licence"

!ifdef UNINSTALLER_SIGN
  !uninstfinalize '${UNINSTALLER_SIGN}'
!endif

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

Var UseAsSaver
Var UseAsSaverBox
Var LicenceBox

Page custom LicencePage LicencePageLeave
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\$(HelpPage)"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "$(ShowHelp)"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first is the one shown where Windows' display language is neither.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"
!include /CHARSET=UTF8 "texts.nsh"

; Sets `result` to 1 when `path` is the folder `folder` or lies inside it
; (the comparison ignores case, as the file system does).
!macro IfInsideSetOne path folder result
  Push $R0
  Push $R1
  StrLen $R0 "${folder}\"
  StrCpy $R1 "${path}\" $R0
  ${If} "${folder}" != ""
  ${AndIf} $R1 == "${folder}\"
    StrCpy ${result} 1
  ${EndIf}
  Pop $R1
  Pop $R0
!macroend

Function .onInit
  SetShellVarContext current
  StrCpy $UseAsSaver ${BST_CHECKED}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/SAVER=" $1
  ${IfNot} ${Errors}
  ${AndIf} $1 == "0"
    StrCpy $UseAsSaver ${BST_UNCHECKED}
  ${EndIf}
  Call RefuseFolderOthersMayChange
  Call ChooseInstallFolder
FunctionEnd

; The saver runs as the user whenever the machine is idle: a folder other
; accounts may write (C:\Tools, say, where every local account may add and
; replace files) would let any of them run code as this user. The user's
; own folders are writable by the user, SYSTEM and Administrators alone.
Function RefuseFolderOthersMayChange
  Push $0
  Push $1
  ; The folder as the system resolves it, ".." and all; it need not exist.
  System::Call 'kernel32::GetFullPathNameW(w "$INSTDIR", i ${NSIS_MAX_STRLEN}, w .r0, p 0) i .r1'
  ${If} $1 == 0
    StrCpy $0 ""
  ${EndIf}
  StrCpy $1 0
  !insertmacro IfInsideSetOne $0 $PROFILE $1
  !insertmacro IfInsideSetOne $0 $LOCALAPPDATA $1
  !insertmacro IfInsideSetOne $0 $APPDATA $1
  ${If} $1 != 1
    MessageBox MB_OK|MB_ICONSTOP "$(FolderOthersMayChange)" /SD IDOK
    SetErrorLevel 3
    Quit
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd

; The uninstaller deletes our files by name. So that it never takes a
; user's file of the same name (a LICENSE.txt of their own, say), we
; install only into a folder that holds nothing of anyone else's: the
; chosen one when it takes us, or else a Ventalune folder inside it.
Function ChooseInstallFolder
  Push $0
  Push $INSTDIR
  Call FolderTakesUs
  Pop $0
  ${If} $0 != 1
    Push "$INSTDIR\${PRODUCT}"
    Call FolderTakesUs
    Pop $0
    ${If} $0 != 1
      MessageBox MB_OK|MB_ICONSTOP "$(FolderHoldsOthers)" /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
    StrCpy $INSTDIR "$INSTDIR\${PRODUCT}"
  ${EndIf}
  Pop $0
FunctionEnd

; FolderTakesUs: pops a folder, pushes 1 when we may install into it: it is
; missing, an earlier install of ours (our uninstaller and saver are there,
; or our uninstall entry names it), or it holds nothing but the settings
; file an uninstall leaves behind (an empty folder among them). Else 0,
; also when a file of the user's has the folder's name.
Function FolderTakesUs
  Exch $R0
  Push $R1
  Push $R2
  StrCpy $R1 1
  ${If} ${FileExists} "$R0\*.*"
    ReadRegStr $R2 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ; An earlier install of ours, by its files or by our uninstall entry,
    ; keeps $R1 at 1.
    ${If} ${FileExists} "$R0\uninstall.exe"
    ${AndIf} ${FileExists} "$R0\Ventalune.scr"
    ${OrIf} $R2 == $R0
      StrCpy $R1 1
    ${Else}
      FindFirst $R2 $R1 "$R0\*"
      ${DoWhile} $R1 != ""
        ${If} $R1 != "."
        ${AndIf} $R1 != ".."
        ${AndIf} $R1 != "Ventalune.ini"
          ${Break}
        ${EndIf}
        FindNext $R2 $R1
      ${Loop}
      FindClose $R2
      ; The walk ends early, on a name, only at someone else's file.
      ${If} $R1 == ""
        StrCpy $R1 1
      ${Else}
        StrCpy $R1 0
      ${EndIf}
    ${EndIf}
  ${ElseIf} ${FileExists} "$R0"
    StrCpy $R1 0
  ${EndIf}
  Pop $R2
  Exch
  Pop $R0
  Exch $R1
FunctionEnd

; SaverChoiceIsOurs: pushes 1 when the user's screen saver is the
; Ventalune.scr in $INSTDIR, in either spelling (we write the long one where
; it has no blank; Windows' Install may write either), else 0.
!macro SaverChoiceIsOurs un
Function ${un}SaverChoiceIsOurs
  Push $R0
  Push $R1
  ReadRegStr $R0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  GetFullPathName /SHORT $R1 "$INSTDIR\Ventalune.scr"
  ${If} $R0 != ""
  ${AndIf} $R0 == $R1
  ${OrIf} $R0 == "$INSTDIR\Ventalune.scr"
    StrCpy $R0 1
  ${Else}
    StrCpy $R0 0
  ${EndIf}
  Pop $R1
  Exch $R0
FunctionEnd
!macroend
!insertmacro SaverChoiceIsOurs ""
!insertmacro SaverChoiceIsOurs "un."

; RemoveStartMenuEntries: deletes our Start-menu entries in both languages,
; whichever the install that made them spoke.
!macro RemoveStartMenuEntries un
Function ${un}RemoveStartMenuEntries
  Delete "$SMPROGRAMS\Ventalune\${SETTINGS_ENTRY_EN}.lnk"
  Delete "$SMPROGRAMS\Ventalune\${SETTINGS_ENTRY_JA}.lnk"
  Delete "$SMPROGRAMS\Ventalune\${HELP_ENTRY_EN}.lnk"
  Delete "$SMPROGRAMS\Ventalune\${HELP_ENTRY_JA}.lnk"
FunctionEnd
!macroend
!insertmacro RemoveStartMenuEntries ""
!insertmacro RemoveStartMenuEntries "un."

; The licence to read and the one choice to make, on one page.
Function LicencePage
  !insertmacro MUI_HEADER_TEXT "$(LicenceTitle)" "$(LicenceSubtitle)"
  nsDialogs::Create 1018
  Pop $0
  ${If} $0 == error
    Abort
  ${EndIf}
  nsDialogs::CreateControl EDIT \
    ${DEFAULT_STYLES}|${WS_TABSTOP}|${WS_VSCROLL}|${ES_MULTILINE}|${ES_READONLY} \
    ${__NSD_Text_EXSTYLE} 0 0 100% 80% ""
  Pop $LicenceBox
  ; The text goes in line by line: one line always fits a string.
  InitPluginsDir
  File "/oname=$PLUGINSDIR\licence.txt" "${STAGE}\LICENSE.txt"
  FileOpen $1 "$PLUGINSDIR\licence.txt" r
  ${Do}
    FileRead $1 $2
    ${If} ${Errors}
      ${Break}
    ${EndIf}
    SendMessage $LicenceBox ${EM_SETSEL} -1 -1
    SendMessage $LicenceBox ${EM_REPLACESEL} 0 "STR:$2"
  ${Loop}
  FileClose $1
  SendMessage $LicenceBox ${EM_SETSEL} 0 0
  ${NSD_CreateCheckbox} 0 86% 100% 12u "$(UseAsSaver)"
  Pop $UseAsSaverBox
  ${NSD_SetState} $UseAsSaverBox $UseAsSaver
  GetDlgItem $0 $HWNDPARENT 1
  SendMessage $0 ${WM_SETTEXT} 0 "STR:$(^AgreeBtn)"
  nsDialogs::Show
FunctionEnd

Function LicencePageLeave
  ${NSD_GetState} $UseAsSaverBox $UseAsSaver
FunctionEnd

Section "Ventalune" SecMain
  SetOutPath "$INSTDIR"
  ; An earlier version's Ventalune.ini stays: only our own files are written.
  File "${STAGE}\Ventalune.scr"
  File "${STAGE}\Ventalune.dll"
  File "${STAGE}\${HELP_PAGE_EN}"
  File "${STAGE}\${HELP_PAGE_JA}"
  File "${STAGE}\LICENSE.txt"
  File "${STAGE}\THIRD-PARTY.txt"
  File "${SETUP_STAGE}\VentaluneSettings.exe"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "$SMPROGRAMS\Ventalune"
  ; A reinstall in the other language leaves one set of entries, not two.
  Call RemoveStartMenuEntries
  ; Not Ventalune.scr /c: the shell opens a .scr with "%1" /S and drops a
  ; shortcut's arguments, so the entry would start a run.
  CreateShortcut "$SMPROGRAMS\Ventalune\$(SettingsEntry).lnk" "$INSTDIR\VentaluneSettings.exe" "" \
    "$INSTDIR\VentaluneSettings.exe" 0 SW_SHOWNORMAL "" "$(SettingsEntryDescription)"
  CreateShortcut "$SMPROGRAMS\Ventalune\$(HelpEntry).lnk" "$INSTDIR\$(HelpPage)"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Ventalune.scr,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"

  ${If} $UseAsSaver == ${BST_CHECKED}
    Call RegisterAsScreenSaver
  ${EndIf}
SectionEnd

; SaverPathForSettings: pushes the path of the installed saver as the
; screen-saver setting takes it, which is read by code that does not expect
; blanks: the long path where it has none, else the short one; empty when
; both have blanks (a volume that keeps no short names).
Function SaverPathForSettings
  Push $0
  StrCpy $0 "$INSTDIR\Ventalune.scr"
  Push $0
  Call HasBlank
  Exch $1
  ${If} $1 == 1
    GetFullPathName /SHORT $0 "$INSTDIR\Ventalune.scr"
    Push $0
    Call HasBlank
    Pop $1
    ${If} $1 == 1
      StrCpy $0 ""
    ${EndIf}
  ${EndIf}
  Pop $1
  Exch $0
FunctionEnd

; HasBlank: pops a text, pushes 1 when it holds a blank, else 0.
Function HasBlank
  Exch $R0
  Push $R1
  Push $R2
  StrCpy $R2 0
  ${Do}
    StrCpy $R1 $R0 1 $R2
    ${If} $R1 == ""
      StrCpy $R1 0
      ${Break}
    ${ElseIf} $R1 == " "
      StrCpy $R1 1
      ${Break}
    ${EndIf}
    IntOp $R2 $R2 + 1
  ${Loop}
  Pop $R2
  Exch $R1
  Exch
  Pop $R0
FunctionEnd

Function RegisterAsScreenSaver
  Call SaverPathForSettings
  Pop $1
  ${If} $1 == ""
    MessageBox MB_OK|MB_ICONEXCLAMATION "$(NoSaverPath)" /SD IDOK
    Return
  ${EndIf}
  ; The user's choice before ours, given back at uninstall. When the
  ; choice is ours already (a reinstall), what the first install kept
  ; stays; a value that was missing is remembered as missing.
  Call SaverChoiceIsOurs
  Pop $0
  ${If} $0 != 1
    ClearErrors
    ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${If} ${Errors}
      DeleteRegValue HKCU "${UNINSTALL_KEY}" "PreviousScreenSaver"
    ${Else}
      WriteRegStr HKCU "${UNINSTALL_KEY}" "PreviousScreenSaver" "$0"
    ${EndIf}
    ClearErrors
    ReadRegStr $0 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
    ${If} ${Errors}
      DeleteRegValue HKCU "${UNINSTALL_KEY}" "PreviousScreenSaveActive"
    ${Else}
      WriteRegStr HKCU "${UNINSTALL_KEY}" "PreviousScreenSaveActive" "$0"
    ${EndIf}
  ${EndIf}
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$1"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_UPDATEINIFILE_SENDCHANGE})'
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section "Uninstall"
  ; While the screen saver is ours, the user gets back the choice they had
  ; before (none, when none was kept); a choice made since is left alone.
  Call un.SaverChoiceIsOurs
  Pop $0
  ${If} $0 == 1
    ClearErrors
    ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "PreviousScreenSaver"
    ${If} ${Errors}
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${Else}
      WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$1"
    ${EndIf}
    ClearErrors
    ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "PreviousScreenSaveActive"
    ${IfNot} ${Errors}
      System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i $1, p 0, i ${SPIF_UPDATEINIFILE_SENDCHANGE})'
      WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "$1"
    ${EndIf}
  ${EndIf}

  Delete "$INSTDIR\Ventalune.scr"
  Delete "$INSTDIR\Ventalune.dll"
  Delete "$INSTDIR\${HELP_PAGE_EN}"
  Delete "$INSTDIR\${HELP_PAGE_JA}"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\THIRD-PARTY.txt"
  Delete "$INSTDIR\VentaluneSettings.exe"
  Delete "$INSTDIR\uninstall.exe"
  ; A folder cannot go while it is a program's working folder, and the
  ; uninstaller starts in this one.
  SetOutPath "$TEMP"
  ; The user's settings file, if the settings were ever saved, is not ours
  ; to delete: it keeps the folder, and a later install finds the choices.
  RMDir "$INSTDIR"

  Call un.RemoveStartMenuEntries
  RMDir "$SMPROGRAMS\Ventalune"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"

  ; Only the user's own folder: what another folder holds may be someone
  ; else's.
  Push "${PICTURE_FOLDER}"
  Call un.RemoveRunPictures
SectionEnd

; RemoveRunPictures: pops a folder and deletes the pictures of the last run
; in it: the room's, the further monitors' desktop copies a run cut short
; left (Nubivola1-2.bmp up to Nubivola1-16.bmp) and the rings'. Anything
; else there is the user's, and keeps the folder. A folder that is a link
; is left alone: it may lead into someone else's.
Function un.RemoveRunPictures
  Exch $R0
  Push $R1
  System::Call 'kernel32::GetFileAttributesW(w R0) i .R1'
  ${If} $R1 != -1
    IntOp $R1 $R1 & ${FILE_ATTRIBUTE_REPARSE_POINT}
    ${If} $R1 == 0
      Delete "$R0\Nubivola1.bmp"
      ${For} $R1 2 16
        Delete "$R0\Nubivola1-$R1.bmp"
      ${Next}
      Delete "$R0\Nubivola2.bmp"
      RMDir "$R0"
    ${EndIf}
  ${EndIf}
  Pop $R1
  Pop $R0
FunctionEnd
