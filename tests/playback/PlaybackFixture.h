#pragma once
// A scripted source of random draws, and the plug-in in a local match with a
// pack of shots filled in directly.

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

// The plug-in switched on in a local match whose score limit is 7. Its pack
// holds cornerShot, "Second" and "Third" (cornerShot at X 2222 and 3333),
// none selected for training; the first is loaded as the working shot.
class Session {
 public:
  Session() {
    h.enablePlugin();
    h.startLocalMatch();
    plugin().drawNumber = draws.source();
    plugin().oldDataMigrated = 1;  // the pack is filled in here, not loaded by the first command
    loadShots({cornerShot(), namedShot("Second", 2222), namedShot("Third", 3333)});
    selectShot(0);
    h.console("LoadShot");
    host().server()->maxScore = 7;
  }

  QMTraining& plugin() { return h.plugin(); }
  sim::Host& host() { return h.host(); }
  std::vector<std::string>& calls() { return h.host().calls; }

  void loadShots(std::vector<Shot> shots) {
    plugin().shotSelections.assign(shots.size(), false);
    plugin().shots = std::move(shots);
  }
  void selectShot(int index) { h.console("shotNumber1 " + std::to_string(index)); }
  void pressReset() { h.console("controlInput"); }

  PluginHarness h;
  ScriptedDraws draws;
};

class PlaybackTest : public ::testing::Test, protected Session {};
