#pragma once
// Drawing one of n items with chance proportional to its whole-number
// weight, at a cost that grows with log n: changing a weight and drawing
// both walk a Fenwick tree, so "Focus on misses" costs the same per press
// whether 10 or 10,000 shots are selected. Standard library only.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "playback/RandomDraws.h"

// The weight "Focus on misses" gives a shot: (recent misses + 1) /
// (recent attempts + 2) over its latest outcomes (at most 10), as a whole
// number over a common denominator so that sums are exact. A shot never
// tried weighs one half; one made 10 times of 10, 1/12; one missed 10 times
// of 10, 11/12.
uint64_t missFocusWeight(uint32_t recentAttempts, uint32_t recentMakes);
// The common denominator: every (attempts + 2) for 0..10 attempts divides it.
inline constexpr uint64_t missFocusDenominator = 27720;

class WeightedDraw {
 public:
  // n items, each of weight 0.
  void reset(size_t n);
  size_t size() const { return tree_.size(); }
  void set(size_t item, uint64_t weight);
  uint64_t weight(size_t item) const { return weights_[item]; }
  uint64_t total() const { return total_; }
  // An item drawn with chance weight/total; nothing when the total is 0.
  // One draw from `draw` while the total fits its range (up to 2^31 - 1:
  // 84,000 shots of the greatest miss weight), more beyond.
  bool pick(const DrawNumber& draw, size_t& item) const;

 private:
  // The item whose span of the running sums holds `target` (< total).
  size_t find(uint64_t target) const;

  std::vector<uint64_t> tree_;  // Fenwick tree over weights_, 1-based inside
  std::vector<uint64_t> weights_;
  uint64_t total_ = 0;
};
