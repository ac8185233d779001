#include "saver/launcher/run_plan.h"

#include <cctype>

#include "saver/settings/settings_store.h"

namespace ventalune::launcher {

MusicSource ChooseMusic(int16_t bgmKind, std::string_view bgmFile, settings::LeadByteRule isLead) {
  if (bgmKind == settings::kBgmAudioCd) return MusicSource::kAudioCd;
  if (bgmKind != settings::kBgmSoundFile) return MusicSource::kNone;
  // An ending with a two-byte character in it is longer than three bytes and
  // matches neither; its trail bytes are never upper-cased into letters.
  std::string ending(settings::LastCharacters(bgmFile, 3, isLead));
  for (char& c : ending) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (ending == "WAV") return MusicSource::kWav;
  if (ending == "MP3") return MusicSource::kMp3;
  return MusicSource::kNone;
}

std::string RendererPath(std::string_view programFolder) {
  return std::string(programFolder) + "\\Ventalune.dll";
}

bool StartScene(ProgramStartPort& programs, std::string_view programFolder) {
  const std::optional<uint32_t> processId = programs.Start(RendererPath(programFolder));
  if (!processId) return false;
  programs.AllowForeground(*processId);
  return true;
}

bool RendererWatch::RunIsOver(bool windowExists, uint32_t msSinceStart) {
  if (windowExists) {
    windowSeen_ = true;
    return false;
  }
  return windowSeen_ || msSinceStart >= kStartGraceMs;
}

bool RendererWatch::SceneHung(bool answered, uint32_t msSinceStart) {
  if (answered) {
    silentSinceMs_.reset();
    return false;
  }
  if (!silentSinceMs_) silentSinceMs_ = msSinceStart;
  return msSinceStart - *silentSinceMs_ >= kHangMs;
}

}  // namespace ventalune::launcher
