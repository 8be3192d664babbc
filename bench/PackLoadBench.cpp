// What a pack load costs beside the bare file-system work it cannot avoid.
//
//   cmake -S . -B build/rel -G Ninja -DCMAKE_BUILD_TYPE=Release &&
//     cmake --build build/rel --target qm-bench-packs && build/rel/bench/qm-bench-packs
//
// For packs of 60, 1,000 and 10,000 normalised shots it times loadTrainingPack
// against two floors that read the same files and parse nothing: the
// standard library's cheapest way (std::filesystem::directory_iterator, then
// an unbuffered std::fopen, one std::fread and std::fclose per entry) and
// plain system calls (opendir/readdir, open/read/close). For 1,000 shot files
// of the older layout (".txt", a name that differs from the file's, no pitch
// or roll) it times the first load, which renames and repairs every file,
// against a floor that reads each file and rewrites it through a temporary
// file and a rename. Load and floors run interleaved, round after round; the
// summary gives per case the medians, and per floor the median of the rounds'
// ratios load/floor with their middle half and extremes, and the median
// ratio of CPU time. Goals: load/std floor at most 1.2 at 1,000 and 10,000
// shots and 1.3 at 60; the first load of older shots at most 1.3 times its
// floor. Last it prints the peak heap of loading 10,000 shots, counted by
// this program's own operator new, above a plug-in holding an empty pack.

#include <benchmark/benchmark.h>
#include <fmt/format.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "QMTraining/Log.h"
#include "QMTraining/QMTraining.h"
#include "bench/FileFloors.h"
#include "bench/HeapCounter.h"
#include "bench/RoundStats.h"
#include "pluginsdk/sim/Host.h"

namespace {

namespace fs = std::filesystem;
using filefloors::rewriteFloor;
using filefloors::standardFloor;
using filefloors::syscallFloor;
using roundstats::median;
using roundstats::quantile;
using roundstats::timeOnce;
using roundstats::Timing;

// ---- the plug-in in a host on a scratch folder ----

class World {
 public:
  World() : root_(makeRoot()), host_(root_) {
    plugin_.cvarManager = host_.cvarManager();
    plugin_.gameWrapper = host_.gameWrapper();
    plugin_.onLoad();
  }
  ~World() {
    host_.releaseCallbacks();
    globalCvarManager.reset();
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  World(const World&) = delete;
  World& operator=(const World&) = delete;

  QMTraining& plugin() { return plugin_; }

  // The pack's folder (created empty), added to the plug-in's pack list.
  std::string addPack(const std::string& name) {
    std::string folder = plugin_.dataFolderPath() + "/QMShots/TrainingPacks/" + name;
    fs::create_directories(folder);
    plugin_.trainingPacks.push_back(name);
    return folder;
  }
  int32_t packIndex(const std::string& name) const {
    for (size_t i = 0; i < plugin_.trainingPacks.size(); ++i) {
      if (plugin_.trainingPacks[i] == name) return static_cast<int32_t>(i);
    }
    return -1;
  }

 private:
  static fs::path makeRoot() {
    std::string pattern = (fs::temp_directory_path() / "qmbench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    return pattern;
  }

  fs::path root_;
  sim::Host host_;
  QMTraining plugin_;
};

World& world() {
  static World instance;
  return instance;
}

void writeText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::trunc);
  out << text;
}

// A line as the plug-in writes it, for the shot "N) Drill N".
std::string normalisedLine(int n) {
  return fmt::format("{} {} {} 0 -2500 {} 0 -4608 17 {} {})_Drill_{} 3200 0 0", 92.5 + n % 7,
                     -1200 + n % 400, 3500 - n % 900, 800 + n % 50, 16384 - n % 1000, n, n);
}

std::string packOf(int count) { return fmt::format("Pack {}", count); }

void makeNormalisedPack(int count) {
  std::string folder = world().addPack(packOf(count));
  for (int n = 1; n <= count; ++n) {
    writeText(fmt::format("{}/{}) Drill {}.shot", folder, n, n), normalisedLine(n));
  }
}

// The older layout: "ShotsN.txt" holding a name other than its own and no
// pitch or roll, so the first load renames, rewrites and repairs each one.
const char* const legacyPack = "Older Shots";
constexpr int legacyCount = 1000;

void makeLegacyPack() {
  std::string folder = world().plugin().dataFolderPath() + "/QMShots/TrainingPacks/" + legacyPack;
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  fs::create_directories(folder);
  for (int n = 1; n <= legacyCount; ++n) {
    writeText(fmt::format("{}/Shots{}.txt", folder, n),
              fmt::format("{} {} {} 0 -2500 {} 0 -4608 17 {} Wall_Shot_{} 3200", 92.5 + n % 7,
                          -1200 + n % 400, 3500 - n % 900, 800 + n % 50, 16384 - n % 1000, n));
  }
}

// ---- the benchmarks ----
// The load and its floors run interleaved, in an order that turns with each
// round, so that all meet the same machine (other work on the cores, the
// page cache). The benchmark's own time is the load's; the summary compares
// within each round: load/floor of wall-clock time, and of this thread's CPU
// time, which other work on the machine does not inflate.

// The load against one floor over the rounds of a case.
struct Comparison {
  std::vector<double> floorSeconds;
  std::vector<double> ratios;
  std::vector<double> cpuRatios;

