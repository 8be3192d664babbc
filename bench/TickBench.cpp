// What the plug-in costs the game at every tick of a local match: keeping
// the tick's moment (the ball's location and velocity, the car's location
// and rotation) in the ring of the last ten seconds that "Capture From Game"
// and "CaptureShot" take their shots from.
//
//   scripts/setup.sh build/rel -DCMAKE_BUILD_TYPE=Release && build/rel/bench/qm-bench-tick
//
// Goal: at most 1 us a tick. The benchmark calls the plug-in's tick handler
// as the host's tick event does, with the match's clock a tick later at each
// call; the host's own work around the event (moving the world, calling its
// hooks) is not the plug-in's and is left out.

#include <benchmark/benchmark.h>
#include <fmt/format.h>
#include <unistd.h>

#include <filesystem>

#include "QMTraining/QMTraining.h"
#include "pluginsdk/sim/Host.h"
#include "sandbox/PluginLoader.h"

namespace fs = std::filesystem;

namespace {

void recordTick(benchmark::State& state) {
  const fs::path dir = fs::temp_directory_path() / fmt::format("qm-bench-tick-{}", getpid());
  fs::create_directories(dir);
  {
    sim::Host host(dir);
    auto plugin = std::make_unique<QMTraining>();
    attachPlugin(host, *plugin);
    host.startLocalMatch();
    host.ball()->velocity = {1000, 2000, 500};
    sim::Server& server = *host.server();
    for (auto _ : state) {
      // The match started a tick earlier than at the last call. After a
      // minute the match starts again, as the ring has long been full.
      server.startedAt -= 1.0 / 120;
      if (server.startedAt < -60) server.startedAt = 0;
      plugin->onGameTick();
    }
    if (plugin->moments.empty()) state.SkipWithError("no tick was recorded");
    plugin->onUnload();
    host.releaseCallbacks();
  }
  std::error_code ignored;
  fs::remove_all(dir, ignored);
}

}  // namespace

BENCHMARK(recordTick)->Unit(benchmark::kNanosecond);

BENCHMARK_MAIN();
