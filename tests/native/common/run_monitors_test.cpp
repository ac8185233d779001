#include "common/run_monitors.h"

#include <gtest/gtest.h>

#include "common/program_contract.h"
#include "row_name.h"

namespace ventalune {
namespace {

struct ParseRow {
  const char* name;
  const wchar_t* text;
  std::optional<RunMonitors> expected;
};

class ParseRunMonitorsTest : public testing::TestWithParam<ParseRow> {};

TEST_P(ParseRunMonitorsTest, ReadsOnlyWhatTheSaverWrites) {
  const ParseRow& row = GetParam();
  EXPECT_EQ(ParseRunMonitors(row.text), row.expected);
  // What reads back is what is written.
  if (row.expected) {
    EXPECT_EQ(ParseRunMonitors(FormatRunMonitors(*row.expected)), row.expected);
  }
}

std::wstring ManyRooms(size_t count) {
  std::wstring text = L"every";
  for (size_t i = 0; i < count; ++i) text += L";0," + std::to_wstring(i) + L",10," + std::to_wstring(i + 1);
  return text;
}


INSTANTIATE_TEST_SUITE_P(
    Texts, ParseRunMonitorsTest,
    testing::Values(
        ParseRow{"EveryWithoutRooms", L"every", RunMonitors{false, {}}},
        ParseRow{"MainWithItsRoom", L"main;0,0,1920,1080", RunMonitors{true, {{0, 0, 1920, 1080}}}},
        ParseRow{"NegativeOriginsAndAPortrait", L"every;0,0,1920,1080;-1080,-400,0,1520",
                 RunMonitors{false, {{0, 0, 1920, 1080}, {-1080, -400, 0, 1520}}}},
        ParseRow{"UnknownSpread", L"all;0,0,10,10", std::nullopt},
        ParseRow{"Empty", L"", std::nullopt},
        ParseRow{"TrailingSeparator", L"every;0,0,10,10;", std::nullopt},
        ParseRow{"ThreeNumbers", L"every;0,0,10", std::nullopt},
        ParseRow{"FiveNumbers", L"every;0,0,10,10,10", std::nullopt},
        ParseRow{"EmptyRoom", L"every;10,10,10,20", std::nullopt},
        ParseRow{"UpsideDownRoom", L"every;0,20,10,10", std::nullopt},
        ParseRow{"NotANumber", L"every;0,0,1e3,10", std::nullopt},
        ParseRow{"Blank", L"every;0, 0,10,10", std::nullopt},
        ParseRow{"FarBeyondAnyScreen", L"every;0,0,99999999,10", std::nullopt},
        ParseRow{"Overflow", L"every;0,0,4294967296,10", std::nullopt}),
    testing_support::RowName());

TEST(ParseRunMonitorsTest, NoMoreRoomsThanPicturesARunMakes) {
  const std::optional<RunMonitors> most = ParseRunMonitors(ManyRooms(kMostRoomPictures));
  ASSERT_TRUE(most);
  EXPECT_EQ(most->rooms.size(), kMostRoomPictures);
  EXPECT_EQ(most->rooms.back(), (MonitorRect{0, 15, 10, 16}));
  EXPECT_FALSE(ParseRunMonitors(ManyRooms(kMostRoomPictures + 1)));
}

TEST(RoomPictureTest, EachMonitorFindsThePictureMadeForIt) {
  const std::vector<MonitorRect> rooms{{0, 0, 1920, 1080}, {1920, 0, 3000, 1920}};
  EXPECT_EQ(RoomPictureFor({1920, 0, 3000, 1920}, rooms), 1u);
  EXPECT_EQ(RoomPictureFor({0, 0, 1920, 1080}, rooms), 0u);
  // A monitor that came during the run, or one that moved: the first picture.
  EXPECT_EQ(RoomPictureFor({3000, 0, 4000, 768}, rooms), 0u);
  EXPECT_EQ(RoomPictureFor({0, 0, 1920, 1080}, {}), 0u);
}

TEST(RoomPictureTest, TheFirstKeepsItsNameAndTheOthersAreNumbered) {
  EXPECT_EQ(RoomPictureIn(L"C:\\u", 0), L"C:\\u\\Nubivola1.bmp");
  EXPECT_EQ(RoomPictureIn(L"C:\\u", 1), L"C:\\u\\Nubivola1-2.bmp");
  EXPECT_EQ(RoomPictureIn(L"C:\\u", 15), L"C:\\u\\Nubivola1-16.bmp");
  EXPECT_EQ(RoomPictureIn(L"", 1), L"");
}

}  // namespace
}  // namespace ventalune
