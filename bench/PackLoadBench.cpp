// What a pack load costs beside the bare file-system work it cannot avoid.
//
//   cmake -S . -B build/rel -G Ninja -DCMAKE_BUILD_TYPE=Release &&
//     cmake --build build/rel --target qm-bench-packs && build/rel/bench/qm-bench-packs
//
// For packs of 60, 1,000 and 10,000 normalised shots it times loadTrainingPack
// and a floor: list the folder and open, read and close every file with plain
// system calls. For 1,000 shot files of the older layout (".txt", a name that
// differs from the file's, no pitch or roll) it times the first load, which
// renames and repairs every file, against a floor that reads each file and
// rewrites it through a temporary file and a rename. At the end it prints
// load/floor for each case and the peak heap of loading 10,000 shots, counted
// by this program's own operator new, above a plug-in holding an empty pack.

#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <fmt/format.h>
#include <malloc.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "QMTraining/QMTraining.h"
#include "pluginsdk/sim/Host.h"

// ---- heap accounting ----
// Counts only while `counting` is set, so the timed loads pay nothing for
// it. Counting from a starting point gives live and peak bytes relative to
// that point: blocks freed meanwhile that were allocated before count as
// negative, exactly as in a full count.

namespace {
std::atomic<bool> counting{false};
std::atomic<long long> liveDelta{0};
std::atomic<long long> peakDelta{0};

void* allocate(size_t size) {
  void* p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  if (counting.load(std::memory_order_relaxed)) {
    auto bytes = static_cast<long long>(malloc_usable_size(p));
    long long live = liveDelta.fetch_add(bytes) + bytes;
    long long peak = peakDelta.load();
    while (live > peak && !peakDelta.compare_exchange_weak(peak, live)) {
    }
  }
  return p;
}

void release(void* p) noexcept {
  if (!p) return;
  if (counting.load(std::memory_order_relaxed)) {
    liveDelta.fetch_sub(static_cast<long long>(malloc_usable_size(p)));
  }
  std::free(p);
}
}  // namespace

void* operator new(size_t size) { return allocate(size); }
void* operator new[](size_t size) { return allocate(size); }
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, size_t) noexcept { release(p); }
void operator delete[](void* p, size_t) noexcept { release(p); }

namespace {

namespace fs = std::filesystem;

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

// ---- floors: the same files through plain system calls ----

size_t readWholeFile(const std::string& path, char* buffer, size_t size) {
  int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return 0;
  ssize_t got = ::read(fd, buffer, size);
  ::close(fd);
  return got > 0 ? static_cast<size_t>(got) : 0;
}

template <typename Visit>
void forEachFile(const std::string& folder, Visit visit) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  while (dirent* entry = ::readdir(dir)) {
    if (entry->d_name[0] == '.') continue;
    visit(folder + "/" + entry->d_name);
  }
  ::closedir(dir);
}

void readFloor(const std::string& folder) {
  char buffer[4096];
  forEachFile(folder, [&](const std::string& path) {
    benchmark::DoNotOptimize(readWholeFile(path, buffer, sizeof buffer));
  });
}

void rewriteFloor(const std::string& folder) {
  char buffer[4096];
  forEachFile(folder, [&](const std::string& path) {
    size_t size = readWholeFile(path, buffer, sizeof buffer);
    std::string temporary = path + ".tmp";
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return;
    benchmark::DoNotOptimize(::write(fd, buffer, size));
    ::close(fd);
    ::rename(temporary.c_str(), path.c_str());
  });
}

// ---- the benchmarks ----
// Load and floor run alternately, so that both meet the same machine (other
// work on the cores, the page cache); the benchmark's own time is the
// load's, and its counters carry the floor and the two ratios: of wall-clock
// time, and of this thread's CPU time, which other work on the machine does
// not inflate.

struct Samples {
  std::vector<double> real;
  std::vector<double> cpu;
};

