#include "playback/ShotPicker.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace {

// A draw over low..high as an index. A source that answers outside the range
// it was asked for is held to it, so no index can leave the list.
size_t drawIndex(const DrawNumber& draw, size_t low, size_t high) {
  int32_t drawn = draw(static_cast<int32_t>(low), static_cast<int32_t>(high));
  return std::clamp(static_cast<size_t>(std::max(drawn, 0)), low, high);
}

}  // namespace

TrainingOrder trainingOrderFromValue(int32_t value) {
  switch (value) {
    case static_cast<int32_t>(TrainingOrder::EachOncePerRound):
      return TrainingOrder::EachOncePerRound;
    case static_cast<int32_t>(TrainingOrder::InListOrder):
      return TrainingOrder::InListOrder;
    default:
      return TrainingOrder::Random;
  }
}

std::optional<size_t> ShotPicker::next(const std::vector<bool>& selections, TrainingOrder order,
                                       const DrawNumber& draw) {
  const size_t hash = std::hash<std::vector<bool>>{}(selections);
  if (!built_ || selections.size() != builtSize_ || hash != builtHash_) {
    rebuildFor(selections);
    builtHash_ = hash;
  }
  if (order != order_) {
    order_ = order;
    restart();
  }
  if (selected_.empty()) return std::nullopt;

  switch (order_) {
    case TrainingOrder::EachOncePerRound:
      if (position_ >= round_.size()) {
        shuffleRound(draw);
        position_ = 0;
      }
      lastPlayed_ = round_[position_++];
      return lastPlayed_;
    case TrainingOrder::InListOrder:
      if (position_ >= selected_.size()) position_ = 0;
      lastPlayed_ = selected_[position_++];
      return lastPlayed_;
    case TrainingOrder::Random:
      break;
  }
  return selected_[drawIndex(draw, 0, selected_.size() - 1)];
}

void ShotPicker::restart() {
  round_.clear();
  position_ = 0;
  lastPlayed_.reset();
}

void ShotPicker::rebuildFor(const std::vector<bool>& selections) {
  selected_.clear();
  for (size_t i = 0; i < selections.size(); ++i) {
    if (selections[i]) selected_.push_back(i);
  }
  built_ = true;
  builtSize_ = selections.size();
  restart();
}

// A uniform order of the selected shots, filled from the front: each place
// takes a shot drawn from those not placed yet. Across a round boundary the
// first place is drawn from every shot but the one just played, which keeps
// the order uniform among those that do not repeat it.
void ShotPicker::shuffleRound(const DrawNumber& draw) {
  round_ = selected_;
  const size_t count = round_.size();
  size_t place = 0;
  if (lastPlayed_ && count >= 2) {
    auto last = std::find(round_.begin(), round_.end(), *lastPlayed_);
    if (last != round_.end()) {
      std::iter_swap(last, round_.end() - 1);
      std::swap(round_[0], round_[drawIndex(draw, 0, count - 2)]);
      place = 1;
    }
  }
  for (; place + 1 < count; ++place) std::swap(round_[place], round_[drawIndex(draw, place, count - 1)]);
}
