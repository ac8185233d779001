#include "saver/music/winmm_port.h"

#include <windows.h>
#include <mmsystem.h>

#include <vector>

namespace ventalune::music {

MciAnswer WinmmMci::Send(const std::string& command, std::size_t replyCapacity) {
  std::vector<char> buffer(replyCapacity, '\0');
  MciAnswer answer;
  answer.code = mciSendStringA(command.c_str(), buffer.empty() ? nullptr : buffer.data(),
                               static_cast<UINT>(buffer.size()), nullptr);
  answer.reply.assign(buffer.begin(), buffer.end());
  return answer;
}

std::optional<std::string> WinmmMci::ErrorText(uint32_t code, std::size_t capacity) {
  std::vector<char> buffer(capacity, '\0');
  if (buffer.empty() || !mciGetErrorStringA(code, buffer.data(), static_cast<UINT>(buffer.size()))) {
    return std::nullopt;
  }
  // Whatever the platform wrote, the text ends inside the buffer.
  buffer.back() = '\0';
  return std::string(buffer.data());
}

int32_t WinmmSound::WaveOutDeviceCount() { return static_cast<int32_t>(waveOutGetNumDevs()); }

void WinmmSound::Play(const std::optional<std::string>& name, uint32_t flags) {
  PlaySoundA(name ? name->c_str() : nullptr, nullptr, flags);
}

}  // namespace ventalune::music
