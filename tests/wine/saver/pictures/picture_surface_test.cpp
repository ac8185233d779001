// Picture surfaces loading pictures larger than they keep, and damaged ones,
// through the platform's real decoders.
#include "saver/pictures/picture_surface.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/bitmap_file.h"

namespace ventalune::wine_test {
namespace {

std::string DataFile(const char* name) {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  folder.resize(folder.find_last_of('\\'));
  return folder + "\\data\\" + name;
}

std::string ScratchFile(const char* name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  return std::string(temp) + "ventalune-surface-" + std::to_string(GetCurrentProcessId()) + "-" + name;
}

// A JPEG that is only its start and a frame header claiming the size.
std::vector<uint8_t> JpegHeaderOnly(uint16_t width, uint16_t height) {
  return {0xff, 0xd8, 0xff, 0xc0, 0x00, 0x11, 8, static_cast<uint8_t>(height >> 8), static_cast<uint8_t>(height),
          static_cast<uint8_t>(width >> 8), static_cast<uint8_t>(width), 3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1,
          0xff, 0xd9};
}

struct LoadRow {
  const char* name;
  std::function<std::string()> make;  // writes the file, gives its path
  std::optional<std::pair<int, int>> size;  // loaded at this size; nothing: refused
  // Where loaded: the colour at a quarter and three quarters of the width.
  bool redLeftBlueRight;
};

class PictureSurfaceLoadTest : public testing::TestWithParam<LoadRow> {};

TEST_P(PictureSurfaceLoadTest, ReducesLargePicturesAndRefusesBrokenOnes) {
  const LoadRow& row = GetParam();
  const std::string path = row.make();
  ASSERT_FALSE(path.empty());
  struct Remove {
    const std::string& path;
    ~Remove() {
      if (path.find("ventalune-surface-") != std::string::npos) DeleteFileA(path.c_str());
    }
  } remove{path};
  pictures::PictureSurface surface;
  ASSERT_TRUE(surface.Resize(10, 10));
  const bool loaded = surface.LoadFile(path);
  EXPECT_EQ(loaded, row.size.has_value());
  if (!row.size) {
    // Refused: the surface keeps its size, blank.
    EXPECT_EQ(surface.width(), 10);
    EXPECT_EQ(surface.height(), 10);
    for (uint8_t byte : surface.pixels()) ASSERT_EQ(byte, 0);
    return;
  }
  EXPECT_EQ(surface.width(), row.size->first);
  EXPECT_EQ(surface.height(), row.size->second);
  if (row.redLeftBlueRight) {
    const auto pixel = [&](int x, int y) { return &surface.pixels()[(static_cast<size_t>(y) * surface.width() + x) * 4]; };
    const uint8_t* left = pixel(surface.width() / 4, surface.height() / 2);
    const uint8_t* right = pixel(surface.width() * 3 / 4, surface.height() / 2);
    EXPECT_GT(left[2], 200);
    EXPECT_LT(left[0], 60);
    EXPECT_GT(right[0], 200);
    EXPECT_LT(right[2], 60);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, PictureSurfaceLoadTest,
    testing::Values(
        LoadRow{"CameraPhotoReduced", [] { return DataFile("large-6000x4000.jpg"); }, std::pair{2048, 1365}, true},
        LoadRow{"WidePhotoReduced", [] { return DataFile("large-12000x6000.jpg"); }, std::pair{2048, 1024}, true},
        // Progressive: the platform's decoder, averaged down in strips.
        LoadRow{"ProgressivePhotoReduced", [] { return DataFile("large-5000x3000-progressive.jpg"); },
                std::pair{2048, 1229}, true},
        LoadRow{"PhotoUpTo4096Whole", [] { return DataFile("large-4000x3000.jpg"); }, std::pair{4000, 3000}, true},
        // Its first bytes, not its name, say it is a PNG.
        LoadRow{"PngUnderAJpegName",
                [] {
                  const std::string path = ScratchFile("png.jpg");
                  WriteRawFile(path, ReadRawFile(DataFile("png-interlaced.png")));
                  return path;
                },
                std::pair{400, 300}, false},
        // Formats only the OLE loader decodes, their size told first: by our
        // own reading of a GIF, by the imaging component for an icon.
        LoadRow{"SmallGifWhole", [] { return DataFile("halves-64x32.gif"); }, std::pair{64, 32}, true},
        LoadRow{"IconWhole", [] { return DataFile("halves-32x32.ico"); }, std::pair{32, 32}, true},
        LoadRow{"WideBitmapReduced",
                [] {
                  const std::string path = ScratchFile("wide.bmp");
                  WriteBmpFile(path, 5000, 30, [](int x, int) { return x < 2500 ? Rgb{255, 0, 0} : Rgb{0, 0, 255}; });
                  return path;
                },
                std::pair{2048, 12}, true},
        // A frame header claiming 60000 × 60000 and no picture data at all.
        LoadRow{"HugeClaimWithoutData",
                [] {
                  const std::string path = ScratchFile("claim.jpg");
                  WriteRawFile(path, JpegHeaderOnly(60000, 60000));
                  return path;
                },
                std::nullopt, false},
        // A header claiming 5000 × 5000 with nothing after it.
        LoadRow{"LargeJpegHeaderOnly",
                [] {
                  const std::string path = ScratchFile("header.jpg");
                  WriteRawFile(path, JpegHeaderOnly(5000, 5000));
                  return path;
                },
                std::nullopt, false},
        // A camera photo cut in half, as an interrupted copy leaves it; the
        // platform's decoder refuses what it cannot finish.
        LoadRow{"CameraPhotoCutInHalf",
                [] {
                  const std::string path = ScratchFile("half.jpg");
                  std::vector<uint8_t> bytes = ReadRawFile(DataFile("large-6000x4000.jpg"));
                  bytes.resize(bytes.size() / 2);
                  WriteRawFile(path, bytes);
                  return path;
                },
                std::nullopt, false},
        // A bitmap whose rows stop after its headers.
        LoadRow{"LargeBitmapCutShort",
                [] {
                  const std::string path = ScratchFile("cut.bmp");
                  WriteBmpFile(path, 5000, 30, [](int, int) { return Rgb{1, 2, 3}; });
                  std::vector<uint8_t> bytes = ReadRawFile(path);
                  bytes.resize(54 + 100);
                  WriteRawFile(path, bytes);
                  return path;
                },
                std::nullopt, false}),
    [](const testing::TestParamInfo<LoadRow>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace ventalune::wine_test
