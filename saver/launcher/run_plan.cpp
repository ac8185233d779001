#include "saver/launcher/run_plan.h"

#include <cctype>

#include "saver/launcher/settings_store.h"

namespace ventalune::launcher {

MusicSource ChooseMusic(int16_t bgmKind, std::string_view bgmFile) {
  if (bgmKind == kBgmAudioCd) return MusicSource::kAudioCd;
  if (bgmKind != kBgmSoundFile) return MusicSource::kNone;
  std::string ending(bgmFile.substr(bgmFile.size() >= 3 ? bgmFile.size() - 3 : 0));
  for (char& c : ending) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (ending == "WAV") return MusicSource::kWav;
  if (ending == "MP3") return MusicSource::kMp3;
  return MusicSource::kNone;
}

std::string RendererPath(std::string_view programFolder) {
  return std::string(programFolder) + "\\Ventalune.dll";
}

bool RendererWatch::RunIsOver(bool windowExists, uint32_t msSinceStart) {
  if (windowExists) {
    windowSeen_ = true;
    return false;
  }
  return windowSeen_ || msSinceStart >= kStartGraceMs;
}

}  // namespace ventalune::launcher
