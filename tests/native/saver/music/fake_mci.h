#pragma once
// Scripted stand-ins for the platform's MCI devices and sound output. They
// keep the state a real device would (open or not, mode, current track) and
// answer with the codes the platform uses, so the tests can play a whole run.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "saver/music/music_ports.h"

namespace ventalune::music::testing {

// MCI error codes as the platform numbers them.
inline constexpr uint32_t kNotOpen = 263;         // alias or device never opened
inline constexpr uint32_t kCannotLoadDriver = 266;  // open cdaudio without a drive
inline constexpr uint32_t kFileNotFound = 275;
inline constexpr uint32_t kNotReady = 276;          // drive without a disc
inline constexpr uint32_t kOutOfRange = 282;        // track the disc does not have
inline constexpr uint32_t kUnknownCommand = 261;

inline bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

// An audio CD drive addressed as "cdaudio".
class FakeCdDrive final : public MciPort {
 public:
  bool hasDrive = true;
  bool hasDisc = true;
  int tracks = 10;
  std::string currentTrack = "1";  // the reply, so a test can make it odd
  std::string mode = "stopped";
  bool open = false;
  bool timeFormatTmsf = false;
  std::vector<std::string> sent;

  MciAnswer Send(const std::string& command, std::size_t) override {
    sent.push_back(command);
    if (command == "open cdaudio") {
      if (!hasDrive) return {kCannotLoadDriver, ""};
      open = true;
      return {};
    }
    if (!open) return {kNotOpen, ""};
    if (command == "set cdaudio time format tmsf") {
      timeFormatTmsf = true;
      return {};
    }
    if (command == "close cdaudio") {
      open = false;
      return {};
    }
    if (command == "status cdaudio mode") return {0, hasDisc ? mode : "open"};
    if (!hasDisc) return {kNotReady, ""};
    if (command == "stop cdaudio") {
      mode = "stopped";
      return {};
    }
    if (command == "status cdaudio current track") return {0, currentTrack};
    if (command == "status cdaudio number of tracks") return {0, std::to_string(tracks)};
    const std::string position = "status cdaudio position track ";
    if (StartsWith(command, position)) {
      const int track = std::atoi(command.c_str() + position.size());
      if (track < 1 || track > tracks) return {kOutOfRange, ""};
      return {0, timeFormatTmsf ? Tmsf(track) : "123456"};
    }
    if (command == "play cdaudio") {
      mode = "playing";
      return {};
    }
    if (StartsWith(command, "play cdaudio from ")) {
      const std::string from = command.substr(18);
      for (int track = 1; track <= tracks; ++track) {
        if (from == Tmsf(track)) {
          currentTrack = std::to_string(track);
          mode = "playing";
          return {};
        }
      }
      return {kOutOfRange, ""};
    }
    return {kUnknownCommand, ""};
  }

  std::optional<std::string> ErrorText(uint32_t code, std::size_t) override {
    return "MCI error " + std::to_string(code);
  }

  static std::string Tmsf(int track) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:00:00:00", track);
    return text;
  }
};

// The MPEG video device playing files under the alias "MP3Play".
class FakeMp3Device final : public MciPort {
 public:
  std::set<std::string> playable;
  bool open = false;
  std::string mode;
  std::vector<std::string> sent;

  MciAnswer Send(const std::string& command, std::size_t) override {
    sent.push_back(command);
    const std::string before = "open \"";
    const std::string after = "\" type MPEGVideo Alias MP3Play";
    if (StartsWith(command, before) && command.size() >= before.size() + after.size() &&
        command.compare(command.size() - after.size(), after.size(), after) == 0) {
      const std::string path = command.substr(before.size(), command.size() - before.size() - after.size());
      if (playable.count(path) == 0) return {kFileNotFound, ""};
      open = true;
      mode = "stopped";
      return {};
    }
    if (!open) return {kNotOpen, ""};
    if (command == "status MP3Play mode") return {0, mode};
    if (command == "play MP3Play" || command == "play MP3Play from 0") {
      mode = "playing";
      return {};
    }
    if (command == "stop MP3Play") {
      mode = "stopped";
      return {};
    }
    if (command == "close MP3Play") {
      open = false;
      return {};
    }
    return {kUnknownCommand, ""};
  }

  std::optional<std::string> ErrorText(uint32_t, std::size_t) override { return std::nullopt; }
};

// One canned answer for whatever is sent.
class ScriptedMci final : public MciPort {
 public:
  MciAnswer answer;
  std::optional<std::string> errorText;
  std::vector<std::string> sent;

  MciAnswer Send(const std::string& command, std::size_t) override {
    sent.push_back(command);
    return answer;
  }
  std::optional<std::string> ErrorText(uint32_t, std::size_t) override { return errorText; }
};

class FakeSound final : public SoundPort {
 public:
  int32_t devices = 2;
  std::vector<std::pair<std::optional<std::string>, uint32_t>> plays;

  int32_t WaveOutDeviceCount() override { return devices; }
  void Play(const std::optional<std::string>& name, uint32_t flags) override { plays.emplace_back(name, flags); }
};

}  // namespace ventalune::music::testing
