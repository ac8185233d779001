#pragma once
// Reading a whole file into memory, for the readers that judge a file by its
// bytes (pictures, GIFs). A file from outside may be of any size, so every
// caller names the most it will take.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ventalune {

// The file's bytes, or nothing when it is missing, a folder, unreadable, over
// `ceilingBytes`, or larger than memory allows. Others may go on reading,
// writing or deleting the file meanwhile: we only read.
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::wstring& path, uint64_t ceilingBytes);
// The same for a path in the system's ANSI code page.
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& ansiPath, uint64_t ceilingBytes);

}  // namespace ventalune
