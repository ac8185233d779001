#include "saver/gif/gif_scan.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <string_view>

#include "saver/gif/gif_limits.h"

namespace ventalune::gif {
namespace {

constexpr uint8_t kExtensionIntroducer = 0x21;
constexpr uint8_t kImageIntroducer = 0x2C;
constexpr uint8_t kApplicationLabel = 0xFF;
constexpr uint8_t kGraphicControlLabel = 0xF9;
constexpr std::string_view kLoopApplication = "NETSCAPE2.0";

// Reading past the last byte ends the scan; the frames accepted so far stay.
struct EndOfData {};
// The 16-bit frame counter would overflow: same outcome.
struct TooManyFrames {};
// An image with neither a global nor a local colour table fails the whole file.
struct NoColourTable {};

class Scanner {
 public:
  Scanner(std::span<const uint8_t> file, GifScan& scan) : file_(file), scan_(scan) {}

  void Run() {
    if (!ReadGifHeader(file_)) return;
    cursor_ = 10;
    const uint8_t screenPacked = Byte();
    cursor_ = 13;  // background colour index and aspect ratio are not used
    if (screenPacked & 0x80) {
      ReadColourTable(0, (screenPacked & 7) + 1);
      scan_.hasGlobalTable = true;
    }
    for (;;) {
      const uint8_t introducer = Byte();
      if (introducer == 0x00) continue;  // stray padding between blocks
      if (introducer == kExtensionIntroducer) {
        Extension();
      } else if (introducer == kImageIntroducer) {
        Image();
      } else {
        return;  // the trailer, or anything we do not know, ends the file
      }
    }
  }

 private:
  uint8_t Byte() {
    if (cursor_ >= Size()) throw EndOfData{};
    return file_[static_cast<size_t>(cursor_++)];
  }

  int32_t Word() {
    if (cursor_ + 1 >= Size()) throw EndOfData{};
    const int32_t value = file_[static_cast<size_t>(cursor_)] | (file_[static_cast<size_t>(cursor_ + 1)] << 8);
    cursor_ += 2;
    return value;
  }

  // Sub-blocks are skipped without checking the end: a cut-off block leaves
  // the cursor past the end, and the next read ends the scan.
  void SkipSubBlocks() {
    while (cursor_ < Size()) {
      const uint8_t size = file_[static_cast<size_t>(cursor_)];
      if (size == 0) break;
      cursor_ += size + 1;
    }
    cursor_ += 1;
  }

  void ReadColourTable(int32_t palette, int32_t sizeCode) {
    if (static_cast<size_t>(palette) >= scan_.palettes.size()) scan_.palettes.resize(static_cast<size_t>(palette) + 1, Palette{});
    const int64_t count = int64_t{1} << sizeCode;
    if (cursor_ + 3 * count > Size()) throw EndOfData{};
    Palette& entries = scan_.palettes[static_cast<size_t>(palette)];
    for (int64_t i = 0; i < count; ++i) {
      const size_t at = static_cast<size_t>(cursor_);
      entries[static_cast<size_t>(i)] = MakeColour(file_[at], file_[at + 1], file_[at + 2]);
      cursor_ += 3;
    }
  }

  void Extension() {
    const int64_t start = cursor_ - 1;  // the 0x21
    const uint8_t label = Byte();
    if (label == kApplicationLabel) {
      ApplicationExtension();
    } else if (label == kGraphicControlLabel) {
      GraphicControl(start);
    }
    SkipSubBlocks();
  }

  void ApplicationExtension() {
    const uint8_t size = Byte();
    if (cursor_ + size > Size()) return;  // too short to hold a name: skipped as data
    std::string name;
    for (int32_t i = 0; i < size; ++i) name.push_back(static_cast<char>(std::toupper(file_[static_cast<size_t>(cursor_ + i)])));
    cursor_ += size;
    if (name != kLoopApplication) return;
    // Only a three-byte first sub-block carries the loop count (its first
    // byte is the sub-block id, which is not checked).
    if (Byte() == 3) {
      cursor_ += 1;
      scan_.loopCount = Word();
    } else {
      cursor_ -= 1;
    }
  }

  void GraphicControl(int64_t start) {
    pending_ = FrameRecord{};
    Byte();  // block size: the layout is taken as fixed
    const uint8_t packed = Byte();
    // Only bits 2 and 3 count, so values 4 to 7 fold onto 0 to 3; restoring
    // "the previous picture" before any picture exists means nothing.
    pending_.disposal = static_cast<Disposal>((packed >> 2) & 3);
    if (pending_.disposal == Disposal::kRestorePrevious && accepted_ == 0) pending_.disposal = Disposal::kUnspecified;
    pending_.delayMs = Word() * 10;
    pending_.transparent = (packed & 1) != 0;
    if (pending_.transparent) {
      pending_.transparentIndex = Byte();
    } else {
      cursor_ = start + 7;
    }
  }

  void Image() {
    if (accepted_ >= kMaxFrames) throw TooManyFrames{};
    const int64_t start = cursor_ - 1;
    FrameRecord frame = pending_;
    pending_ = FrameRecord{};
    frame.left = Word();
    frame.top = Word();
    frame.width = Word();
    frame.height = Word();
    const uint8_t packed = Byte();
    if (packed & 0x80) {
      ++localPalettes_;
      frame.palette = localPalettes_;
      ReadColourTable(localPalettes_, (packed & 7) + 1);
    } else if (!scan_.hasGlobalTable) {
      throw NoColourTable{};
    }
    Byte();  // LZW minimum code size: the frame decoder reads it
    SkipSubBlocks();
    const int64_t length = cursor_ - start;
    if (length <= 2) return;  // nothing that could hold an image
    ++accepted_;
    scan_.frames.push_back(frame);
    scan_.positions.push_back(FramePosition{start, length});
    scan_.logicalWidth = std::max(scan_.logicalWidth, frame.left + frame.width);
    scan_.logicalHeight = std::max(scan_.logicalHeight, frame.top + frame.height);
  }

  int64_t Size() const { return static_cast<int64_t>(file_.size()); }

  std::span<const uint8_t> file_;
  GifScan& scan_;
  int64_t cursor_ = 0;
  int32_t accepted_ = 0;
  int32_t localPalettes_ = 0;
  FrameRecord pending_{};
};

}  // namespace

std::optional<GifScreen> ReadGifHeader(std::span<const uint8_t> file) {
  constexpr size_t kHeaderBytes = 10;  // signature, width, height
  if (file.size() < kHeaderBytes) return std::nullopt;
  std::array<char, 6> text{};
  for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>(std::tolower(file[i]));
  const std::string_view signature(text.data(), text.size());
  if (signature != "gif89a" && signature != "gif87a") return std::nullopt;
  return GifScreen{file[6] | (file[7] << 8), file[8] | (file[9] << 8)};
}

GifScan ScanGif(std::span<const uint8_t> file) {
  GifScan scan;
  Scanner scanner(file, scan);
  try {
    scanner.Run();
  } catch (const EndOfData&) {
  } catch (const TooManyFrames&) {
  } catch (const NoColourTable&) {
    return GifScan{};
  }
  if (scan.palettes.empty()) scan.palettes.resize(1, Palette{});
  return scan;
}

}  // namespace ventalune::gif