  void add(const Timing& load, const Timing& floor) {
    floorSeconds.push_back(floor.real);
    ratios.push_back(load.real / floor.real);
    cpuRatios.push_back(load.cpu / floor.cpu);
  }
};

struct CaseResult {
  std::vector<double> loadSeconds;
  std::vector<Comparison> floors;  // in the order of floorNames
  std::vector<std::string> floorNames;
};
// In the order the cases ran.
std::vector<std::pair<std::string, CaseResult>> results;

// Runs the load and each floor once per round, `prepare` before each run.
template <typename Prepare, typename Load>
void compare(benchmark::State& state, const std::string& name,
             std::vector<std::pair<std::string, std::function<void()>>> floors, Prepare prepare,
             Load load) {
  CaseResult result;
  result.floors.resize(floors.size());
  for (const auto& floor : floors) result.floorNames.push_back(floor.first);
  size_t round = 0;
  for (auto _ : state) {
    const size_t runs = floors.size() + 1;
    std::vector<Timing> timings(runs);
    for (size_t step = 0; step < runs; ++step) {
      const size_t which = (round + step) % runs;  // 0 is the load
      prepare();
      timings[which] = which == 0 ? timeOnce(load) : timeOnce(floors[which - 1].second);
    }
    state.SetIterationTime(timings[0].real);
    result.loadSeconds.push_back(timings[0].real);
    for (size_t f = 0; f < floors.size(); ++f) result.floors[f].add(timings[0], timings[f + 1]);
    ++round;
  }
  state.counters["load_ms"] = median(result.loadSeconds) * 1e3;
  auto same = [&name](const auto& entry) { return entry.first == name; };
  std::erase_if(results, same);  // a rerun of a case replaces it
  results.emplace_back(name, std::move(result));
}

void BM_LoadPack(benchmark::State& state) {
  auto count = static_cast<int>(state.range(0));
  std::string folder = world().plugin().dataFolderPath() + "/QMShots/TrainingPacks/" + packOf(count);
  int32_t index = world().packIndex(packOf(count));
  compare(
      state, fmt::format("load {} shots", count),
      {{"std floor", [&] { standardFloor(folder); }},
       {"syscall floor", [&] { syscallFloor(folder); }}},
      [] {}, [&] { world().plugin().loadTrainingPack(index); });
  if (world().plugin().shots.size() != static_cast<size_t>(count)) {
    state.SkipWithError("the load did not keep every shot");
  }
}

void BM_FirstLoadOlderShots(benchmark::State& state) {
  std::string folder = world().plugin().dataFolderPath() + "/QMShots/TrainingPacks/" + legacyPack;
  int32_t index = world().packIndex(legacyPack);
  compare(
      state, fmt::format("first load of {} older shots", legacyCount),
      {{"rewrite floor", [&] { rewriteFloor(folder); }}}, makeLegacyPack,
      [&] { world().plugin().loadTrainingPack(index); });
  if (world().plugin().shots.size() != legacyCount) {
    state.SkipWithError("the load did not keep every shot");
  }
}

// A fixed number of rounds: enough for stable medians, few enough for the
// 10,000-shot pack and the older files (rewritten before every run).
BENCHMARK(BM_LoadPack)->Arg(60)->Iterations(301)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadPack)->Arg(1000)->Iterations(31)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadPack)->Arg(10000)->Iterations(9)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstLoadOlderShots)->Iterations(7)->UseManualTime()->Unit(benchmark::kMillisecond);

// Per case: the medians of the load and of each floor, and per floor the
// median ratio load/floor over the rounds with the middle half and the
// extremes of the rounds' ratios, and the median ratio of CPU time.
void printSummary() {
  fmt::print("\n{:<32} {:>10} {:<14} {:>10} {:>6} {:>11} {:>11} {:>6}\n", "case (medians)",
             "load ms", "against", "floor ms", "ratio", "middle half", "min-max", "cpu");
  for (const auto& [name, result] : results) {
    for (size_t f = 0; f < result.floors.size(); ++f) {
      const Comparison& c = result.floors[f];
      fmt::print("{:<32} {:>10.3f} {:<14} {:>10.3f} {:>6.2f} {:>5.2f}-{:<5.2f} {:>5.2f}-{:<5.2f} {:>6.2f}\n",
                 f == 0 ? name : "", median(result.loadSeconds) * 1e3, result.floorNames[f],
                 median(c.floorSeconds) * 1e3, median(c.ratios), quantile(c.ratios, 0.25),
                 quantile(c.ratios, 0.75), quantile(c.ratios, 0), quantile(c.ratios, 1),
                 median(c.cpuRatios));
    }
  }
}

// Peak heap while loading the 10,000-shot pack, above the plug-in holding an
// empty pack; and what the loaded shots keep afterwards.
void printPeakMemory() {
  QMTraining& plugin = world().plugin();
  std::string empty = "Empty";
  world().addPack(empty);
  plugin.loadTrainingPack(world().packIndex(empty));  // writes its default shot
  plugin.shots.clear();
  plugin.shots.shrink_to_fit();
  plugin.shotSelections.clear();
  plugin.shotSelections.shrink_to_fit();
  heapcounter::start();
  plugin.loadTrainingPack(world().packIndex(packOf(10000)));
  heapcounter::stop();
  constexpr double mebibyte = 1024.0 * 1024.0;
  std::printf("10,000-shot load: peak heap %.2f MiB above an empty pack, %.2f MiB kept\n",
              static_cast<double>(heapcounter::peakBytes()) / mebibyte,
              static_cast<double>(heapcounter::liveBytes()) / mebibyte);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  for (int count : {60, 1000, 10000}) makeNormalisedPack(count);
  world().addPack(legacyPack);

  benchmark::RunSpecifiedBenchmarks();
  printSummary();
  printPeakMemory();
  benchmark::Shutdown();
  return 0;
}
