#include "saver/pictures/jpeg_reduced_decoder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "row_name.h"

namespace ventalune::pictures {
namespace {

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string SamplePath(const std::string& name) { return std::string(JPEG_SAMPLES_DIR) + "/" + name; }

struct Rgb {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> pixels;  // red, green, blue
};

// A binary PPM as Pillow writes it.
Rgb ReadPpm(const std::string& path) {
  const std::vector<uint8_t> bytes = ReadFile(path);
  std::istringstream header(std::string(bytes.begin(), bytes.begin() + std::min<size_t>(bytes.size(), 32)));
  std::string magic;
  int maximum = 0;
  Rgb picture;
  header >> magic >> picture.width >> picture.height >> maximum;
  const auto start = static_cast<size_t>(header.tellg()) + 1;
  const size_t size = static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height) * 3;
  if (magic != "P6" || maximum != 255 || bytes.size() != start + size) return Rgb{};
  picture.pixels.assign(bytes.begin() + static_cast<ptrdiff_t>(start), bytes.end());
  return picture;
}

struct SampleRow {
  std::string name;
  std::string sample;
  int shift;
  double meanLimit;  // mean absolute difference per channel value
};

std::vector<SampleRow> SampleRows() {
  // The reference upsamples chroma smoothly at full size, the decoder
  // replicates it at the reduced size; grain and hard edges make the most of that.
  const struct {
    const char* sample;
    double meanLimit;
  } samples[] = {{"yuv444", 1.5},          {"yuv422", 2.0},         {"yuv420", 2.0},
                 {"yuv440", 2.0},          {"mixed_sampling", 2.5}, {"grey", 1.0},
                 {"grey_sampled_2x2", 1.0}, {"restart_every_row", 2.0}, {"restart_every_3_units", 2.0},
                 {"odd_size", 2.0},        {"odd_size_444", 1.5},   {"sliver", 3.0},
                 {"adobe_rgb", 1.5},       {"tables_16_bit", 2.5},  {"low_quality", 2.5},
                 {"exif_thumbnail", 2.0}};
  std::vector<SampleRow> rows;
  for (const auto& sample : samples)
    for (int shift = 0; shift <= kMaxJpegShift; ++shift)
      rows.push_back({std::string(sample.sample) + "_shift" + std::to_string(shift), sample.sample, shift,
                      sample.meanLimit});
  return rows;
}

class JpegSampleTest : public testing::TestWithParam<SampleRow> {};

TEST_P(JpegSampleTest, MatchesTheFullDecodeAveragedInBlocks) {
  const SampleRow& row = GetParam();
  const std::vector<uint8_t> jpeg = ReadFile(SamplePath(row.sample + ".jpg"));
  const Rgb reference = ReadPpm(SamplePath(row.sample + "-" + std::to_string(row.shift) + ".ppm"));
  ASSERT_FALSE(jpeg.empty()) << "missing sample; the build makes them with make_jpeg_samples.py";
  ASSERT_FALSE(reference.pixels.empty());

  const std::optional<PicturePixels> decoded = DecodeJpegReduced(jpeg, row.shift);
  ASSERT_TRUE(decoded.has_value());
  ASSERT_EQ(decoded->width, reference.width);
  ASSERT_EQ(decoded->height, reference.height);
  ASSERT_EQ(decoded->pixels.size(), reference.pixels.size() / 3 * 4);
  uint64_t total = 0;
  int largest = 0;
  bool unusedZero = true;
  for (size_t i = 0; i < reference.pixels.size() / 3; ++i) {
    const uint8_t* got = &decoded->pixels[i * 4];
    const uint8_t* want = &reference.pixels[i * 3];
    for (int channel = 0; channel < 3; ++channel) {
      const int difference = std::abs(int{got[2 - channel]} - int{want[channel]});
      total += static_cast<uint64_t>(difference);
      largest = std::max(largest, difference);
    }
    unusedZero = unusedZero && got[3] == 0;
  }
  const double mean = static_cast<double>(total) / static_cast<double>(reference.pixels.size());
  RecordProperty("mean_difference", std::to_string(mean));
  RecordProperty("largest_difference", largest);
  std::printf("%s: mean %.3f largest %d\n", row.name.c_str(), mean, largest);
  EXPECT_LE(mean, row.meanLimit);
  EXPECT_TRUE(unusedZero);
}

INSTANTIATE_TEST_SUITE_P(Samples, JpegSampleTest, testing::ValuesIn(SampleRows()), testing_support::RowName());

}  // namespace
}  // namespace ventalune::pictures
