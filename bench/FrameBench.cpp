// What one frame of the settings window costs as the loaded pack grows.
//
//   scripts/setup.sh build/rel -DCMAKE_BUILD_TYPE=Release && build/rel/bench/qm-bench-frames
//
// For packs of 10, 1,000 and 10,000 shots (real files, loaded by the
// window's first frame) it draws frames of every main tab and of both shot
// editor tabs, headless, and reports the CPU time of one frame: Dear
// ImGui's NewFrame, the plug-in's Render, and Dear ImGui's Render. A table
// at the end gives each tab's time at 10,000 shots over its time at 10
// (the median of the repetitions when --benchmark_repetitions is given).
// Goal: at most 1.2 and under 1 ms per frame; the shot editor's tabs and
// the "Shots" tab, which show the shot preview, under 150 us, also while a
// slider moves. The editor opened by "Capture From Game", its slider
// "Seconds ago" above the tabs, under 100 us. The machine's other load
// shows as noise; repetitions (five, say) steady the figures.

#include <benchmark/benchmark.h>
#include <fmt/format.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "QMTraining/QMTraining.h"
#include "pluginsdk/sim/Host.h"
#include "pluginsdk/sim/Motion.h"
#include "sandbox/PluginLoader.h"
#include "uidriver/UiDriver.h"

namespace fs = std::filesystem;

