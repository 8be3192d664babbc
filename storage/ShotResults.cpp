#include "storage/ShotResults.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <vector>

namespace {

constexpr uint64_t keptMask = (uint64_t{1} << resultsfile::keptOutcomes) - 1;

// The lines of a text, CRLF or LF ended; a last line without an ending
// counts, an empty last one does not.
std::vector<std::string_view> linesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// The next space-separated token of `line`, removed from it.
std::string_view takeToken(std::string_view& line) {
  const size_t end = line.find(' ');
  std::string_view token = line.substr(0, end);
  line.remove_prefix(end == std::string_view::npos ? line.size() : end + 1);
  return token;
}

template <typename Number>
bool parseWhole(std::string_view token, Number& value) {
  if (token.empty() || token.front() == '+' || token.front() == '-') return false;
  const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
  return error == std::errc() && end == token.data() + token.size();
}

// "" when `line` reads into `result` and `name`, else why not.
std::string readLine(std::string_view line, std::string& name, ShotResult& result) {
  std::string_view outcomes;
  std::string_view ticked;
  if (!parseWhole(takeToken(line), result.attempts) || !parseWhole(takeToken(line), result.makes)) {
    return "the attempts and makes are no whole numbers";
  }
  outcomes = takeToken(line);
  if (!parseWhole(takeToken(line), result.lastAttempt)) return "the time is no whole number";
  ticked = takeToken(line);
  if (ticked != "0" && ticked != "1") return "the training mark is neither 0 nor 1";
  result.ticked = ticked == "1";
  if (line.empty()) return "there is no file name";
  name.assign(line);
  if (result.makes > result.attempts) return "more makes than attempts";
  if (outcomes != resultsfile::noOutcomes) {
    if (outcomes.empty() || outcomes.size() > resultsfile::keptOutcomes || outcomes.size() > result.attempts ||
        outcomes.find_first_not_of("01") != std::string_view::npos) {
      return "the outcomes are not 0s and 1s, at most one per attempt";
    }
    // The latest outcomes are some of the attempts: no more makes among them
    // than made in all, nor more misses than missed in all.
    const auto made = static_cast<uint32_t>(std::count(outcomes.begin(), outcomes.end(), '1'));
    if (made > result.makes || outcomes.size() - made > result.attempts - result.makes) {
      return "the outcomes contradict the attempts and makes";
    }
    for (char outcome : outcomes) result.outcomes = (result.outcomes << 1) | (outcome == '1');
    result.outcomeCount = static_cast<uint32_t>(outcomes.size());
  }
  return {};
}

}  // namespace

void ShotResult::record(bool made, int64_t when) {
  ++attempts;
  if (made) ++makes;
  outcomes = ((outcomes << 1) | (made ? 1u : 0u)) & keptMask;
  outcomeCount = std::min<uint32_t>(outcomeCount + 1, resultsfile::keptOutcomes);
  lastAttempt = when;
}

uint32_t ShotResult::recentAttempts() const {
  return std::min<uint32_t>(outcomeCount, resultsfile::recentOutcomes);
}

uint32_t ShotResult::recentMakes() const {
  const uint64_t recentMask = (uint64_t{1} << recentAttempts()) - 1;
  return static_cast<uint32_t>(std::popcount(outcomes & recentMask));
}

std::string encodeResults(const PackResults& results) {
  std::string text(resultsfile::versionLine);
  text += '\n';
  for (const auto& [name, result] : results) {
    if ((!result.tried() && !result.ticked) || name.empty() ||
        name.find_first_of("\r\n") != std::string::npos) {
      continue;
    }
    std::string outcomes;
    for (uint32_t age = result.outcomeCount; age-- > 0;) outcomes += result.madeAt(age) ? '1' : '0';
    if (outcomes.empty()) outcomes = resultsfile::noOutcomes;
    text += std::to_string(result.attempts) + ' ' + std::to_string(result.makes) + ' ' + outcomes + ' ' +
            std::to_string(result.lastAttempt) + ' ' + (result.ticked ? '1' : '0') + ' ' + name + '\n';
  }
  return text;
}

Outcome<PackResults> decodeResults(std::string_view text) {
  const std::vector<std::string_view> lines = linesOf(text);
  if (lines.empty() || lines.front() != resultsfile::versionLine) {
    return Outcome<PackResults>::failure("it does not begin with \"" +
                                         std::string(resultsfile::versionLine) + "\"");
  }
  PackResults results;
  for (size_t i = 1; i < lines.size(); ++i) {
    std::string name;
    ShotResult result;
    std::string why = readLine(lines[i], name, result);
    if (why.empty() && results.count(name)) why = "the shot is listed twice";
    if (!why.empty()) {
      return Outcome<PackResults>::failure("line " + std::to_string(i + 1) + ": " + why);
    }
    results.emplace(std::move(name), result);
  }
  return Outcome<PackResults>::success(std::move(results));
}

std::string resultSummary(const ShotResult& result) {
  if (!result.tried()) return {};
  const uint32_t recent = result.recentAttempts();
  const uint32_t percent = recent == 0 ? 0 : (result.recentMakes() * 100 + recent / 2) / recent;
  return std::to_string(result.makes) + "/" + std::to_string(result.attempts) + " \xC2\xB7 " +
         std::to_string(percent) + "%";
}
