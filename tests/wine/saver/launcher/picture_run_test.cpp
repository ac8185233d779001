// The user's own pictures on the walls as a photo viewer shows them: photos
// turned upright by their EXIF orientation, at their own size or reduced,
// and PNGs of every kind the imaging component reads, composited on black.
// Each row is one real run of the installed saver; what is checked is the
// picture the run writes for the walls, and for a refused picture what the
// refusal cost the run.
#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/program_contract.h"
#include "saver/launcher/saver_run.h"
#include "saver/pictures/picture_reduction.h"
#include "saver/settings/settings_keys.h"
#include "support/bitmap_file.h"
#include "run_start.h"
#include "support/program_driver.h"
#include "support/screen_capture.h"

namespace ventalune::wine_test {
namespace {

constexpr char kInstallFolder[] = "C:\\Program Files\\Ventalune Pictures";

std::string Installed(const char* file) { return std::string(kInstallFolder) + "\\" + file; }
std::string TestData(const std::string& file) { return ProductFolder() + "\\..\\tests-bin\\data\\" + file; }

// The quadrants of the test pictures as a viewer shows them: top left, top
// right, bottom left, bottom right.
constexpr std::array<Rgb, 4> kViewerQuadrants{Rgb{230, 30, 30}, Rgb{30, 200, 30}, Rgb{30, 30, 230}, Rgb{230, 220, 30}};

enum class Check {
  kQuadrants,  // the corners carry kViewerQuadrants
  kReference,  // the whole picture matches a bitmap made by Pillow
  kBlank,      // refused: the walls fall back to black of the screen's size,
               // the scene as soon as always, the saver no larger for it
};

// A refused picture reaches no decoder: the run is as quick and as small as
// with any small picture.
constexpr auto kUsualTimeToScene = 15s;
constexpr uint64_t kMostBytesForARefusedPicture = uint64_t{300} << 20;

struct WallsRow {
  const char* name;
  const char* file;  // in the test data; empty for the damaged PNG the test writes
  int width, height;
  Check check;
  const char* reference = "";
};

class PictureRunTest : public testing::TestWithParam<WallsRow> {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(PrepareRun(kInstallFolder));
    DeleteFileW(RunPictures().room.c_str());
  }

  void TearDown() override {
    if (HWND scene = FindTopLevelWindow(kSceneWindowTitle)) PostMessageA(scene, WM_CLOSE, 0, 0);
    if (!saver_.WaitForExit(10s)) ADD_FAILURE() << "the saver did not end with its scene";
    DeleteFileA(Installed("Ventalune.ini").c_str());
  }

  // One run with `picture` chosen, ended once the scene shows: the walls'
  // picture as the run wrote it.
  BitmapPicture WallsOf(const std::string& picture) {
    const std::string ini = Installed("Ventalune.ini");
    using namespace settings;
    WritePrivateProfileStringA(kSettingsSection, kKeyPictureKind, "1", ini.c_str());
    WritePrivateProfileStringA(kSettingsSection, kKeyPictureFile, picture.c_str(), ini.c_str());
    WritePrivateProfileStringA(kSettingsSection, kKeyBgmKind, "0", ini.c_str());
    const auto started = std::chrono::steady_clock::now();
    if (!saver_.Start(Installed("Ventalune.scr"), "/s")) return {};
    if (!WaitForTopLevelWindow(kSceneWindowTitle, 30s)) {
      // Which of the two ended the run early tells where to look next time.
      DWORD exitCode = 0;
      const bool ended = saver_.WaitForExit(0s, &exitCode);
      ADD_FAILURE() << "no scene within 30 s; the saver " << (ended ? "ended with " : "still runs")
                    << (ended ? std::to_string(exitCode) : std::string()) << ", the walls picture "
                    << (GetFileAttributesW(RunPictures().room.c_str()) == INVALID_FILE_ATTRIBUTES ? "absent" : "there");
      return {};
    }
    toScene_ = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
    memory_.cb = sizeof(memory_);
    if (!GetProcessMemoryInfo(saver_.process(), &memory_, sizeof(memory_))) memory_ = {};
    return ReadBmpFile(RunPictures().room);
  }

