// What one press of the reset key costs in training as the pack grows.
//
//   cmake -S . -B build/rel -G Ninja -DCMAKE_BUILD_TYPE=Release &&
//     cmake --build build/rel --target qm-bench-press && build/rel/bench/qm-bench-press
//
// The plug-in runs in a simulated local match with training on and its own
// (production) source of random draws. For packs of 10, 1,000 and 10,000
// shots, with one shot or every shot selected, it times presses
// ("controlInput": the draw, the modifiers, placing car and ball) in batches,
// each batch right after a batch of the reference case (10 shots, all
// selected), so both meet the same machine. The summary gives each case's
// median per press, the reference's, and the median of the paired ratios
// case/reference with their spread (the middle half of the pairs), of
// wall-clock and of this thread's CPU time. Goal: every ratio at most 1.2.
// "Focus on misses" (training_order 3) at 10,000 selected shots, weighted as
// if each had its own record of misses, is timed against the same
// reference (10 shots in the Random order). Goal: a ratio of at most 1.5.
//
// It also times the shot picker alone, for 10 and 10,000 selected shots in
// each training order: its share of a press.

#include <benchmark/benchmark.h>
#include <fmt/format.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "QMTraining/Log.h"
#include "QMTraining/QMTraining.h"
#include "bench/RoundStats.h"
#include "playback/ShotPicker.h"
#include "playback/WeightedDraw.h"
#include "pluginsdk/sim/Host.h"
#include "sandbox/PluginLoader.h"

namespace fs = std::filesystem;

