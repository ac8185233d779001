#pragma once
// The music player's ports on the Windows multimedia library.
#include "saver/music/music_ports.h"

namespace ventalune::music {

// mciSendStringA / mciGetErrorStringA, without a callback window.
class WinmmMci final : public MciPort {
 public:
  MciAnswer Send(const std::string& command, std::size_t replyCapacity) override;
  std::optional<std::string> ErrorText(uint32_t code, std::size_t capacity) override;
};

// PlaySoundA / waveOutGetNumDevs.
class WinmmSound final : public SoundPort {
 public:
  int32_t WaveOutDeviceCount() override;
  void Play(const std::optional<std::string>& name, uint32_t flags) override;
};

}  // namespace ventalune::music
