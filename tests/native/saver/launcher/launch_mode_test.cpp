#include "saver/launcher/launch_mode.h"

#include <gtest/gtest.h>

#include "row_name.h"

namespace ventalune::launcher {
namespace {

struct ModeCase {
  const char* name;
  const char* arguments;
  LaunchMode mode;
};

class ModeOfTest : public testing::TestWithParam<ModeCase> {};

TEST_P(ModeOfTest, SecondCharacterUpperCasedChooses) { EXPECT_EQ(ModeOf(GetParam().arguments), GetParam().mode); }

INSTANTIATE_TEST_SUITE_P(
    Switches, ModeOfTest,
    testing::Values(ModeCase{"PreviewWithHandle", "/p 1234", LaunchMode::kPreview},
                    ModeCase{"PreviewUpperCase", "/P 1234", LaunchMode::kPreview},
                    ModeCase{"SettingsWithHandleAfterColon", "/c:5678", LaunchMode::kSettings},
                    ModeCase{"SettingsUpperCase", "/C", LaunchMode::kSettings},
                    ModeCase{"Run", "/s", LaunchMode::kRun},
                    ModeCase{"RunDashSwitch", "-S", LaunchMode::kRun},
                    ModeCase{"FirstCharacterNotExamined", "xs", LaunchMode::kRun},
                    ModeCase{"EmptyOpensTheSettings", "", LaunchMode::kSettings},
                    ModeCase{"OtherLetterEnds", "/a", LaunchMode::kNone},
                    ModeCase{"LoneSlashEnds", "/", LaunchMode::kNone},
                    ModeCase{"SpaceFirstThenLetterEnds", " /s", LaunchMode::kNone}),
    testing_support::RowName());

struct HandleCase {
  const char* name;
  const char* arguments;
  int32_t handle;
};

class PreviewHostHandleTest : public testing::TestWithParam<HandleCase> {};

TEST_P(PreviewHostHandleTest, LeadingNumberFromTheFourthCharacter) {
  EXPECT_EQ(PreviewHostHandle(GetParam().arguments), GetParam().handle);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, PreviewHostHandleTest,
    testing::Values(HandleCase{"AfterSpace", "/p 1234", 1234}, HandleCase{"AfterColon", "/p:1234", 1234},
                    HandleCase{"BlanksSkipped", "/p    77", 77}, HandleCase{"TrailingTextIgnored", "/p 42abc 9", 42},
                    HandleCase{"NoNumber", "/p", 0}, HandleCase{"OnlyBlanks", "/p   ", 0},
                    HandleCase{"TextInsteadOfNumber", "/p window", 0},
                    HandleCase{"FractionRoundsToEven", "/p 10.5", 10}, HandleCase{"FractionRoundsUp", "/p 10.6", 11},
                    HandleCase{"LargestHandle", "/p 2147483647", 2147483647},
                    HandleCase{"TooLargeIsNoHandle", "/p 4294967296", 0},
                    HandleCase{"NegativeKept", "/p -5", -5}),
    testing_support::RowName());

}  // namespace
}  // namespace ventalune::launcher
