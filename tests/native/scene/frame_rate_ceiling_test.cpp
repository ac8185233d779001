#include "scene/frame_rate_ceiling.h"

#include <gtest/gtest.h>

#include "row_name.h"

namespace ventalune::scene {
namespace {

struct CeilingCase {
  const char* name;
  DisplayTraits display;
  uint32_t most;
};

class FrameRateCeilingTest : public testing::TestWithParam<CeilingCase> {};

TEST_P(FrameRateCeilingTest, DrawsAsTheDisplayAndSessionAllow) {
  EXPECT_EQ(MostFramesPerSecond(GetParam().display), GetParam().most);
}

INSTANTIATE_TEST_SUITE_P(
    Displays, FrameRateCeilingTest,
    testing::Values(CeilingCase{"UnknownRefreshNoWait", {0, false, false}, 60},
                    CeilingCase{"HardwareDefaultRefresh", {1, false, false}, 60},
                    CeilingCase{"SixtyNoWaitIsPacedByTheLoop", {60, false, false}, 60},
                    CeilingCase{"OneFortyFourNoWait", {144, false, false}, 144},
                    CeilingCase{"SwapWaitsTheDisplayLeads", {60, true, false}, 75},
                    CeilingCase{"RoundedDownRefreshStillLeads", {59, true, false}, 73},
                    CeilingCase{"OneFortyFourWaits", {144, true, false}, 180},
                    CeilingCase{"RemoteSession", {60, true, true}, 30},
                    CeilingCase{"RemoteSessionOfASlowerDisplay", {24, false, true}, 24}),
    testing_support::RowName());

}  // namespace
}  // namespace ventalune::scene
