// Events whose handlers end their owner: the raise runs the handler to its
// end and tells the raising code whether it may go on. Under ASan any touch
// of a deleted owner after the handler fails the test.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "row_name.h"
#include "saver/controls/anigif/event_lifetime.h"

namespace ventalune::anigif {
namespace {

struct Owner {
  Lifetime life;
  std::function<void(int)> event;
};

struct RaiseCase {
  std::string name;
  void (*act)(Owner*& owner);  // what the handler does to its owner
  bool ownerGoesOn;
};

class RaiseTest : public testing::TestWithParam<RaiseCase> {};

TEST_P(RaiseTest, HandlerRunsToItsEndAndTheRaiserLearnsWhetherToGoOn) {
  const RaiseCase& row = GetParam();
  auto* owner = new Owner;
  std::string seen;
  // The handler's own state is used after it has ended its owner, which
  // owned the handler.
  owner->event = [&owner, &seen, act = row.act, tail = std::string(64, '.')](int value) {
    act(owner);
    seen = std::to_string(value) + tail;
  };
  const bool goesOn = Raise(owner->life, owner->event, 7);
  EXPECT_EQ(goesOn, row.ownerGoesOn);
  EXPECT_EQ(seen, "7" + std::string(64, '.'));
  delete owner;
}

INSTANTIATE_TEST_SUITE_P(Handlers, RaiseTest,
                         testing::Values(RaiseCase{"DeletesTheOwner",
                                                   [](Owner*& owner) {
                                                     delete owner;
                                                     owner = nullptr;
                                                   },
                                                   false},
                                         RaiseCase{"ReleasesTheOwner", [](Owner*& owner) { owner->life.End(); }, false},
                                         RaiseCase{"UnsetsItself", [](Owner*& owner) { owner->event = nullptr; }, true},
                                         RaiseCase{"LeavesTheOwnerAlone", [](Owner*&) {}, true}),
                         testing_support::RowName());

TEST(LifetimeTest, WitnessOfAnEndedLifeStaysDeadWhileLaterOnesLive) {
  Owner owner;
  const Lifetime::Witness before = owner.life.Watch();
  owner.life.End();
  const Lifetime::Witness after = owner.life.Watch();
  EXPECT_FALSE(before.alive());
  EXPECT_TRUE(after.alive());
}

}  // namespace
}  // namespace ventalune::anigif
