#pragma once
// Which of the shots selected for training a press plays next.
//
// The picker is given the selection flags (one per shot of the loaded pack)
// on every pick and notices by itself when they differ from the flags it
// last saw, so whoever edits the flags need not tell it. No order costs more
// per pick as more shots are selected (a round is shuffled a place at a
// time, as it is played); seeing whether the flags changed reads them a
// machine word at a time (10,000 flags in a fraction of a microsecond), and
// only the first pick after a change walks them one by one. The flags are
// told apart by their count and a 64-bit hash of them: a change that keeps
// both (about one chance in 10^19) goes unnoticed until the next restart.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "playback/RandomDraws.h"
#include "playback/WeightedDraw.h"

// The values of the console variable "training_order".
enum class TrainingOrder : int32_t {
  // Every pick draws uniformly among the selected shots: one draw over
  // 0..selected-1, whatever the order of the list.
  Random = 0,
  // Every selected shot plays once per round, in a uniformly drawn order:
  // one draw per pick, none for the last shot of a round. When two or more
  // are selected, a round never starts with the shot that ended the one
  // before.
  EachOncePerRound = 1,
  // The selected shots in the order of the list, from the first, wrapping
  // around. No draws.
  InListOrder = 2,
  // Each pick draws among the selected shots with the weights set by
  // setWeight (the shots missed most come most often): one draw while the
  // weights sum to less than 2^31.
  FocusOnMisses = 3,
};

// A value of "training_order"; anything outside 0..3 reads as Random.
TrainingOrder trainingOrderFromValue(int32_t value);

class ShotPicker {
 public:
  // The index into `selections` of the shot to play next, or nothing (and no
  // draw) when no flag is set. A change of the flags or of the order since
  // the last pick starts again, as restart does.
  std::optional<size_t> next(const std::vector<bool>& selections, TrainingOrder order,
                             const DrawNumber& draw);

  // The next pick starts a new round (EachOncePerRound) or the list from its
  // first selected shot (InListOrder), with no memory of earlier picks.
  void restart();

  // The weight of shots[shotIndex] under FocusOnMisses; a shot never given
  // one weighs missFocusWeight(0, 0). Costs a walk of a tree of the selected
  // shots, not of the list.
  void setWeight(size_t shotIndex, uint64_t weight);

 private:
  void rebuildFor(const std::vector<bool>& selections);
  size_t nextOfRound(const DrawNumber& draw);
  uint64_t weightOf(size_t shotIndex) const;

  // The flags the lists below were built from, told apart by size and hash.
  bool built_ = false;
  size_t builtSize_ = 0;
  size_t builtHash_ = 0;
  TrainingOrder order_ = TrainingOrder::Random;

  std::vector<size_t> selected_;  // indices of the set flags, in list order
  // EachOncePerRound: the selected shots, those of this round played so far
  // in front in play order; the rest are drawn from as the round goes on.
  std::vector<size_t> round_;
  size_t position_ = 0;      // the next place in round_ or selected_
  bool roundEnded_ = false;  // round_ ends with the shot that ended a round

  // FocusOnMisses: the weight of every shot of the list, and a draw over
  // those of selected_ (item i is selected_[i]).
  std::vector<uint64_t> weights_;
  WeightedDraw weightedDraw_;
  std::vector<size_t> selectedPlace_;  // per shot, its place in selected_ or npos
};
