// The toolkit's portable helpers: the colour rule of static text controls and the millisecond
// clock over a performance counter.
#include <gtest/gtest.h>

#include "toolkit/clock.h"
#include "toolkit/control_colours.h"

namespace kantrell {
namespace {

TEST(ControlColoursTest, AnswerFollowsWhichColoursAreSet) {
  EXPECT_EQ(colourAnswerFor(0xFF0000, -1), ColourAnswer::TextOnDialogFace);
  EXPECT_EQ(colourAnswerFor(0x0000FF, 0x00FF00), ColourAnswer::TextOnOwnBrush);
  EXPECT_EQ(colourAnswerFor(0, 0), ColourAnswer::TextOnOwnBrush);  // black is a colour too
  EXPECT_EQ(colourAnswerFor(-1, 0x00FF00), ColourAnswer::OwnBrushOnly);
  EXPECT_EQ(colourAnswerFor(-1, -1), ColourAnswer::SystemDefault);
}

class FakeCounter final : public PerformanceCounter {
 public:
  bool available = true;
  std::int64_t ticksPerSecond = 0;
  std::int64_t count = 0;
  std::uint32_t tick = 0;

  bool frequency(std::int64_t& value) override {
    value = available ? ticksPerSecond : 0;
    return available;
  }
  std::int64_t counter() override { return count; }
  std::uint32_t tickCount() override { return tick; }
};

TEST(ClockTest, CountsWholeMillisecondsFromTheFirstReading) {
  FakeCounter counter;
  counter.ticksPerSecond = 3'579'545;  // 3,579 ticks per ms, truncated
  counter.count = 1'000'000;
  CounterClock clock(counter);
  EXPECT_EQ(clock.clockMs(), 0);
  counter.count += 35'790;
  EXPECT_EQ(clock.clockMs(), 10);
  counter.count += 3'578;
  EXPECT_EQ(clock.clockMs(), 10);  // rounds toward zero
}

TEST(ClockTest, TenMegahertzIsExact) {
  FakeCounter counter;
  counter.ticksPerSecond = 10'000'000;
  CounterClock clock(counter);
  EXPECT_EQ(clock.clockMs(), 0);
  counter.count = 50'000'000;
  EXPECT_EQ(clock.clockMs(), 5000);
}

TEST(ClockTest, FallsBackToTheTickCountAndCarriesItPastTheWrap) {
  for (bool available : {false, true}) {
    FakeCounter counter;
    counter.available = available;
    counter.ticksPerSecond = 999;  // below 1000 Hz is not usable either
    counter.tick = 0xFFFFF000;
    CounterClock clock(counter);
    const std::int64_t startMs = clock.clockMs();
    EXPECT_EQ(startMs, 0xFFFFF000);
    counter.tick = 0x00000388;  // wrapped: 0x1000 + 0x388 ms later
    EXPECT_EQ(clock.clockMs() - startMs, 0x1388);
    EXPECT_GE(clock.clockMs(), startMs + 5000) << "a display across the wrap still ends";
  }
}

TEST(ClockTest, TheFallbackStandsStillWhileTheTickCountDoes) {
  FakeCounter counter;
  counter.available = false;
  counter.tick = 1000;
  CounterClock clock(counter);
  EXPECT_EQ(clock.clockMs(), 1000);
  EXPECT_EQ(clock.clockMs(), 1000) << "an unchanged tick count is no wrap";
  counter.tick = 1001;
  EXPECT_EQ(clock.clockMs(), 1001);
}

TEST(ClockTest, FallbackTurnsIntoTheCounterOnceItIsUsable) {
  FakeCounter counter;
  counter.available = false;
  counter.tick = 42;
  CounterClock clock(counter);
  EXPECT_EQ(clock.clockMs(), 42);
  counter.available = true;
  counter.ticksPerSecond = 1'000'000;
  counter.count = 7'000;
  EXPECT_EQ(clock.clockMs(), 0);
}

}  // namespace
}  // namespace kantrell