namespace {

using roundstats::median;
using roundstats::quantile;

constexpr int packSizes[] = {10, 1000, 10000};
constexpr int referenceShots = 10;
// Presses per timed batch: long enough for the clock, short enough that the
// launches they leave pending stay few.
constexpr int pressesPerBatch = 50;
constexpr int focusOnMisses = static_cast<int>(TrainingOrder::FocusOnMisses);
constexpr int focusShots = 10000;

// A plug-in in a local match on a scratch folder, with a pack of `shots`
// shots filled in directly, `selected` of them (1 or all) selected, and
// training on.
class Trainer {
 public:
  Trainer(int shots, int selected, int order)
      : root_(fs::temp_directory_path() / fmt::format("qm-bench-press-{}-{}-{}-{}", getpid(), shots, selected, order)),
        host_((fs::create_directories(root_), root_)) {
    attachPlugin(host_, plugin_);
    host_.execute("quellmark_enabled 1");
    host_.execute("car_enabled 1");
    host_.startLocalMatch();
    for (int i = 0; i < shots; ++i) {
      Shot shot;
      shot.ballLocationX = static_cast<float>(i);
      shot.ballVelocityY = -2500;
      shot.ballSpeed = 3200;
      shot.name = fmt::format("Shot_{}", i);
      plugin_.shots.push_back(shot);
    }
    plugin_.shotSelections.assign(static_cast<size_t>(shots), selected == shots);
    // One selected shot sits in the middle, away from either end.
    plugin_.shotSelections[static_cast<size_t>(shots / 2)] = true;
    plugin_.trainingActive = true;
    host_.execute(fmt::format("training_order {}", order));
    // Every weight a shot can have, spread over the pack.
    for (int i = 0; i < shots; ++i) {
      plugin_.shotPicker.setWeight(static_cast<size_t>(i), missFocusWeight(10, static_cast<uint32_t>(i % 11)));
    }
  }
  ~Trainer() {
    plugin_.onUnload();
    host_.releaseCallbacks();
    globalCvarManager.reset();
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  Trainer(const Trainer&) = delete;
  Trainer& operator=(const Trainer&) = delete;

  void press() { plugin_.controlInput(); }
  // Lets the pending launches fire and forgets the call record, untimed.
  void settle() {
    host_.advance(0.25);
    host_.calls.clear();
  }
  bool placedTheBall() const { return !plugin_.noShotSelected && !host_.calls.empty(); }

 private:
  fs::path root_;
  sim::Host host_;
  QMTraining plugin_;
};

using Case = std::tuple<int, int, int>;  // shots, selected, order

Trainer& trainer(int shots, int selected, int order) {
  static std::map<Case, std::unique_ptr<Trainer>> trainers;
  std::unique_ptr<Trainer>& found = trainers[{shots, selected, order}];
  if (!found) found = std::make_unique<Trainer>(shots, selected, order);
  return *found;
}

roundstats::Timing timeBatch(Trainer& t) {
  const roundstats::Timing batch = roundstats::timeOnce([&] {
    for (int i = 0; i < pressesPerBatch; ++i) t.press();
  });
  t.settle();
  return {batch.real / pressesPerBatch, batch.cpu / pressesPerBatch};
}

struct Result {
  double pressUs;
  double referenceUs;
  double ratio;
  double lowQuartile;
  double highQuartile;
  double cpuRatio;
};
std::map<Case, Result> results;

void BM_Press(benchmark::State& state) {
  const int shots = static_cast<int>(state.range(0));
  const int selected = static_cast<int>(state.range(1));
  const int order = static_cast<int>(state.range(2));
  Trainer& reference = trainer(referenceShots, referenceShots, 0);
  Trainer& measured = trainer(shots, selected, order);
  measured.press();  // the first press of a pack may build what later ones reuse
  if (!measured.placedTheBall()) {
    state.SkipWithError("the press placed nothing");
    return;
  }
  measured.settle();

  std::vector<double> press, ref, ratios, cpuRatios;
  for (auto _ : state) {
    roundstats::Timing r = timeBatch(reference);
    roundstats::Timing m = timeBatch(measured);
    state.SetIterationTime(m.real);
    press.push_back(m.real);
    ref.push_back(r.real);
    ratios.push_back(m.real / r.real);
    cpuRatios.push_back(m.cpu / r.cpu);
  }
  Result result{median(press) * 1e6,
                median(ref) * 1e6,
                median(ratios),
                quantile(ratios, 0.25),
                quantile(ratios, 0.75),
                median(cpuRatios)};
  results[{shots, selected, order}] = result;
  state.counters["ref_us"] = result.referenceUs;
  state.counters["ratio"] = result.ratio;
  state.counters["cpu_ratio"] = result.cpuRatio;
}

void registerCases() {
  auto* bench = benchmark::RegisterBenchmark("Press", BM_Press);
  for (int shots : packSizes) {
    bench->Args({shots, 1, 0});
    bench->Args({shots, shots, 0});
  }
  bench->Args({focusShots, focusShots, focusOnMisses});
  // A fixed number of pairs: the iteration time given is that of one press,
  // so a minimum time would ask for far more pairs than needed.
  bench->ArgNames({"shots", "selected", "order"})->UseManualTime()->Iterations(400)->Unit(benchmark::kMicrosecond);
}

// The picker alone, with every shot selected, as a press calls it.
void BM_Pick(benchmark::State& state) {
  const std::vector<bool> flags(static_cast<size_t>(state.range(0)), true);
  const auto order = static_cast<TrainingOrder>(state.range(1));
  const DrawNumber draw = randomDeviceDraws();
  ShotPicker picker;
  for (auto _ : state) benchmark::DoNotOptimize(picker.next(flags, order, draw));
}
BENCHMARK(BM_Pick)->ArgsProduct({{10, 10000}, {0, 1, 2, 3}})->ArgNames({"shots", "order"});

void printSummary() {
  fmt::print("\n{:<26} {:>10} {:>10} {:>7} {:>15} {:>9}\n", "case (medians)", "press us", "ref us",
             "ratio", "middle half", "cpu ratio");
  for (int shots : packSizes) {
    for (int selected : {1, shots}) {
      auto found = results.find({shots, selected, 0});
      if (found == results.end()) continue;
      const Result& r = found->second;
      fmt::print("{:<26} {:>10.2f} {:>10.2f} {:>7.2f} {:>7.2f}-{:<7.2f} {:>9.2f}\n",
                 fmt::format("{} shots, {} selected", shots, selected == shots ? "all" : "1"),
                 r.pressUs, r.referenceUs, r.ratio, r.lowQuartile, r.highQuartile, r.cpuRatio);
    }
  }
  if (auto found = results.find({focusShots, focusShots, focusOnMisses}); found != results.end()) {
    const Result& r = found->second;
    fmt::print("{:<26} {:>10.2f} {:>10.2f} {:>7.2f} {:>7.2f}-{:<7.2f} {:>9.2f}\n",
               fmt::format("{} focus on misses", focusShots), r.pressUs, r.referenceUs, r.ratio, r.lowQuartile,
               r.highQuartile, r.cpuRatio);
    fmt::print("Focus on misses at {} selected against Random at {}: ratio {:.2f} (goal: at most 1.5)\n",
               focusShots, referenceShots, r.ratio);
  }
}

}  // namespace

int main(int argc, char** argv) {
  registerCases();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  printSummary();
  benchmark::Shutdown();
  return 0;
}
