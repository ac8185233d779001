#pragma once
// Everything the settings dialog shows, in one place, in Japanese and in
// English: UTF-8 for labels and captions (the toolkit draws them through
// the wide API), wide for the window, the file chooser and messages.
#include "ventalune_version.h"

namespace ventalune::dialog {

inline constexpr wchar_t kDialogClass[] = L"Nubivola_P";
// Start-up refuses a second start while a window of exactly this title exists.
inline constexpr wchar_t kDialogTitle[] = L"<Ventalune>";

// Labels and buttons: the Japanese UI face, 9.75 points, Shift-JIS set.
inline constexpr char kDialogFace[] = "ＭＳ Ｐゴシック";
// Where that face is missing, the closest proportional Japanese face there
// is, in this order; if none of them is there either, the font mapper picks
// one of the Shift-JIS set.
inline constexpr const char* kDialogFaceStandIns[] = {"MS PGothic", "MS UI Gothic", "Meiryo UI", "Yu Gothic UI",
                                                      "IPAPGothic", "Noto Sans CJK JP", "VL PGothic"};
inline constexpr int kDialogFontHundredths = 975;
inline constexpr unsigned char kShiftJisCharset = 128;
// The repeat box keeps the toolkit's default face.
inline constexpr char kDefaultFace[] = "MS Sans Serif";
inline constexpr int kDefaultFontHundredths = 825;

// Every text a person reads, in the user's language: UTF-8 for labels and
// captions, wide for the file chooser and messages.
struct DialogTexts {
  const char* pictureFrameTitle;
  const char* desktopCaption;
  const char* pictureFileCaption;
  const char* musicFrameTitle;
  const char* audioCdCaption;
  const char* repeatCaption;
  const char* noMusicCaption;
  const char* soundFileCaption;
  const char* monitorsFrameTitle;
  const char* everyMonitorCaption;
  const char* mainMonitorCaption;
  const char* saveCaption;
  const char* cancelCaption;
  const wchar_t* chooserTitle;
  const wchar_t* pictureFilterDescription;
  const wchar_t* soundFilterDescription;
  // Why a chosen file was not taken.
  const wchar_t* pathTooLong;
  const wchar_t* pathNotInCodePage;
  // The settings file stayed locked or could not be written.
  const wchar_t* saveFailed;
  // The settings file stayed locked or could not be read: the dialog does
  // not open, so nothing is saved over the choices in it.
  const wchar_t* loadFailed;
  // What a screen reader calls the banner, which shows no text of its own.
  const wchar_t* bannerName;
  // The help page beside the programs that the banner opens when no
  // homepage was set at build time: the one in the dialog's language.
  const wchar_t* helpPage;
};

// On Japanese Windows: the dialog as it has always been, and the monitors
// group beside it.
inline constexpr DialogTexts kJapaneseTexts{
    "画像の選択", "ｶﾚﾝﾄ・ﾃﾞｽｸﾄｯﾌﾟ", "画像ﾌｧｲﾙを指定", "BGM", "音楽CD", "曲目をﾘﾋﾟｰﾄ", "無し", "MP3、WAV",
    "表示するモニタ", "すべてのモニタ", "メインモニタのみ", "設定", "ｷｬﾝｾﾙ",
    L"ﾌｧｲﾙを開く", L"画像ﾌｧｲﾙ (BMP JPG PNG)", L"BGMﾌｧｲﾙ (MP3 WAV)",
    L"このﾌｧｲﾙのﾊﾟｽは長すぎるため、設定に保存できません。短いﾊﾟｽの場所から選んでください。",
    L"このﾌｧｲﾙのﾊﾟｽには、このｼｽﾃﾑで保存できない文字が含まれています。別の場所から選んでください。",
    L"設定ﾌｧｲﾙに書き込めませんでした。他のﾌﾟﾛｸﾞﾗﾑが使用中の可能性があります。しばらくしてからもう一度保存してください。",
    L"設定ﾌｧｲﾙを読み込めませんでした。他のﾌﾟﾛｸﾞﾗﾑが使用中の可能性があります。設定はそのまま残っています。しばらくしてからもう一度開いてください。",
    L"Ventalune ﾍﾙﾌﾟ", L"\\Ventalune-ja.html"};

// Everywhere else.
inline constexpr DialogTexts kEnglishTexts{
    "Picture", "Current desktop", "Picture file", "Music", "Audio CD", "Repeat track", "None", "MP3, WAV", "Show on",
    "Every monitor", "Main monitor only", "Save", "Cancel", L"Open", L"Pictures (BMP, JPG, PNG)", L"Music (MP3, WAV)",
    L"The path of this file is too long to be kept in the settings. Please choose it from a folder with a shorter path.",
    L"The path of this file holds characters this system cannot keep in the settings. Please choose it from another "
    L"folder.",
    L"The settings file could not be written; another program may be using it. Please save again in a moment.",
    L"The settings file could not be read; another program may be using it. Your settings are kept as they are. "
    L"Please open the settings again in a moment.",
    L"Ventalune help", L"\\Ventalune.html"};

inline constexpr char kChooseCaption[] = "...";
inline constexpr char kCreditPrefix[] = "Ventalune Ver.";
// The English texts take the system's UI face at this size, which fits the
// same rectangles.
inline constexpr int kEnglishFontHundredths = 900;

// No dot before JPG: names that merely end in JPG (photoJPG) are listed too.
inline constexpr wchar_t kPicturePattern[] = L"*.BMP;*JPG;*.PNG";
inline constexpr wchar_t kSoundPattern[] = L"*.MP3;*.WAV";

}  // namespace ventalune::dialog
