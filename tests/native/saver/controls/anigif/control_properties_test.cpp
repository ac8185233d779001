// What a property write lets through and whether it is announced, and the
// check that tells a finished download that is a GIF from one that is not,
// before the host hears of it.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "row_name.h"
#include "saver/controls/anigif/control_properties.h"

namespace ventalune::anigif {
namespace {

struct WriteCase {
  std::string name;
  const char* (*write)(ControlProperties&, int64_t);
  int64_t value;
  ControlProperties expected;
  const char* notice;  // null: no notice
};

const char* MirrorEmpty(ControlProperties& p, int64_t v) { return WriteMirror(p, v, false); }
const char* MirrorLoaded(ControlProperties& p, int64_t v) { return WriteMirror(p, v, true); }

ControlProperties With(int32_t delay, int32_t stretch, int32_t mode, int32_t mirror) {
  return ControlProperties{delay, stretch, mode, mirror};
}

class PropertyWriteTest : public testing::TestWithParam<WriteCase> {};

// Every write starts from the defaults: delay 50, stretch 1, delay mode 1, no mirror.
TEST_P(PropertyWriteTest, StoresWhatTheRuleLetsThroughAndAnnouncesChanges) {
  const WriteCase& row = GetParam();
  ControlProperties properties;
  const char* notice = row.write(properties, row.value);
  EXPECT_EQ(properties.minFrameDelay, row.expected.minFrameDelay);
  EXPECT_EQ(properties.stretch, row.expected.stretch);
  EXPECT_EQ(properties.delayMode, row.expected.delayMode);
  EXPECT_EQ(properties.mirror, row.expected.mirror);
  EXPECT_EQ(std::string(notice ? notice : "(none)"), std::string(row.notice ? row.notice : "(none)"));
}

INSTANTIATE_TEST_SUITE_P(
    Writes, PropertyWriteTest,
    testing::Values(WriteCase{"DelayBelowFloorIsTen", WriteMinFrameDelay, 5, With(10, 1, 1, 0), "Delay"},
                    WriteCase{"DelayAboveCeilingIs32700", WriteMinFrameDelay, 40000, With(32700, 1, 1, 0), "Delay"},
                    WriteCase{"DelayNegativeIsTen", WriteMinFrameDelay, -7, With(10, 1, 1, 0), "Delay"},
                    WriteCase{"DelayUnchangedIsNotAnnounced", WriteMinFrameDelay, 50, With(50, 1, 1, 0), nullptr},
                    WriteCase{"StretchInRange", WriteStretch, 4, With(50, 4, 1, 0), "Stretch"},
                    WriteCase{"StretchAboveRangeIgnored", WriteStretch, 5, With(50, 1, 1, 0), nullptr},
                    WriteCase{"StretchNegativeIgnored", WriteStretch, -1, With(50, 1, 1, 0), nullptr},
                    WriteCase{"StretchSameIgnored", WriteStretch, 1, With(50, 1, 1, 0), nullptr},
                    WriteCase{"DelayModeInRange", WriteDelayAnimation, 3, With(50, 1, 3, 0), "DelayAnimation"},
                    WriteCase{"DelayModeAboveRangeIgnored", WriteDelayAnimation, 4, With(50, 1, 1, 0), nullptr},
                    WriteCase{"DelayModeSameIgnored", WriteDelayAnimation, 1, With(50, 1, 1, 0), nullptr},
                    WriteCase{"MirrorBothWays", MirrorLoaded, 3, With(50, 1, 1, 3), "Mirrored"},
                    WriteCase{"MirrorAboveRangeIgnored", MirrorLoaded, 4, With(50, 1, 1, 0), nullptr},
                    WriteCase{"MirrorSameWithFramesIgnored", MirrorLoaded, 0, With(50, 1, 1, 0), nullptr},
                    // Without frames every valid style is stored and announced.
                    WriteCase{"MirrorSameWithoutFramesAnnounced", MirrorEmpty, 0, With(50, 1, 1, 0), "Mirrored"}),
    testing_support::RowName());

struct LoopsCase {
  std::string name;
  int32_t before;
  int64_t value;
  int32_t stored;
  bool announced;
};

class LoopsWriteTest : public testing::TestWithParam<LoopsCase> {};

TEST_P(LoopsWriteTest, TakesTheAbsoluteValue) {
  const LoopsCase& row = GetParam();
  int32_t loops = row.before;
  const char* notice = WriteLoops(loops, row.value);
  EXPECT_EQ(loops, row.stored);
  EXPECT_EQ(notice != nullptr, row.announced);
}

INSTANTIATE_TEST_SUITE_P(Writes, LoopsWriteTest,
                         testing::Values(LoopsCase{"MinusThreeIsThree", 0, -3, 3, true},
                                         LoopsCase{"SameIsNotAnnounced", 3, -3, 3, false},
                                         LoopsCase{"MostNegativeIsLargest", 0, INT32_MIN, INT32_MAX, true},
                                         LoopsCase{"ZeroIsEndless", 2, 0, 0, true}),
                         testing_support::RowName());

struct HeaderCase {
  std::string name;
  std::vector<uint8_t> bytes;
  bool gif;
  int32_t width, height;
};

std::vector<uint8_t> Header(const char* signature, size_t length) {
  std::vector<uint8_t> bytes(signature, signature + 6);
  bytes.insert(bytes.end(), {0x78, 0x00, 0x32, 0x01});  // 120 × 306
  bytes.resize(length, 0);
  return bytes;
}

class RemoteDataTest : public testing::TestWithParam<HeaderCase> {};

TEST_P(RemoteDataTest, NeedsFifteenBytesAndASignature) {
  const HeaderCase& row = GetParam();
  const std::optional<gif::GifScreen> screen = RemoteGifScreen(row.bytes);
  EXPECT_EQ(screen.has_value(), row.gif);
  if (row.gif && screen) {
    EXPECT_EQ(screen->width, row.width);
    EXPECT_EQ(screen->height, row.height);
  }
}

INSTANTIATE_TEST_SUITE_P(Data, RemoteDataTest,
                         testing::Values(HeaderCase{"FifteenBytes", Header("GIF89a", 15), true, 120, 306},
                                         HeaderCase{"FourteenBytesOfGif", Header("GIF89a", 14), false, 0, 0},
                                         HeaderCase{"LowerCase87", Header("gif87a", 20), true, 120, 306},
                                         HeaderCase{"WrongVersion", Header("GIF88a", 20), false, 0, 0},
                                         HeaderCase{"NotAGif", Header("<html>", 200), false, 0, 0}),
                         testing_support::RowName());

}  // namespace
}  // namespace ventalune::anigif
