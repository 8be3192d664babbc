// The ring of the last ten seconds of play: what it keeps at any tick rate,
// which tick a moment asked for yields, and when it starts afresh; a moment
// in the editor's terms; and "CaptureShot" in a host.

#include "playback/MomentRing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "playback/MomentCapture.h"
#include "pluginsdk/sim/Motion.h"
#include "tests/support/PluginHarness.h"

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

// What a capture takes from the ring, what it makes of it, and "CaptureShot"
// in a host.
namespace {

constexpr float nan = std::numeric_limits<float>::quiet_NaN();
constexpr float inf = std::numeric_limits<float>::infinity();

TEST(MomentRing, KeepsNoTickWithoutATime) {
  MomentRing ring;
  ring.record(tick(1.3));
  ring.record(tick(std::nan("")));
  EXPECT_DOUBLE_EQ(ring.at(0)->time, 1.3);
  EXPECT_FALSE(ring.at(std::nan("")));  // nor answers a moment that is no number
}

// A moment beside the editor's ranges, and the speeds and angles it takes.
Moment wildMoment() {
  Moment moment;
  moment.ballLocation = {-5000, 5200, 93};  // a ball in a goal: as it was
  moment.ballVelocity = {7000, -2000, 0};
  moment.carLocation = {100, -4608, 2};
  moment.carRotation = {-65536 - 100, 32767, 40000};  // pitch, yaw, roll
  return moment;
}

TEST(MomentCapture, AShotIsHeldWithinTheEditorsRanges) {
  const Outcome<CapturedShot> shot = captureShot(wildMoment());
  ASSERT_TRUE(shot) << shot.error;
  EXPECT_EQ(shot.value.ballLocationX, -5000);
  EXPECT_EQ(shot.value.ballLocationY, 5200);
  EXPECT_EQ(shot.value.ballVelocityX, 6000);
  EXPECT_EQ(shot.value.ballVelocityY, -2000);
  EXPECT_TRUE(shot.value.velocityClamped);
  EXPECT_EQ(shot.value.ballSpeed, 4600);  // |v| = 7280, held to the range
  EXPECT_EQ(shot.value.carLocationZ, 10);
  EXPECT_EQ(shot.value.carPitch, -100);
  EXPECT_EQ(shot.value.carYaw, 32764);
  EXPECT_EQ(shot.value.carRoll, 40000 - 65536);

  Moment moment = wildMoment();
  const std::pair<std::array<float, 3>, int32_t> speeds[] = {{{0, 0, 0}, 2985}, {{0, 3000, 4000}, 4600},
                                                             {{1800, 2400, 0}, 3000}, {{-6000, 0, 0}, 4600}};
  for (const auto& [velocity, speed] : speeds) {
    moment.ballVelocity = velocity;
    EXPECT_EQ(captureShot(moment).value.ballSpeed, speed) << velocity[0];
    EXPECT_FALSE(captureShot(moment).value.velocityClamped) << velocity[0];
  }
  const std::pair<int32_t, int32_t> angles[] = {{0, 0}, {32764, 32764}, {-32768, -32764}, {65536, 0},
                                                {-16384 - 65536 * 3, -16384}, {INT32_MIN, 0}};
  for (const auto& [angle, inEditor] : angles) EXPECT_EQ(editorAngle(angle), inEditor) << angle;
}

TEST(MomentCapture, AMomentHoldingNoNumberIsRefused) {
  const struct {
    std::array<float, 3> Moment::*part;
    float value;
  } notFinite[] = {{&Moment::ballLocation, nan}, {&Moment::ballVelocity, inf}, {&Moment::carLocation, -inf}};
  for (const auto& row : notFinite) {
    Moment broken = wildMoment();
    (broken.*row.part)[2] = row.value;
    EXPECT_EQ(captureShot(broken).error, capturemessages::notFinite);
  }
}

// The plug-in in a host whose ball flies, the pack "Pack" holding the shot
// "Captured 1".
class CaptureShotCommand : public testing::Test {
 protected:
  CaptureShotCommand() {
    h.host().setWorldStepper(sim::ballStepper());
    std::filesystem::create_directories(h.packFolder("Pack"));
    writeFile(h.packFolder("Pack") + "/Captured 1.shot", "0 0 0 0 0 0 0 0 17 0 Captured_1 3000 0 0");
  }
  // A second of a local match, the ball thrown at its start.
  void playASecond() {
    h.startLocalMatch();
    h.host().ball()->location = {0, 0, 300};
    h.host().ball()->velocity = {500, 1000, 800};
    h.advance(1);
  }
  // The line runs and logs one line, beginning with `said`.
  void expectOneLine(const std::string& line, const std::string& said) {
    h.host().clearLog();
    h.console(line);
    const auto& lines = h.host().logLines();
    EXPECT_TRUE(lines.size() == 1 && lines[0].rfind(said, 0) == 0) << line << ": " << testing::PrintToString(lines);
  }

  PluginHarness h;
};

TEST_F(CaptureShotCommand, SavesTheMomentAskedForUnderTheNextFreeName) {
  playASecond();
  const Vector then = h.host().ball()->location;
  const Vector thenVelocity = h.host().ball()->velocity;
  h.advance(0.25);
  expectOneLine("CaptureShot 0.25", "Captured the shot Captured 2 from 0.25 seconds ago");
  Shot saved;
  saved.filePath = h.packFolder("Pack") + "/Captured 2.shot";
  ASSERT_EQ(saved.readValues(), ShotRead::kept);
  // The nearest tick kept: the clock's last, short tick gave way to the next.
  EXPECT_NEAR(saved.ballLocationY, then.Y, 0.1);
  EXPECT_NEAR(saved.ballLocationZ, then.Z, 0.1);
  EXPECT_NEAR(saved.ballVelocityZ, thenVelocity.Z, 0.1);
  EXPECT_EQ(saved.carLocationY, -4608);
  EXPECT_EQ(saved.carYaw, 16384);
  EXPECT_EQ(saved.ballSpeed, 2985);
  expectOneLine("CaptureShot 0.1 Near the wall", "Captured the shot Near the wall from 0.1 seconds ago");
  EXPECT_EQ(h.plugin().shots.size(), 3u);
}

TEST_F(CaptureShotCommand, SaysInOneLineWhyItCapturesNothing) {
  expectOneLine("CaptureShot", capturemessages::noMatch);
  h.host().startOnlineMatch();
  expectOneLine("CaptureShot", capturemessages::online);
  h.startLocalMatch();
  expectOneLine("CaptureShot 0 Early", capturemessages::nothingRecorded);
  playASecond();
  expectOneLine("CaptureShot -1", "Usage: CaptureShot [SECONDS_AGO] [NAME], SECONDS_AGO from 0 to 10");
  expectOneLine("CaptureShot 0 Captured 1", "Could not capture the shot Captured 1: ");
  h.host().ball()->location = {nan, 0, 0};
  h.advance(0.1);
  expectOneLine("CaptureShot", capturemessages::notFinite);
  EXPECT_EQ(h.plugin().shots.size(), 1u);
}

TEST_F(CaptureShotCommand, ForgetsAMatchThatEnded) {
  playASecond();
  h.host().leaveMatch();
  h.startLocalMatch();
  expectOneLine("CaptureShot", capturemessages::nothingRecorded);
}

using GameHooks = CaptureShotCommand;

TEST_F(GameHooks, NoHookStaysInTheGameAfterUnload) {
  EXPECT_EQ(h.host().hookedEvents().size(), 3u);  // the tick, a goal, the end of a match
  h.unload();
  EXPECT_TRUE(h.host().hookedEvents().empty());
}

}  // namespace
