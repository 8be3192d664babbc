// The ring of the last ten seconds of play: what it keeps at any tick rate,
// which tick a moment asked for yields, and when it starts afresh.

#include "playback/MomentRing.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

Moment tick(double time) {
  Moment moment;
  moment.time = time;
  moment.ballLocation = {static_cast<float>(time), 0, 0};
  return moment;
}

TEST(MomentRing, KeepsExactlyTheLastTenSecondsAtAnyTickRate) {
  for (double rate : {30.0, 120.0, 1000.0, 5000.0}) {
    MomentRing ring;
    const double step = 1 / rate;
    const int ticks = static_cast<int>(std::lround(15 * rate));
    for (int i = 0; i <= ticks; ++i) ring.record(tick(i * step));
    const double now = ticks * step;
    EXPECT_NEAR(ring.recordedSeconds(), 10, 2 * MomentRing::minSpacing + step) << rate;
    EXPECT_LE(ring.recordedSeconds(), 10 + 1e-9) << rate;
    EXPECT_DOUBLE_EQ(ring.at(0)->time, now) << rate;
    EXPECT_NEAR(ring.at(99)->time, now - 10, 2 * MomentRing::minSpacing + step) << rate;
    // The nearest kept tick: within half a gap of the moment asked for.
    EXPECT_NEAR(ring.at(2.5)->time, now - 2.5, std::max(step, MomentRing::minSpacing)) << rate;
    ring.record(tick(1));  // a new match: no tick of the old one is handed out
    EXPECT_DOUBLE_EQ(ring.at(99)->time, 1) << rate;
  }
}

TEST(MomentRing, PicksTheNearestTick) {
  MomentRing ring;
  EXPECT_FALSE(ring.at(0));
  for (double time : {1.0, 1.1, 1.3, 1.3}) ring.record(tick(time));  // a paused game ticks on one time
  const std::pair<double, double> rows[] = {{0, 1.3}, {0.09, 1.3}, {0.11, 1.1}, {0.2, 1.1}, {0.26, 1.0}, {-1, 1.3}};
  for (const auto& [ago, time] : rows) EXPECT_DOUBLE_EQ(ring.at(ago)->time, time) << ago;
  EXPECT_FLOAT_EQ(ring.at(0.2)->ballLocation[0], 1.1f);
  ring.clear();
  EXPECT_TRUE(ring.empty());
}

TEST(MomentRing, StartsAfreshWhenTheClockGoesBack) {
  MomentRing ring;
  for (double time : {1.0, 1.1, 1.3}) ring.record(tick(time));
  ring.record(tick(0.5));  // a new match
  EXPECT_DOUBLE_EQ(ring.recordedSeconds(), 0);
  EXPECT_DOUBLE_EQ(ring.at(5)->time, 0.5);
  ring.record(tick(0.75));  // two ticks span the time between them
  EXPECT_DOUBLE_EQ(ring.at(5)->time, 0.5);
}

}  // namespace
