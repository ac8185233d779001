// The ids the control's timers are known by: a timer message carries only
// an id, so an id must never lead to a control that is gone or to another.
#include <gtest/gtest.h>

#include <cstdint>

#include "saver/controls/anigif/timer_registry.h"

namespace ventalune::anigif {
namespace {

TEST(TimerRegistryTest, IdsAreUniqueAndForgottenOnesFindNothing) {
  int a = 0, b = 0;
  TimerRegistry<int> registry;
  const uintptr_t first = registry.Add(&a);
  const uintptr_t second = registry.Add(&b);
  EXPECT_NE(first, second);
  EXPECT_NE(first, 0u);
  EXPECT_EQ(registry.Find(first), &a);
  registry.Remove(first);
  EXPECT_EQ(registry.Find(first), nullptr);
  EXPECT_EQ(registry.Find(second), &b);
  // A fresh id never repeats one removed a moment ago.
  EXPECT_NE(registry.Add(&a), first);
}

TEST(TimerRegistryTest, WrapsPastTheLargestIdWithoutZeroOrTakenIds) {
  int owner = 0;
  TimerRegistry<int> registry(UINTPTR_MAX - 1);
  const uintptr_t last = registry.Add(&owner);
  const uintptr_t largest = registry.Add(&owner);
  const uintptr_t wrapped = registry.Add(&owner);
  EXPECT_EQ(last, UINTPTR_MAX - 1);
  EXPECT_EQ(largest, UINTPTR_MAX);
  EXPECT_NE(wrapped, 0u);
  EXPECT_NE(wrapped, last);
  EXPECT_EQ(registry.size(), 3u);
}

}  // namespace
}  // namespace ventalune::anigif
