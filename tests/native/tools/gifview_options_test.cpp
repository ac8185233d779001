#include "tools/gifview/gifview_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "row_name.h"

namespace ventalune::gifview {
namespace {

TEST(GifviewOptionsTest, ReadsEveryOption) {
  const auto options = ParseGifviewOptions({"--stretch", "4", "--mirror", "3", "--loops", "-2", "--min-delay", "20",
                                            "--delay-mode", "0", "--size", "200x100", "--background", "FF8000",
                                            "--design", "--capture", "C:\\shots", "--exit-after", "1500", "a.gif"});
  ASSERT_TRUE(options);
  EXPECT_EQ(options->stretch, 4);
  EXPECT_EQ(options->mirror, 3);
  EXPECT_EQ(options->loops, -2);
  EXPECT_EQ(options->minDelay, 20);
  EXPECT_EQ(options->delayMode, 0);
  EXPECT_EQ(options->width, 200);
  EXPECT_EQ(options->height, 100);
  EXPECT_EQ(options->background, 0xFF8000u);
  EXPECT_TRUE(options->design);
  EXPECT_EQ(options->captureDir, "C:\\shots");
  EXPECT_EQ(options->exitAfterMs, 1500);
  EXPECT_EQ(options->source, "a.gif");
}

struct BadCase {
  std::string name;
  std::vector<std::string> arguments;
};

class GifviewBadArgumentsTest : public testing::TestWithParam<BadCase> {};

TEST_P(GifviewBadArgumentsTest, AreRefused) { EXPECT_FALSE(ParseGifviewOptions(GetParam().arguments)); }

INSTANTIATE_TEST_SUITE_P(
    Arguments, GifviewBadArgumentsTest,
    testing::Values(BadCase{"NoSource", {}}, BadCase{"TwoSources", {"a.gif", "b.gif"}},
                    BadCase{"UnknownOption", {"--speed", "2", "a.gif"}},
                    BadCase{"OptionWithoutValue", {"a.gif", "--stretch"}},
                    BadCase{"StretchOutOfRange", {"--stretch", "5", "a.gif"}},
                    BadCase{"MirrorNotANumber", {"--mirror", "h", "a.gif"}},
                    BadCase{"NumberWithTrailingText", {"--loops", "3x", "a.gif"}},
                    BadCase{"SizeWithoutHeight", {"--size", "200x", "a.gif"}},
                    BadCase{"SizeZero", {"--size", "0x10", "a.gif"}},
                    BadCase{"BackgroundTooShort", {"--background", "FFF", "a.gif"}},
                    BadCase{"BackgroundNotHex", {"--background", "GG0000", "a.gif"}},
                    BadCase{"ExitAfterZero", {"--exit-after", "0", "a.gif"}},
                    BadCase{"DelayModeNegative", {"--delay-mode", "-1", "a.gif"}}),
    testing_support::RowName());

TEST(GifviewOptionsTest, UrlsAreFetchedFilesAreRead) {
  EXPECT_TRUE(IsRemoteSource("http://127.0.0.1:8000/a.gif"));
  EXPECT_TRUE(IsRemoteSource("HTTPS://example/a.gif"));
  EXPECT_TRUE(IsRemoteSource("file:///C:/a.gif"));
  EXPECT_FALSE(IsRemoteSource("C:\\http\\a.gif"));
  EXPECT_FALSE(IsRemoteSource("Z:\\tmp\\a.gif"));
}

}  // namespace
}  // namespace ventalune::gifview
