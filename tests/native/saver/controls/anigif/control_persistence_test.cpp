// The control's persisted properties against the property bag: read and
// write orders, defaults, and the "Loops" key read after the picture loads.
#include "saver/controls/anigif/control_persistence.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "row_name.h"

namespace ventalune::anigif {
namespace {

using toolkit::ByteArray;
using toolkit::PropertyBag;

// A load that reports what it was handed and answers with a fixed outcome.
struct ScriptedLoad {
  LoadOutcome outcome;
  std::vector<PersistedControl> calls;
  LoadOutcome operator()(const PersistedControl& soFar) {
    calls.push_back(soFar);
    return outcome;
  }
};

TEST(ControlPersistenceTest, EmptyBagGivesTheDefaults) {
  ScriptedLoad load;
  PersistedControl current;
  const PersistedControl read = ReadControlProperties(PropertyBag{}, current, std::ref(load));
  EXPECT_TRUE(read.gif.empty());
  EXPECT_EQ(read.properties.minFrameDelay, 50);
  EXPECT_EQ(read.properties.stretch, 1);
  EXPECT_EQ(read.properties.delayMode, 1);
  EXPECT_EQ(read.properties.mirror, 0);
  EXPECT_TRUE(read.enabled);
  EXPECT_TRUE(read.mouseIcon.empty());
  EXPECT_EQ(read.mousePointer, 0);
  EXPECT_EQ(load.calls.size(), 1u);
}

TEST(ControlPersistenceTest, EverythingIsReadBeforeTheLoad) {
  PropertyBag bag;
  bag.Write<ByteArray>("GIF", {'G', 'I', 'F'}, {});
  bag.Write<int16_t>("Delay", 120, 50);
  bag.Write<int32_t>("Stretch", 2, 1);
  bag.Write<int32_t>("DelayLoad", 3, 1);
  bag.Write<int32_t>("Mirror", 1, 0);
  bag.Write<bool>("Enabled", false, true);
  bag.Write<ByteArray>("MouseIcon", {0, 0, 2, 0}, {});
  bag.Write<int16_t>("MousePointer", 99, 0);
  ScriptedLoad load;
  ReadControlProperties(bag, PersistedControl{}, std::ref(load));
  ASSERT_EQ(load.calls.size(), 1u);
  const PersistedControl& seen = load.calls.front();
  EXPECT_EQ(seen.gif, (ByteArray{'G', 'I', 'F'}));
  EXPECT_EQ(seen.properties.minFrameDelay, 120);
  EXPECT_EQ(seen.properties.stretch, 2);
  EXPECT_EQ(seen.properties.delayMode, 3);
  EXPECT_EQ(seen.properties.mirror, 1);
  EXPECT_FALSE(seen.enabled);
  EXPECT_EQ(seen.mouseIcon.size(), 4u);
  EXPECT_EQ(seen.mousePointer, 99);
}

TEST(ControlPersistenceTest, UnstoredGifKeepsTheCurrentSource) {
  PersistedControl current;
  current.gif = {1, 2, 3};
  current.properties.minFrameDelay = 70;
  ScriptedLoad load;
  const PersistedControl read = ReadControlProperties(PropertyBag{}, current, std::ref(load));
  EXPECT_EQ(read.gif, current.gif);
  EXPECT_EQ(read.properties.minFrameDelay, 70);
}

struct StoredCase {
  std::string name;
  std::string key;
  int32_t stored;
  int32_t delayMode, stretch, mirror, delay;
};

class StoredValueTest : public testing::TestWithParam<StoredCase> {};

// Values a property write would refuse come back as the default.
TEST_P(StoredValueTest, ReadsAsTheRuleAllows) {
  const StoredCase& row = GetParam();
  PropertyBag bag;
  bag.Write<int32_t>(row.key, row.stored, 123456);
  const PersistedControl read = ReadControlProperties(bag, PersistedControl{}, nullptr);
  EXPECT_EQ(read.properties.delayMode, row.delayMode);
  EXPECT_EQ(read.properties.stretch, row.stretch);
  EXPECT_EQ(read.properties.mirror, row.mirror);
  EXPECT_EQ(read.properties.minFrameDelay, row.delay);
}

INSTANTIATE_TEST_SUITE_P(Stored, StoredValueTest,
                         testing::Values(StoredCase{"DelayLoadMinusOneIsOne", "DelayLoad", -1, 1, 1, 0, 50},
                                         StoredCase{"DelayLoadZero", "DelayLoad", 0, 0, 1, 0, 50},
                                         StoredCase{"DelayLoadSevenIsDefault", "DelayLoad", 7, 1, 1, 0, 50},
                                         StoredCase{"StretchNineIsDefault", "Stretch", 9, 1, 1, 0, 50},
                                         StoredCase{"StretchZero", "Stretch", 0, 1, 0, 0, 50},
                                         StoredCase{"MirrorFourIsNone", "Mirror", 4, 1, 1, 0, 50},
                                         StoredCase{"DelayTooShortIsTen", "Delay", 3, 1, 1, 0, 10},
                                         StoredCase{"DelayTooLongIs32700", "Delay", 90000, 1, 1, 0, 32700}),
                         testing_support::RowName());

struct LoopsCase {
  std::string name;
  bool stored;
  int32_t storedLoops;
  LoadOutcome outcome;
  int32_t loops;
};

class PersistedLoopsTest : public testing::TestWithParam<LoopsCase> {};

TEST_P(PersistedLoopsTest, StoredCountOverridesTheFileOnlyWhenFramesLoaded) {
  const LoopsCase& row = GetParam();
  PropertyBag bag;
  if (row.stored) bag.Write<int32_t>("Loops", row.storedLoops, 0);
  PersistedControl current;
  current.loops = 9;  // what the control had before
  ScriptedLoad load{row.outcome, {}};
  EXPECT_EQ(ReadControlProperties(bag, current, std::ref(load)).loops, row.loops);
}

INSTANTIATE_TEST_SUITE_P(Loops, PersistedLoopsTest,
                         testing::Values(LoopsCase{"UnstoredLeavesTheFilesCount", false, 0, {4, 3}, 3},
                                         LoopsCase{"StoredOneOverridesTheFilesThree", true, 1, {4, 3}, 1},
                                         LoopsCase{"StoredNegativeIsItsMagnitude", true, -2, {4, 3}, 2},
                                         LoopsCase{"NoFramesReadsNoLoops", true, 1, {0, 0}, 9}),
                         testing_support::RowName());

TEST(ControlPersistenceTest, WritesInItsOrderLeavingDefaultsOut) {
  PersistedControl control;
  control.gif = {'G', 'I', 'F', '8', '9', 'a'};
  control.properties = ControlProperties{100, 3, 0, 2};
  control.loops = 4;
  control.enabled = false;
  control.mouseIcon = {0, 0, 2, 0, 1, 0};
  control.mousePointer = 99;
  PropertyBag bag;
  WriteControlProperties(bag, control);
  EXPECT_EQ(bag.Keys(), (std::vector<std::string>{"GIF", "Delay", "Stretch", "Loops", "DelayLoad", "Mirror",
                                                  "MouseIcon", "MousePointer", "Enabled"}));
  EXPECT_EQ(bag.Read<int16_t>("Delay", 0), 100);

  PropertyBag defaults;
  WriteControlProperties(defaults, PersistedControl{});
  EXPECT_EQ(defaults.size(), 0u);
}

TEST(ControlPersistenceTest, WrittenBagReadsBackTheSameControl) {
  PersistedControl control;
  control.gif = {'G', 'I', 'F', '8', '7', 'a', 1, 2};
  control.properties = ControlProperties{10, 0, 2, 3};
  control.loops = 40000;
  control.mousePointer = 11;
  PropertyBag bag;
  WriteControlProperties(bag, control);
  const auto bytes = PropertyBag::Deserialise(bag.Serialise());
  ASSERT_TRUE(bytes);
  ScriptedLoad load{{1, 0}, {}};
  const PersistedControl read = ReadControlProperties(*bytes, PersistedControl{}, std::ref(load));
  EXPECT_EQ(read.gif, control.gif);
  EXPECT_EQ(read.properties.minFrameDelay, 10);
  EXPECT_EQ(read.properties.stretch, 0);
  EXPECT_EQ(read.properties.delayMode, 2);
  EXPECT_EQ(read.properties.mirror, 3);
  EXPECT_EQ(read.loops, 40000);
  EXPECT_EQ(read.mousePointer, 11);
}

}  // namespace
}  // namespace ventalune::anigif
