#include "playback/MomentRing.h"

#include <algorithm>
#include <cmath>
#include <ranges>

const Moment& MomentRing::nth(size_t i) const { return moments_[(first_ + i) % capacity]; }

void MomentRing::clear() {
  first_ = 0;
  count_ = 0;
}

void MomentRing::dropOlderThan(double time) {
  while (count_ > 1 && nth(0).time < time) {
    first_ = (first_ + 1) % capacity;
    --count_;
  }
}

void MomentRing::record(const Moment& moment) {
  // A tick without a time has no place in the order; it would also stop
  // every later tick from ever dropping the oldest.
  if (!std::isfinite(moment.time)) return;
  if (count_ > 0 && moment.time < nth(count_ - 1).time) clear();
  // Thinned: while the newest tick is closer than minSpacing to the one
  // before it, each newer tick takes its place, so every gap but the last
  // is at least minSpacing and the ring spans keptSeconds at any rate.
  if (count_ >= 2 && nth(count_ - 1).time - nth(count_ - 2).time < minSpacing) --count_;
  if (count_ == capacity) {
    first_ = (first_ + 1) % capacity;
    --count_;
  }
  moments_[(first_ + count_) % capacity] = moment;
  ++count_;
  dropOlderThan(moment.time - keptSeconds);
}

double MomentRing::recordedSeconds() const {
  return count_ < 2 ? 0 : nth(count_ - 1).time - nth(0).time;
}

std::optional<Moment> MomentRing::at(double secondsAgo) const {
  if (count_ == 0 || std::isnan(secondsAgo)) return std::nullopt;
  const double wanted = nth(count_ - 1).time - std::clamp(secondsAgo, 0.0, recordedSeconds());
  // The first kept tick at or after `wanted` (the newest at the latest, as
  // `wanted` is never later), by bisection over the ring's positions.
  const auto positions = std::views::iota(size_t{0}, count_);
  const auto first = std::ranges::partition_point(positions, [&](size_t i) { return nth(i).time < wanted; });
  size_t low = std::min(static_cast<size_t>(first - positions.begin()), count_ - 1);
  if (low > 0 && wanted - nth(low - 1).time <= nth(low).time - wanted) --low;
  return nth(low);
}
