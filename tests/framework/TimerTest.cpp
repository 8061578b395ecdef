#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "framework/Timer.h"

namespace plugkit {
namespace {

// A host that numbers its timers from 1, like many CLAP hosts do per instance.
class FakeTimerHost : public TimerHost {
 public:
  bool Register(uint32_t periodMs, uint32_t& id) override {
    if (refuse) return false;
    id = nextId++;
    periods[id] = periodMs;
    return true;
  }
  void Unregister(uint32_t id) override { periods.erase(id); }

  bool refuse = false;
  uint32_t nextId = 1;
  std::map<uint32_t, uint32_t> periods;
};

TEST(TimerTest, TicksReachTheirOwnTimerOnly) {
  FakeTimerHost hostA, hostB;
  int ticksA = 0, ticksB = 0;
  auto a = StartTimer(
      hostA, [&](Timer&) { ++ticksA; }, 20);
  auto b = StartTimer(
      hostB, [&](Timer&) { ++ticksB; }, 20);
  EXPECT_EQ(hostA.periods.at(1), 20u);

  // Both hosts handed out id 1; the host tells them apart.
  PlatformTimer::OnPlatformTick(hostA, 1);
  PlatformTimer::OnPlatformTick(hostA, 1);
  PlatformTimer::OnPlatformTick(hostB, 1);
  PlatformTimer::OnPlatformTick(hostB, 2);  // unknown
  EXPECT_EQ(ticksA, 2);
  EXPECT_EQ(ticksB, 1);

  a->Stop();
  a->Stop();
  EXPECT_TRUE(hostA.periods.empty());
  PlatformTimer::OnPlatformTick(hostA, 1);
  EXPECT_EQ(ticksA, 2);

  b.reset();  // destruction unregisters too
  EXPECT_TRUE(hostB.periods.empty());
  PlatformTimer::OnPlatformTick(hostB, 1);
  EXPECT_EQ(ticksB, 1);
}

TEST(TimerTest, RefusedTimerNeverTicksAndTimersMayStopThemselves) {
  FakeTimerHost host;
  host.refuse = true;
  int ticks = 0;
  auto refused = StartTimer(
      host, [&](Timer&) { ++ticks; }, 20);
  EXPECT_FALSE(static_cast<PlatformTimer&>(*refused).IsRunning());
  PlatformTimer::OnPlatformTick(host, 0);
  EXPECT_EQ(ticks, 0);

  host.refuse = false;
  std::unique_ptr<Timer> self;
  self = StartTimer(
      host,
      [&](Timer& t) {
        ++ticks;
        t.Stop();  // takes the list lock again from inside a tick
      },
      16);
  PlatformTimer::OnPlatformTick(host, 1);
  PlatformTimer::OnPlatformTick(host, 1);
  EXPECT_EQ(ticks, 1);
}

}  // namespace
}  // namespace plugkit
