#include <gtest/gtest.h>

#include <cstdint>
#include <thread>

#include "framework/SpscRing.h"

namespace plugkit {
namespace {

TEST(SpscRingTest, HoldsCapacityEntriesAndDropsWhenFull) {
  SpscRing<int, 3> ring;
  int out = -1;
  EXPECT_FALSE(ring.Pop(out));
  EXPECT_TRUE(ring.Empty());
  // Wrap around several times to exercise the index arithmetic.
  for (int round = 0; round < 5; ++round) {
    EXPECT_TRUE(ring.Push(round * 10 + 1));
    EXPECT_TRUE(ring.Push(round * 10 + 2));
    EXPECT_TRUE(ring.Push(round * 10 + 3));
    EXPECT_FALSE(ring.Push(99));
    EXPECT_EQ(ring.Size(), 3u);
    for (int i = 1; i <= 3; ++i) {
      ASSERT_TRUE(ring.Pop(out));
      EXPECT_EQ(out, round * 10 + i);
    }
    EXPECT_FALSE(ring.Pop(out));
  }
  EXPECT_EQ(out, 43);
}

TEST(SpscRingTest, TwoThreadsSeeEveryEntryInOrderAndWhole) {
  struct Entry {
    uint64_t sequence;
    uint64_t check;  // a torn entry would not match its sequence
  };
  SpscRing<Entry, 64> ring;
  constexpr uint64_t kCount = 200000;

  std::thread producer([&] {
    for (uint64_t i = 0; i < kCount;) {
      if (ring.Push({i, ~i})) ++i;
    }
  });
  uint64_t expected = 0;
  bool ordered = true;
  while (expected < kCount) {
    Entry e;
    if (!ring.Pop(e)) continue;
    ordered = ordered && e.sequence == expected && e.check == ~expected;
    ++expected;
  }
  producer.join();
  EXPECT_TRUE(ordered);
  EXPECT_TRUE(ring.Empty());
}

}  // namespace
}  // namespace plugkit