namespace {

// 20 shots are the first to fill the list regions of the "Shots" and
// "Training Packs" tabs: from there on the rows in view stay the same.
constexpr int packSizes[] = {10, 20, 1000, 10000};

// The tabs a frame can show; the editor's two come after "Create New Shot".
const std::vector<std::string> mainTabs = {"How To Use", "Training Packs", "Shots", "Training",
                                           "Training Settings", "Settings", "Change Logs"};
const std::vector<std::string> editorTabs = {"Ball", "Car location"};
// The "Ball" tab of the editor "Capture From Game" opens, under its slider.
const std::string capturedTab = "Ball, captured";

// A fresh host folder holding one pack of `shots` shot files, the plug-in
// loaded into it and its window drawn once, which loads the pack.
class LoadedWindow {
 public:
  explicit LoadedWindow(int shots)
      : dir_(fs::temp_directory_path() / fmt::format("qm-bench-frames-{}-{}", getpid(), shots)),
        host_((fs::create_directories(dir_), dir_)) {
    std::string pack = (host_.dataDir() / "QMShots/TrainingPacks/Bench Pack").string();
    fs::create_directories(pack);
    for (int i = 1; i <= shots; ++i) {
      std::ofstream(fmt::format("{}/{} Shot.shot", pack, i))
          << fmt::format("92.5 {} 3500 0 -2500 800 0 -4608 17 16384 {}_Shot 3200 0 0", i, i);
    }
    attachPlugin(host_, plugin_);
    // Ten seconds of a flying ball to capture from.
    host_.setWorldStepper(sim::ballStepper());
    host_.startLocalMatch();
    host_.ball()->velocity = {1000, 2000, 800};
    host_.advance(10);
    plugin_.AdoptGuiContext(reinterpret_cast<uintptr_t>(ui_.context()));
    ui_.setDraw([this] { plugin_.Render(); });
    plugin_.WindowOpened();
    ui_.frames(3);
  }
  ~LoadedWindow() {
    plugin_.onUnload();
    host_.releaseCallbacks();
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  // Brings `tab` to the front as a player would: by clicking it (the
  // editor's tabs through "Create New Shot", the main ones through its
  // "Cancel").
  bool show(const std::string& tab) {
    const bool captured = tab == capturedTab;
    const bool inEditor =
        captured || std::find(editorTabs.begin(), editorTabs.end(), tab) != editorTabs.end();
    if (plugin_.editorOpen && captured != capturing_) {
      // What "Cancel" does (the button may be scrolled out of view).
      plugin_.loadSelectedShot();
      plugin_.editorOpen = false;
      plugin_.restoreAfterEditor();
      ui_.frames(2);
    }
    capturing_ = captured;
    if (inEditor && !plugin_.editorOpen) {
      if (!ui_.click("Shots")) return false;
      if (!ui_.click(captured ? "Capture From Game" : "Create New Shot")) return false;
      ui_.frames(2);
      // A pack of 60 shots or more asks before it grows.
      if (ui_.shows("Adding more shots to this pack may cause lag issues.") && !ui_.click("OK")) {
        return false;
      }
      ui_.frames(2);
    } else if (!inEditor && plugin_.editorOpen) {
      if (!ui_.click("Ball") || !ui_.click("Cancel")) return false;
      ui_.frames(2);
    }
    if (!ui_.click(captured ? "Ball" : tab)) return false;
    ui_.frames(2);
    return !captured || ui_.shows("Seconds ago");
  }

  // One frame, as the host draws it, without the driver reading it back.
  // With `moveShot` the working shot changes first, as while a slider is
  // dragged, so the shot preview foretells a new flight.
  void frame(bool moveShot) {
    if (moveShot) plugin_.ballVelocityZ = plugin_.ballVelocityZ == 500 ? -500 : 500;
    ImGui::SetCurrentContext(ui_.context());
    ImGui::NewFrame();
    plugin_.Render();
    ImGui::Render();
  }

  size_t loadedShots() const { return plugin_.shots.size(); }

 private:
  fs::path dir_;
  sim::Host host_;
  QMTraining plugin_;
  uidriver::UiDriver ui_{1280, 800};
  bool capturing_ = false;
};

LoadedWindow& windowWith(int shots) {
  static std::map<int, std::unique_ptr<LoadedWindow>> windows;
  std::unique_ptr<LoadedWindow>& window = windows[shots];
  if (!window) window = std::make_unique<LoadedWindow>(shots);
  return *window;
}

void drawFrames(benchmark::State& state, const std::string& tab, bool moveShot) {
  const int shots = static_cast<int>(state.range(0));
  LoadedWindow& window = windowWith(shots);
  if (window.loadedShots() != static_cast<size_t>(shots)) {
    state.SkipWithError("the pack did not load");
    return;
  }
  if (!window.show(tab)) {
    state.SkipWithError("the tab is not shown");
    return;
  }
  for (auto _ : state) window.frame(moveShot);
  state.SetLabel(fmt::format("{} shots", shots));
}

// Collects each run's CPU time per frame for the closing table.
class TableReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred || run.iterations == 0) continue;
      // With repetitions, their median stands for the case.
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
      const std::string name = run.run_name.str();
      const size_t slash = name.rfind('/');
      microseconds_[name.substr(0, slash)][std::stoi(name.substr(slash + 1))] =
          run.GetAdjustedCPUTime() * 1e6 / benchmark::GetTimeUnitMultiplier(run.time_unit);
    }
  }
  void printTable() const {
    fmt::print("\n{:<26}", "CPU per frame (us)");
    for (int shots : packSizes) fmt::print(" {:>8}", shots);
    fmt::print(" {:>11}\n", "10000 / 10");
    for (const auto& entry : microseconds_) {
      const std::string& tab = entry.first;
      const std::map<int, double>& times = entry.second;
      const auto at = [&](int n) { return times.count(n) ? times.at(n) : 0.0; };
      fmt::print("{:<26}", tab);
      for (int shots : packSizes) fmt::print(" {:>8.1f}", at(shots));
      fmt::print(" {:>11.2f}\n", at(10) > 0 ? at(10000) / at(10) : 0.0);
    }
  }

 private:
  std::map<std::string, std::map<int, double>> microseconds_;
};

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> tabs = mainTabs;
  tabs.insert(tabs.end(), editorTabs.begin(), editorTabs.end());
  tabs.push_back(capturedTab);
  for (const std::string& tab : tabs) {
    auto* benchmark = benchmark::RegisterBenchmark(("Frame/" + tab).c_str(), drawFrames, tab, false);
    for (int shots : packSizes) benchmark->Arg(shots);
    benchmark->Unit(benchmark::kMicrosecond);
  }
  // The editor while a slider moves: the shot preview's flight is foretold
  // in every frame instead of once.
  auto* dragged = benchmark::RegisterBenchmark("Frame/Ball, slider moving", drawFrames, "Ball", true);
  for (int shots : packSizes) dragged->Arg(shots);
  dragged->Unit(benchmark::kMicrosecond);
  benchmark::Initialize(&argc, argv);
  TableReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printTable();
  benchmark::Shutdown();
  return 0;
}
