#include "playback/WeightedDraw.h"

#include <algorithm>
#include <bit>
#include <limits>

uint64_t missFocusWeight(uint32_t recentAttempts, uint32_t recentMakes) {
  const uint64_t attempts = std::min<uint32_t>(recentAttempts, 10);
  const uint64_t misses = attempts - std::min<uint64_t>(recentMakes, attempts);
  return (misses + 1) * missFocusDenominator / (attempts + 2);
}

void WeightedDraw::reset(size_t n) {
  tree_.assign(n, 0);
  weights_.assign(n, 0);
  total_ = 0;
}

void WeightedDraw::set(size_t item, uint64_t weight) {
  if (item >= weights_.size()) return;
  const uint64_t old = weights_[item];
  weights_[item] = weight;
  total_ = total_ - old + weight;
  // Unsigned wrap-around adds the difference whichever way it goes.
  const uint64_t change = weight - old;
  for (size_t i = item + 1; i <= tree_.size(); i += i & (~i + 1)) tree_[i - 1] += change;
}

size_t WeightedDraw::find(uint64_t target) const {
  size_t position = 0;  // items before it sum to at most target
  for (size_t step = std::bit_floor(tree_.size()); step > 0; step >>= 1) {
    const size_t next = position + step;
    if (next <= tree_.size() && tree_[next - 1] <= target) {
      position = next;
      target -= tree_[next - 1];
    }
  }
  return position;
}

bool WeightedDraw::pick(const DrawNumber& draw, size_t& item) const {
  if (total_ == 0) return false;
  constexpr uint64_t oneDraw = std::numeric_limits<int32_t>::max();
  uint64_t target = 0;
  if (total_ <= oneDraw) {
    const int32_t drawn = draw(0, static_cast<int32_t>(total_ - 1));
    target = std::min<uint64_t>(static_cast<uint64_t>(std::max(drawn, 0)), total_ - 1);
  } else {
    // Two draws of 31 bits each, with the numbers past the last whole
    // multiple of the total drawn again, so that every target is as likely.
    const uint64_t span = uint64_t{1} << 62;
    const uint64_t limit = span - span % total_;
    do {
      const auto high = static_cast<uint64_t>(std::max(draw(0, static_cast<int32_t>(oneDraw)), 0));
      const auto low = static_cast<uint64_t>(std::max(draw(0, static_cast<int32_t>(oneDraw)), 0));
      target = ((high << 31) | low) & (span - 1);
    } while (target >= limit);
    target %= total_;
  }
  item = std::min(find(target), tree_.size() - 1);
  return true;
}
