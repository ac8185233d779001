#pragma once
// The platform's multimedia services as the music player uses them, so the
// sequencing can run against a scripted device in tests.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace ventalune::music {

struct MciAnswer {
  uint32_t code = 0;  // 0 on success, else the platform's error code
  std::string reply;  // what the platform left in the reply buffer
};

// mciSendStringA and mciGetErrorStringA.
class MciPort {
 public:
  virtual ~MciPort() = default;
  // Sends one command string with a reply buffer of `replyCapacity` bytes
  // (0: no buffer), without a callback window. The reply is the buffer's
  // content; the caller takes the text up to the first NUL.
  virtual MciAnswer Send(const std::string& command, std::size_t replyCapacity) = 0;
  // The platform's text for an error code, at most `capacity` bytes with its
  // NUL; nothing when the platform has no text for it.
  virtual std::optional<std::string> ErrorText(uint32_t code, std::size_t capacity) = 0;
};

// PlaySoundA and waveOutGetNumDevs.
class SoundPort {
 public:
  virtual ~SoundPort() = default;
  virtual int32_t WaveOutDeviceCount() = 0;
  // PlaySoundA without a module; no name at all stops the sound that is playing.
  virtual void Play(const std::optional<std::string>& name, uint32_t flags) = 0;
};

}  // namespace ventalune::music
