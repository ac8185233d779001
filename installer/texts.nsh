; What the installer and the uninstaller say, in English and in Japanese.
; Windows' display language picks the one shown (English where it is
; neither); silent installs show none of it but name the Start-menu entries
; in that language. Included as UTF-8, so it reads right on any build host.

; Entry names of both languages, so an uninstall or a reinstall in either
; language finds the entries the other one made.
!define SETTINGS_ENTRY_EN "Ventalune settings"
!define SETTINGS_ENTRY_JA "Ventalune の設定"
!define HELP_ENTRY_EN "Ventalune help"
!define HELP_ENTRY_JA "Ventalune ヘルプ"
!define HELP_PAGE_EN "Ventalune.html"
!define HELP_PAGE_JA "Ventalune-ja.html"

LangString SettingsEntry ${LANG_ENGLISH} "${SETTINGS_ENTRY_EN}"
LangString SettingsEntry ${LANG_JAPANESE} "${SETTINGS_ENTRY_JA}"
LangString HelpEntry ${LANG_ENGLISH} "${HELP_ENTRY_EN}"
LangString HelpEntry ${LANG_JAPANESE} "${HELP_ENTRY_JA}"
LangString HelpPage ${LANG_ENGLISH} "${HELP_PAGE_EN}"
LangString HelpPage ${LANG_JAPANESE} "${HELP_PAGE_JA}"

LangString SettingsEntryDescription ${LANG_ENGLISH} "Choose the picture and the music of the Ventalune screen saver"
LangString SettingsEntryDescription ${LANG_JAPANESE} "Ventalune スクリーン セーバーの画像と音楽を選びます"

LangString LicenceTitle ${LANG_ENGLISH} "Licence and screen saver"
LangString LicenceTitle ${LANG_JAPANESE} "使用許諾とスクリーン セーバー"
LangString LicenceSubtitle ${LANG_ENGLISH} "Please read the licence of ${PRODUCT} ${VERSION}."
LangString LicenceSubtitle ${LANG_JAPANESE} "${PRODUCT} ${VERSION} の使用許諾をお読みください。"
LangString UseAsSaver ${LANG_ENGLISH} "&Use Ventalune as my screen saver"
LangString UseAsSaver ${LANG_JAPANESE} "Ventalune をスクリーン セーバーとして使う(&U)"
LangString ShowHelp ${LANG_ENGLISH} "&Show the Ventalune help page"
LangString ShowHelp ${LANG_JAPANESE} "Ventalune のヘルプ ページを表示する(&S)"

LangString FolderOthersMayChange ${LANG_ENGLISH} \
  "${PRODUCT} installs only into your own folders, which no other account can change: $INSTDIR is not one of them. Please choose a folder inside $PROFILE."
LangString FolderOthersMayChange ${LANG_JAPANESE} \
  "${PRODUCT} は、ほかのアカウントが変更できないご自分のフォルダーにだけインストールできます。$INSTDIR はそのようなフォルダーではありません。$PROFILE の中のフォルダーを選んでください。"
LangString FolderHoldsOthers ${LANG_ENGLISH} \
  "$INSTDIR and the ${PRODUCT} folder in it hold files of their own. Please choose an empty folder."
LangString FolderHoldsOthers ${LANG_JAPANESE} \
  "$INSTDIR とその中の ${PRODUCT} フォルダーには、ほかのファイルがあります。空のフォルダーを選んでください。"
LangString NoSaverPath ${LANG_ENGLISH} \
  "${PRODUCT} is installed, but Windows cannot start it as your screen saver from $INSTDIR: the path holds blanks and this drive keeps no short names. Install it into a folder without blanks to use it as your screen saver."
LangString NoSaverPath ${LANG_JAPANESE} \
  "${PRODUCT} はインストールされましたが、Windows は $INSTDIR からスクリーン セーバーとして起動できません。パスに空白が含まれ、このドライブは短い名前を記録しないためです。スクリーン セーバーとして使うには、空白のないフォルダーにインストールしてください。"
