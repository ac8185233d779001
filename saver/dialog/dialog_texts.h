#pragma once
// Everything the settings dialog shows, in one place: UTF-8 for labels and
// captions (the toolkit draws them through the wide API), wide for the
// window and the file chooser.
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

inline constexpr char kPictureFrameTitle[] = "画像の選択";
inline constexpr char kDesktopCaption[] = "ｶﾚﾝﾄ・ﾃﾞｽｸﾄｯﾌﾟ";
inline constexpr char kPictureFileCaption[] = "画像ﾌｧｲﾙを指定";
inline constexpr char kMusicFrameTitle[] = "BGM";
inline constexpr char kAudioCdCaption[] = "音楽CD";
inline constexpr char kRepeatCaption[] = "曲目をﾘﾋﾟｰﾄ";
inline constexpr char kNoMusicCaption[] = "無し";
inline constexpr char kSoundFileCaption[] = "MP3、WAV";
inline constexpr char kChooseCaption[] = "...";
inline constexpr char kSaveCaption[] = "設定";
inline constexpr char kCancelCaption[] = "ｷｬﾝｾﾙ";
inline constexpr char kCreditPrefix[] = "Ventalune Ver.";

inline constexpr wchar_t kChooserTitle[] = L"ﾌｧｲﾙを開く";
inline constexpr wchar_t kPictureFilterDescription[] = L"画像ﾌｧｲﾙ (BMP JPG)";
// No dot before JPG: names that merely end in JPG (photoJPG) are listed too.
inline constexpr wchar_t kPicturePattern[] = L"*.BMP;*JPG";
inline constexpr wchar_t kSoundFilterDescription[] = L"BGMﾌｧｲﾙ (MP3 WAV)";
inline constexpr wchar_t kSoundPattern[] = L"*.MP3;*.WAV";

// The help page beside the programs, opened by the banner when no homepage
// was set at build time.
inline constexpr wchar_t kHelpPage[] = L"\\Ventalune.html";

}  // namespace ventalune::dialog