double median(std::vector<double> values) {
  if (values.empty()) return 0;
  auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

double threadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Runs `work` once and records its wall-clock and CPU seconds; returns the
// wall-clock seconds.
template <typename Work>
double timeOnce(Samples& samples, Work work) {
  auto start = std::chrono::steady_clock::now();
  double cpuStart = threadCpuSeconds();
  work();
  double cpu = threadCpuSeconds() - cpuStart;
  double real = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  samples.real.push_back(real);
  samples.cpu.push_back(cpu);
  return real;
}

void reportPair(benchmark::State& state, const Samples& load, const Samples& floor) {
  state.counters["load_ms"] = median(load.real) * 1e3;
  state.counters["floor_ms"] = median(floor.real) * 1e3;
  state.counters["ratio"] = median(load.real) / median(floor.real);
  state.counters["cpu_ratio"] = median(load.cpu) / median(floor.cpu);
}

void BM_LoadPack(benchmark::State& state) {
  auto count = static_cast<int>(state.range(0));
  std::string folder = world().plugin().dataFolderPath() + "/QMShots/TrainingPacks/" + packOf(count);
  int32_t index = world().packIndex(packOf(count));
  Samples load;
  Samples floor;
  for (auto _ : state) {
    timeOnce(floor, [&] { readFloor(folder); });
    state.SetIterationTime(timeOnce(load, [&] { world().plugin().loadTrainingPack(index); }));
  }
  if (world().plugin().shots.size() != static_cast<size_t>(count)) {
    state.SkipWithError("the load did not keep every shot");
  }
  reportPair(state, load, floor);
}

void BM_FirstLoadOlderShots(benchmark::State& state) {
  std::string folder = world().plugin().dataFolderPath() + "/QMShots/TrainingPacks/" + legacyPack;
  int32_t index = world().packIndex(legacyPack);
  Samples load;
  Samples floor;
  for (auto _ : state) {
    makeLegacyPack();
    timeOnce(floor, [&] { rewriteFloor(folder); });
    makeLegacyPack();
    state.SetIterationTime(timeOnce(load, [&] { world().plugin().loadTrainingPack(index); }));
  }
  if (world().plugin().shots.size() != legacyCount) {
    state.SkipWithError("the load did not keep every shot");
  }
  reportPair(state, load, floor);
}

BENCHMARK(BM_LoadPack)
    ->Arg(60)
    ->Arg(1000)
    ->Arg(10000)
    ->MinTime(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstLoadOlderShots)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

// Keeps every run's counters by name for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      std::string name = run.run_name.function_name;
      if (!run.run_name.args.empty()) name += "/" + run.run_name.args;
      results[name] = {run.counters.at("load_ms").value, run.counters.at("floor_ms").value,
                       run.counters.at("ratio").value, run.counters.at("cpu_ratio").value};
    }
  }
  struct Result {
    double loadMs;
    double floorMs;
    double ratio;
    double cpuRatio;
  };
  std::map<std::string, Result> results;
};

void printRatio(const SummaryReporter& report, const std::string& label, const std::string& name) {
  auto found = report.results.find(name);
  if (found == report.results.end()) return;
  const auto& r = found->second;
  std::printf("%-32s %10.3f ms %10.3f ms %8.2f %10.2f\n", label.c_str(), r.loadMs, r.floorMs,
              r.ratio, r.cpuRatio);
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
  liveDelta = 0;
  peakDelta = 0;
  counting = true;
  plugin.loadTrainingPack(world().packIndex(packOf(10000)));
  counting = false;
  constexpr double mebibyte = 1024.0 * 1024.0;
  std::printf("10,000-shot load: peak heap %.2f MiB above an empty pack, %.2f MiB kept\n",
              static_cast<double>(peakDelta.load()) / mebibyte,
              static_cast<double>(liveDelta.load()) / mebibyte);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  for (int count : {60, 1000, 10000}) makeNormalisedPack(count);
  world().addPack(legacyPack);

  SummaryReporter report;
  benchmark::RunSpecifiedBenchmarks(&report);

  std::printf("\n%-32s %13s %13s %8s %10s\n", "case (medians)", "load", "floor", "ratio",
              "cpu ratio");
  for (int count : {60, 1000, 10000}) {
    printRatio(report, fmt::format("load {} shots", count), fmt::format("BM_LoadPack/{}", count));
  }
  printRatio(report, "first load of 1000 older shots", "BM_FirstLoadOlderShots");
  printPeakMemory();
  benchmark::Shutdown();
  return 0;
}
