// What a frame of the settings window costs, and what reading its text back
// adds: the UI driver reads every frame, so tests and sandbox scripts pay it
// on every frame they draw.
//
//   build/dev/bench/qm-bench-ui (a Release build gives the figures that count)

#include <benchmark/benchmark.h>
#include <imgui.h>

#include "tests/support/WindowHarness.h"
#include "uidriver/ShownText.h"

namespace {

// The window with a 60-shot pack, the given tab open.
class OpenWindow {
 public:
  explicit OpenWindow(const char* tab) {
    for (int i = 1; i <= 60; ++i) w.addShot("Pack", "Shot " + std::to_string(i), static_cast<float>(i), i);
    w.openWindow();
    w.openTab(tab);
  }
  WindowHarness w;
};

void windowFrame(benchmark::State& state, const char* tab) {
  OpenWindow open(tab);
  for (auto _ : state) open.w.ui().frame();
  state.counters["texts"] = static_cast<double>(open.w.ui().shown().size());
}

void readShownText(benchmark::State& state, const char* tab) {
  OpenWindow open(tab);
  open.w.ui().frame();
  const ImDrawData& data = *ImGui::GetDrawData();
  size_t texts = 0;
  for (auto _ : state) {
    auto shown = uidriver::readShownText(data, *ImGui::GetIO().Fonts);
    texts = shown.size();
    benchmark::DoNotOptimize(shown);
  }
  state.counters["texts"] = static_cast<double>(texts);
}

BENCHMARK_CAPTURE(windowFrame, howToUse, "How To Use")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(windowFrame, training60Shots, "Training")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(windowFrame, settings, "Settings")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(readShownText, howToUse, "How To Use")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(readShownText, training60Shots, "Training")->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
