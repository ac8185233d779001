#pragma once
// A guard in front of the platform's picture loader: some loaders accept a
// Windows bitmap whose pixel data is cut short and read on past the end of
// the file, showing whatever memory follows. We refuse such files instead.
#include <cstdint>
#include <span>

namespace ventalune {

// Bytes of the file's start that the check needs (file and info headers).
inline constexpr std::size_t kBitmapHeaderBytes = 54;

// `head` is the start of a file of `fileSize` bytes. True for anything that
// is not a Windows bitmap (the loader judges those), and for a bitmap whose
// headers are whole and whose pixel data fits in the file.
bool BitmapFileIsWhole(std::span<const uint8_t> head, uint64_t fileSize);

}  // namespace ventalune
