// The console's view of the loaded pack's results: "ShotStats" lists every
// shot with its figures, the shots missed most recently first, and
// "ResetShotStats" forgets them (a console line is its own confirmation).

#include <algorithm>
#include <vector>

#include "QMTraining/Log.h"
#include "QMTraining/QMTraining.h"

namespace {

struct StatsLine {
  std::string name;
  const ShotResult* result;
};

// Recent makes over recent attempts, compared without rounding; a shot never
// tried comes after every tried one.
bool lowerRecentRate(const StatsLine& a, const StatsLine& b) {
  if (!a.result || !b.result) return a.result && !b.result;
  const uint64_t left = uint64_t{a.result->recentMakes()} * std::max(b.result->recentAttempts(), 1u);
  const uint64_t right = uint64_t{b.result->recentMakes()} * std::max(a.result->recentAttempts(), 1u);
  return left < right;
}

}  // namespace

void QMTraining::shotStatsCommand() {
  if (resultsFolder.empty() || shots.empty()) {
    logLine("ShotStats: no training pack is loaded");
    return;
  }
  std::vector<StatsLine> lines;
  lines.reserve(shots.size());
  for (size_t i = 0; i < shots.size(); ++i) {
    const ShotResult* result = resultOf(i);
    lines.push_back({shots[i].displayName(), result && result->tried() ? result : nullptr});
  }
  std::stable_sort(lines.begin(), lines.end(), lowerRecentRate);
  for (const StatsLine& line : lines) {
    if (!line.result) {
      logLine("{}: 0 attempts, 0 makes", line.name);
      continue;
    }
    const uint32_t recent = line.result->recentAttempts();
    const uint32_t percent = recent == 0 ? 0 : (line.result->recentMakes() * 100 + recent / 2) / recent;
    logLine("{}: {} attempts, {} makes, {}% of the last {}", line.name, line.result->attempts,
            line.result->makes, percent, recent);
  }
}

void QMTraining::resetShotStatsCommand() {
  const Status reset = resetPackResults();
  if (reset) {
    logLine("The results of the loaded pack are reset");
  } else {
    logLine("The results were not reset: {}", reset.error);
  }
}
