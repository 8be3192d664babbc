#pragma once
// What a player did with the shots of one pack: per shot file, the attempts,
// the makes, the latest outcomes and when the last attempt was; and, for
// "remember_training", whether the shot is ticked for training. One text file
// per pack holds them (the layout is in resultsfile below). Standard library
// only: no host, no window, no file access here.

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "storage/Outcome.h"

namespace resultsfile {

// The file in the pack's folder. Hidden, and of no shot extension, so no
// listing of shots ever shows it.
inline constexpr std::string_view fileName = ".stats";
// The first line; a file without it (or of another version) is not read.
inline constexpr std::string_view versionLine = "QMTraining results 1";
// Then one line per shot, fields separated by one space, the file name last
// (it may hold spaces):
//   ATTEMPTS MAKES OUTCOMES LAST_ATTEMPT TICKED FILE_NAME
// OUTCOMES: "1" for a make and "0" for a miss, oldest first, at most
// keptOutcomes of them; "-" for none. LAST_ATTEMPT: seconds since the Unix
// epoch, 0 for never. TICKED: 1 or 0.
inline constexpr std::string_view noOutcomes = "-";

inline constexpr size_t keptOutcomes = 50;
// The "recent" rate is over this many of the latest outcomes.
inline constexpr size_t recentOutcomes = 10;

}  // namespace resultsfile

struct ShotResult {
  uint32_t attempts = 0;
  uint32_t makes = 0;  // at most attempts
  // The latest outcomes, bit 0 the newest; 1 = make. outcomeCount of them
  // count (at most keptOutcomes, at most attempts).
  uint64_t outcomes = 0;
  uint32_t outcomeCount = 0;
  int64_t lastAttempt = 0;  // seconds since the Unix epoch; 0 = never
  bool ticked = false;

  // Adds one attempt at `when` (seconds since the epoch).
  void record(bool made, int64_t when);
  // Over the latest recentOutcomes outcomes (fewer while fewer were made).
  uint32_t recentAttempts() const;
  uint32_t recentMakes() const;
  // Whether the outcome `age` attempts ago (0 = the newest) was a make; age
  // below outcomeCount.
  bool madeAt(uint32_t age) const { return (outcomes >> age) & 1u; }
  bool tried() const { return attempts > 0; }
};

// Keyed by the shot's file name within its pack ("Left wall.shot").
using PackResults = std::map<std::string, ShotResult, std::less<>>;

// The file's text for `results`. Entries with nothing to keep (never tried,
// not ticked) and names no line can hold (a line break in them) are left
// out.
std::string encodeResults(const PackResults& results);

// Reads a results file's text; the whole text or nothing. Fails, saying
// which line and why, on another version, a line that is not well formed or
// figures that contradict each other (more makes than attempts).
Outcome<PackResults> decodeResults(std::string_view text);

// "7/12 · 60%": makes/attempts and the recent rate; "" for a shot never
// tried.
std::string resultSummary(const ShotResult& result);