  RunningProgram saver_;
  // Of the last run: from its start to its scene, and the saver's memory then.
  std::chrono::milliseconds toScene_{};
  PROCESS_MEMORY_COUNTERS memory_{};
};

testing::Message Describe(Rgb c) {
  return testing::Message() << "(" << int{c.r} << ", " << int{c.g} << ", " << int{c.b} << ")";
}

TEST_P(PictureRunTest, WallsShowWhatAViewerShows) {
  const WallsRow& row = GetParam();
  std::string picture = row.file[0] ? TestData(row.file) : Installed("damaged.png");
  if (!row.file[0]) {
    // A PNG cut off in the middle of its pixel data, as an interrupted copy leaves it.
    std::vector<uint8_t> bytes = ReadRawFile(TestData("png-rgba.png"));
    ASSERT_GT(bytes.size(), 1000u);
    bytes.resize(bytes.size() / 2);
    ASSERT_TRUE(WriteRawFile(picture, bytes));
  }
  const BitmapPicture walls = WallsOf(picture);
  ASSERT_GT(walls.width, 0) << "no walls picture written";
  EXPECT_EQ(walls.width, row.width);
  EXPECT_EQ(walls.height, row.height);
  if (walls.width != row.width || walls.height != row.height) return;

  switch (row.check) {
    case Check::kQuadrants: {
      const int right = walls.width - 5, bottom = walls.height - 5;
      const std::array<POINT, 4> corners{POINT{4, 4}, POINT{right, 4}, POINT{4, bottom}, POINT{right, bottom}};
      for (size_t i = 0; i < corners.size(); ++i) {
        const Rgb shown = walls.at(corners[i].x, corners[i].y);
        EXPECT_TRUE(ColourNear(shown, kViewerQuadrants[i], 16))
            << "corner " << i << " shows " << Describe(shown) << ", a viewer " << Describe(kViewerQuadrants[i]);
      }
      break;
    }
    case Check::kReference: {
      const BitmapPicture reference = ReadBmpFile(TestData(row.reference));
      ASSERT_EQ(reference.width, walls.width);
      ASSERT_EQ(reference.height, walls.height);
      int worst = 0;
      double total = 0;
      for (size_t i = 0; i < walls.pixels.size(); ++i) {
        const Rgb a = walls.pixels[i], b = reference.pixels[i];
        const int difference = std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
        worst = std::max(worst, difference);
        total += difference;
      }
      // Premultiplying and narrowing 16-bit channels may round either way.
      EXPECT_LE(worst, 3) << "largest difference in a channel from Pillow's decode on black";
      EXPECT_LT(total / static_cast<double>(walls.pixels.size()), 1.0) << "mean difference";
      break;
    }
    case Check::kBlank: {
      for (const Rgb& pixel : walls.pixels) ASSERT_EQ(pixel.r + pixel.g + pixel.b, 0) << "a refused picture shows";
      const uint64_t mebibyte = 1 << 20;
      std::printf("%s: scene after %lld ms, saver's peak working set %llu MiB, peak commit %llu MiB\n", row.name,
                  static_cast<long long>(toScene_.count()),
                  static_cast<unsigned long long>(memory_.PeakWorkingSetSize / mebibyte),
                  static_cast<unsigned long long>(memory_.PeakPagefileUsage / mebibyte));
      EXPECT_LE(toScene_, kUsualTimeToScene);
      EXPECT_GT(memory_.PeakWorkingSetSize, 0u) << "the saver's memory could not be read";
      EXPECT_LT(memory_.PeakWorkingSetSize, kMostBytesForARefusedPicture);
      EXPECT_LT(memory_.PeakPagefileUsage, kMostBytesForARefusedPicture);
      break;
    }
  }
}

// Kept sizes computed as the saver computes them, on the upright picture.
const pictures::ReducedSize kLandscapeReduced = pictures::ReducedPictureSize(6000, 4000);
const pictures::ReducedSize kPortraitReduced = pictures::ReducedPictureSize(4000, 6000);
const int kScreenWidth = GetSystemMetrics(SM_CXSCREEN);
const int kScreenHeight = GetSystemMetrics(SM_CYSCREEN);

INSTANTIATE_TEST_SUITE_P(
    Pictures, PictureRunTest,
    testing::Values(
        // Photos stored landscape and tagged: at their own size (the OLE
        // loader) and reduced (our own decoder).
        WallsRow{"HalfTurn", "upright-3-1200x800.jpg", 1200, 800, Check::kQuadrants},
        WallsRow{"QuarterTurnClockwise", "upright-6-1200x800.jpg", 800, 1200, Check::kQuadrants},
        WallsRow{"QuarterTurnCounterClockwise", "upright-8-1200x800.jpg", 800, 1200, Check::kQuadrants},
        WallsRow{"HalfTurnReduced", "upright-3-6000x4000.jpg", kLandscapeReduced.width, kLandscapeReduced.height,
                 Check::kQuadrants},
        WallsRow{"QuarterTurnClockwiseReduced", "upright-6-6000x4000.jpg", kPortraitReduced.width,
                 kPortraitReduced.height, Check::kQuadrants},
        WallsRow{"QuarterTurnCounterClockwiseReduced", "upright-8-6000x4000.jpg", kPortraitReduced.width,
                 kPortraitReduced.height, Check::kQuadrants},
        // PNGs: transparency on black, 16-bit channels, a palette with
        // transparent entries, interlacing; and one beyond 4096.
        WallsRow{"PngWithTransparency", "png-rgba.png", 400, 300, Check::kReference, "png-rgba-on-black.bmp"},
        WallsRow{"Png16Bit", "png-rgba16.png", 400, 300, Check::kReference, "png-rgba16-on-black.bmp"},
        WallsRow{"PngPalette", "png-palette.png", 400, 300, Check::kReference, "png-palette-on-black.bmp"},
        WallsRow{"PngInterlaced", "png-interlaced.png", 400, 300, Check::kReference, "png-interlaced-on-black.bmp"},
        WallsRow{"PngReduced", "png-10000x5000.png", 2048, 1024, Check::kQuadrants},
        WallsRow{"DamagedPng", "", kScreenWidth, kScreenHeight, Check::kBlank},
        // Declared over a ceiling in a few bytes: a frame header of 65500 ×
        // 65500 after a stray byte, a GIF's logical screen of 65535 × 65535,
        // a PNG of 2^28 × 1.
        WallsRow{"StrayByteBeforeHugeJpegFrame", "refused-stray-byte.jpg", kScreenWidth, kScreenHeight, Check::kBlank},
        WallsRow{"GifScreenOfLargestSize", "refused-gif-screen.gif", kScreenWidth, kScreenHeight, Check::kBlank},
        WallsRow{"PngOnePixelHigh", "refused-png-one-pixel-high.png", kScreenWidth, kScreenHeight, Check::kBlank}),
    [](const testing::TestParamInfo<WallsRow>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace ventalune::wine_test
