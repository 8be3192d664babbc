#pragma once
// The plug-in in a local match, switched on, with a pack of shots filled in
// directly and a scripted source of random draws.

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/PluginHarness.h"

// Hands out the values a test queued, in order, and keeps every range asked
// for ("0..1", "0..10") so a test can check which draws were made.
class ScriptedDraws {
 public:
  void queue(const std::vector<int32_t>& values) {
    state_->values.insert(state_->values.end(), values.begin(), values.end());
  }
  const std::vector<std::string>& ranges() const { return state_->ranges; }
  size_t left() const { return state_->values.size(); }

  DrawNumber source() {
    return [state = state_](int32_t low, int32_t high) {
      state->ranges.push_back(std::to_string(low) + ".." + std::to_string(high));
      if (state->values.empty()) {
        ADD_FAILURE() << "unexpected draw " << state->ranges.back();
        return low;
      }
      int32_t value = state->values.front();
      state->values.pop_front();
      EXPECT_TRUE(value >= low && value <= high) << value << " outside " << state->ranges.back();
      return value;
    };
  }

 private:
  struct State {
    std::deque<int32_t> values;
    std::vector<std::string> ranges;
  };
  std::shared_ptr<State> state_ = std::make_shared<State>();
};

// A shot with every field distinct, so a copy into the wrong member shows.
inline Shot cornerShot() {
  return Shot{.ballLocationZ = 92.5f, .ballLocationX = -1200, .ballLocationY = 3500,
              .ballVelocityX = 300, .ballVelocityY = -2500, .ballVelocityZ = 800,
              .carLocationX = -1000, .carLocationY = -4608, .carLocationZ = 17,
              .carYaw = 16384, .carPitch = 100, .carRoll = 200,
              .filePath = {}, .folderPath = {}, .name = "Corner Shot", .ballSpeed = 3200};
}

inline Shot namedShot(std::string name, float ballLocationX) {
  Shot shot = cornerShot();
  shot.name = std::move(name);
  shot.ballLocationX = ballLocationX;
  return shot;
}

class PlaybackTest : public ::testing::Test {
 protected:
  PlaybackTest() {
    h.enablePlugin();
    h.startLocalMatch();
    plugin().drawNumber = draws.source();
  }

  QMTraining& plugin() { return h.plugin(); }
  sim::Host& host() { return h.host(); }
  std::vector<std::string>& calls() { return h.host().calls; }

  // Fills the pack with the given shots, none selected for training.
  void loadShots(std::vector<Shot> shots) {
    plugin().shotSelections.assign(shots.size(), false);
    plugin().shots = std::move(shots);
  }
  void selectShot(int index) { h.console("shotNumber1 " + std::to_string(index)); }

  PluginHarness h;
  ScriptedDraws draws;
};
