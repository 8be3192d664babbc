#include "playback/ShotPicker.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace {

constexpr size_t npos = static_cast<size_t>(-1);

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
    case static_cast<int32_t>(TrainingOrder::FocusOnMisses):
      return TrainingOrder::FocusOnMisses;
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
      return nextOfRound(draw);
    case TrainingOrder::InListOrder:
      if (position_ >= selected_.size()) position_ = 0;
      return selected_[position_++];
    case TrainingOrder::FocusOnMisses: {
      size_t place = 0;
      if (weightedDraw_.pick(draw, place)) return selected_[place];
      break;
    }
    case TrainingOrder::Random:
      break;
  }
  return selected_[drawIndex(draw, 0, selected_.size() - 1)];
}

void ShotPicker::restart() {
  position_ = 0;
  roundEnded_ = false;
}

void ShotPicker::rebuildFor(const std::vector<bool>& selections) {
  selected_.clear();
  selectedPlace_.assign(selections.size(), npos);
  for (size_t i = 0; i < selections.size(); ++i) {
    if (!selections[i]) continue;
    selectedPlace_[i] = selected_.size();
    selected_.push_back(i);
  }
  round_ = selected_;
  weightedDraw_.reset(selected_.size());
  for (size_t place = 0; place < selected_.size(); ++place) {
    weightedDraw_.set(place, weightOf(selected_[place]));
  }
  built_ = true;
  builtSize_ = selections.size();
  restart();
}

uint64_t ShotPicker::weightOf(size_t shotIndex) const {
  return shotIndex < weights_.size() ? weights_[shotIndex] : missFocusWeight(0, 0);
}

void ShotPicker::setWeight(size_t shotIndex, uint64_t weight) {
  if (shotIndex >= weights_.size()) weights_.resize(shotIndex + 1, missFocusWeight(0, 0));
  weights_[shotIndex] = weight;
  if (shotIndex < selectedPlace_.size() && selectedPlace_[shotIndex] != npos) {
    weightedDraw_.set(selectedPlace_[shotIndex], weight);
  }
}

// A uniform order, drawn a place at a time: each place takes a shot drawn
// from those the round has not played yet, whatever order round_ holds them
// in. Across a round boundary the shot that ended the last round is still at
// the end, so the first place is drawn from every place but that one, which
// keeps the order uniform among those that do not repeat it.
size_t ShotPicker::nextOfRound(const DrawNumber& draw) {
  const size_t count = round_.size();
  if (position_ == count) {
    position_ = 0;
    roundEnded_ = true;
  }
  const size_t place = position_++;
  if (place + 1 < count) {
    const size_t last = place == 0 && roundEnded_ ? count - 2 : count - 1;
    std::swap(round_[place], round_[drawIndex(draw, place, last)]);
  }
  return round_[place];
}
