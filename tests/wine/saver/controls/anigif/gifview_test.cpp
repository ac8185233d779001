// gifview under Wine: what the control puts on screen, frame by frame, and
// when, recorded with --capture.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "gifview_runner.h"
#include "sample_gifs.h"

namespace ventalune::wine_test {
namespace {

using namespace std::chrono_literals;

constexpr Rgb kHostColour{0x30, 0x90, 0xC0};
const std::string kHostArgument = "--background 3090C0";

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

bool SameColour(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

// Frames, in order, from the first shot of each change of frame.
std::vector<Shot> FrameChanges(const GifviewRun& run) {
  std::vector<Shot> changes;
  for (const Shot& shot : run.shots)
    if (shot.frame > 0 && (changes.empty() || changes.back().frame != shot.frame)) changes.push_back(shot);
  return changes;
}

class ComposedPixelsTest : public testing::TestWithParam<SampleGif> {};

// Every shot shows its frame as the engine composes it: the frame's colours
// where it is opaque, the host's colour where the background shows.
TEST_P(ComposedPixelsTest, EveryShotMatchesTheEnginesComposition) {
  const SampleGif& gif = GetParam();
  const auto composed = ComposeFrames(gif.bytes);
  ASSERT_FALSE(composed.empty());
  const GifviewRun run = RunGifview("--stretch 4 --loops 1 --exit-after 3000 " + kHostArgument + " " +
                                        Quoted(WriteTempGif(gif)), true, 20s);
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(run.Count("LoopsEnded"), composed.size() > 1 ? 1 : 0);
  std::vector<bool> seen(composed.size(), false);
  for (const Shot& shot : run.shots) {
    if (shot.frame == 0) continue;
    ASSERT_LE(static_cast<size_t>(shot.frame), composed.size());
    const gif::Surface& expected = composed[static_cast<size_t>(shot.frame - 1)];
    const BitmapPicture picture = run.Picture(shot);
    // The first shot comes before the control takes the picture's size:
    // the picture then sits at the top left, the host's colour round it.
    ASSERT_GE(picture.width, expected.width) << "shot " << shot.number;
    ASSERT_GE(picture.height, expected.height) << "shot " << shot.number;
    int wrong = 0;
    for (int y = 0; y < picture.height; ++y)
      for (int x = 0; x < picture.width; ++x) {
        Rgb want = kHostColour;
        if (x < expected.width && y < expected.height && !expected.background[expected.At(x, y)]) {
          const gif::Colour c = expected.colour[expected.At(x, y)];
          want = Rgb{gif::RedOf(c), gif::GreenOf(c), gif::BlueOf(c)};
        }
        wrong += !SameColour(picture.at(x, y), want);
      }
    EXPECT_EQ(wrong, 0) << "shot " << shot.number << " of frame " << shot.frame;
    seen[static_cast<size_t>(shot.frame - 1)] = true;
  }
  for (size_t i = 0; i < seen.size(); ++i) EXPECT_TRUE(seen[i]) << "frame " << i + 1 << " never shown";
}

INSTANTIATE_TEST_SUITE_P(Gifs, ComposedPixelsTest,
                         testing::Values(DisposalsGif(), LocalPalettesGif(), OutsideTheCanvasGif(),
                                         TransparentStillGif()),
                         [](const testing::TestParamInfo<SampleGif>& row) {
                           std::string name;
                           for (char c : row.param.name) if (c != '-') name += c;
                           return name;
                         });

// Frame delays of 0 and 20 ms play at the 50 ms minimum, 500 ms as is. The
// bounds allow for the timer's resolution and a busy machine; they check
// that no frame is cut short of its time.
TEST(GifviewTimingTest, FramesChangeOnTheirDelaysAtLeastTheMinimum) {
  const GifviewRun run = RunGifview("--delay-mode 0 --loops 1 --exit-after 3000 " +
                                        Quoted(WriteTempGif(DelaysGif({0, 2, 50, 10}))), true, 20s);
  ASSERT_TRUE(run.finished);
  const std::vector<Shot> changes = FrameChanges(run);
  ASSERT_EQ(changes.size(), 5u);  // 1, 2, 3, 4, 1
  const long long expected[] = {50, 50, 500, 100};
  for (size_t i = 0; i < 4; ++i) {
    const long long shown = changes[i + 1].atMs - changes[i].atMs;
    EXPECT_GE(shown, expected[i] - 16) << "frame " << changes[i].frame;
    EXPECT_LE(shown, expected[i] + 250) << "frame " << changes[i].frame;
  }
}

TEST(GifviewTimingTest, TwoLoopsPlayTwoCyclesAndStopOnFrameOne) {
  const GifviewRun run = RunGifview("--delay-mode 0 --exit-after 2500 " +
                                        Quoted(WriteTempGif(DelaysGif({5, 5, 5}, 2))), true, 20s);
  ASSERT_TRUE(run.finished);
  std::vector<int> frames;
  for (const Shot& change : FrameChanges(run)) frames.push_back(change.frame);
  EXPECT_EQ(frames, (std::vector<int>{1, 2, 3, 1, 2, 3, 1}));
  EXPECT_EQ(run.Count("LoopsEnded"), 1);
}

TEST(GifviewTimingTest, LoopsOptionOverridesTheFilesCount) {
  const GifviewRun run = RunGifview("--delay-mode 0 --loops 1 --exit-after 2000 " +
                                        Quoted(WriteTempGif(DelaysGif({5, 5}, 3))), true, 20s);
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(FrameChanges(run).size(), 3u);  // 1, 2, 1
  EXPECT_EQ(run.Count("LoopsEnded"), 1);
}

struct StretchCase {
  std::string name;
  int mode;
  std::string hostSize;
  int width, height;  // the control's
  int shown;          // pixels the picture covers at most
};
void PrintTo(const StretchCase& row, std::ostream* out) { *out << row.name; }

class GifviewStretchTest : public testing::TestWithParam<StretchCase> {};

// The control's client area after the load, for a 12 × 10 picture.
TEST_P(GifviewStretchTest, ControlTakesTheModesSize) {
  const StretchCase& row = GetParam();
  const GifviewRun run = RunGifview("--stretch " + std::to_string(row.mode) + " --size " + row.hostSize +
                                        " --delay-mode 2 --exit-after 700 " + Quoted(WriteTempGif(DisposalsGif())),
                                    true, 20s);
  ASSERT_TRUE(run.finished);
  ASSERT_FALSE(run.shots.empty());
  const BitmapPicture last = run.Picture(run.shots.back());
  EXPECT_EQ(last.width, row.width);
  EXPECT_EQ(last.height, row.height);
  // And the picture is in it, not only the host's grey.
  int pictured = 0;
  for (const Rgb& pixel : last.pixels) pictured += !SameColour(pixel, Rgb{0xC0, 0xC0, 0xC0});
  EXPECT_GT(pictured, row.shown / 10);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, GifviewStretchTest,
    // Natural size is not adopted after a load, only cut to the space.
    testing::Values(StretchCase{"NaturalClippedInLargeHost", 0, "300x100", 300, 100, 12 * 10},
                    StretchCase{"NaturalClippedInSmallHost", 0, "8x6", 8, 6, 8 * 6},
                    StretchCase{"ProportionalEnlarges", 1, "300x100", 120, 100, 120 * 100},
                    StretchCase{"ProportionalShrinks", 1, "6x20", 6, 5, 6 * 5},
                    StretchCase{"FillKeepsTheHostsSize", 2, "300x100", 300, 100, 300 * 100},
                    StretchCase{"NoEnlargeKeepsNaturalSize", 3, "300x100", 12, 10, 12 * 10},
                    StretchCase{"NoEnlargeStillShrinks", 3, "6x20", 6, 5, 6 * 5},
                    StretchCase{"AdoptedNaturalSize", 4, "300x100", 12, 10, 12 * 10}),
    [](const testing::TestParamInfo<StretchCase>& row) { return row.param.name; });

// Mirrored shots are the plain shots flipped, frame for frame.
TEST(GifviewMirrorTest, MirroringFlipsTheCapturedPixels) {
  const std::string gif = Quoted(WriteTempGif(LocalPalettesGif()));
  const std::string common = "--stretch 4 --delay-mode 2 --exit-after 700 " + kHostArgument + " ";
  const GifviewRun plain = RunGifview(common + gif, true, 20s);
  for (int style = 1; style <= 3; ++style) {
    const GifviewRun mirrored = RunGifview(common + "--mirror " + std::to_string(style) + " " + gif, true, 20s);
    ASSERT_TRUE(plain.finished && mirrored.finished);
    ASSERT_FALSE(plain.shots.empty());
    ASSERT_FALSE(mirrored.shots.empty());
    const BitmapPicture a = plain.Picture(plain.shots.back());
    const BitmapPicture b = mirrored.Picture(mirrored.shots.back());
    ASSERT_EQ(a.width, b.width);
    ASSERT_EQ(a.height, b.height);
    int wrong = 0;
    for (int y = 0; y < a.height; ++y)
      for (int x = 0; x < a.width; ++x) {
        const int mx = (style & 1) ? a.width - 1 - x : x;
        const int my = (style & 2) ? a.height - 1 - y : y;
        wrong += !SameColour(a.at(x, y), b.at(mx, my));
      }
    EXPECT_EQ(wrong, 0) << "mirror style " << style;
  }
}

struct BadRunCase {
  std::string name;
  std::string arguments;
  DWORD exitCode;
  std::string says;  // part of the first line
};

void PrintTo(const BadRunCase& row, std::ostream* out) { *out << row.name; }

class GifviewBadInputTest : public testing::TestWithParam<BadRunCase> {};

TEST_P(GifviewBadInputTest, EndsWithItsCodeAndSaysWhy) {
  const BadRunCase& row = GetParam();
  std::string arguments = row.arguments;
  const size_t at = arguments.find("NOT_A_GIF");
  if (at != std::string::npos) {
    SampleGif text{"text", std::vector<uint8_t>{'h', 'e', 'l', 'l', 'o', '\n'}};
    arguments.replace(at, 9, Quoted(WriteTempGif(text)));
  }
  const GifviewRun run = RunGifview(arguments, false, 20s);
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, row.exitCode);
  ASSERT_FALSE(run.lines.empty());
  EXPECT_NE(run.lines.front().find(row.says), std::string::npos) << run.lines.front();
}

INSTANTIATE_TEST_SUITE_P(Runs, GifviewBadInputTest,
                         testing::Values(BadRunCase{"NoArguments", "", 2, "usage"},
                                         BadRunCase{"BadStretch", "--stretch 9 a.gif", 2, "usage"},
                                         BadRunCase{"NotAGif", "NOT_A_GIF", 1, "is not a GIF"},
                                         BadRunCase{"MissingFile", "C:\\no\\such.gif", 1, "cannot read"}),
                         [](const testing::TestParamInfo<BadRunCase>& row) { return row.param.name; });

}  // namespace
}  // namespace ventalune::wine_test
