#include "ui/ResultsView.h"

#include <imgui.h>

#include <algorithm>
#include <vector>

#include "QMTraining/QMTraining.h"
#include "ui/WindowParts.h"

namespace resultsview {

namespace {

constexpr const char* resetTitle = "Reset The Pack's Results";

uint32_t percentOf(uint32_t part, uint32_t whole) { return whole == 0 ? 0 : (part * 100 + whole / 2) / whole; }

// Red at 0 %, yellow half-way, green at 100 %.
ImVec4 rateColour(uint32_t percent) {
  const float share = static_cast<float>(std::min<uint32_t>(percent, 100)) / 100.0f;
  return {std::min(1.0f, 2.0f * (1.0f - share)), std::min(1.0f, 2.0f * share), 0.2f, 1.0f};
}

}  // namespace

void drawRowSummary(const ShotResult* result) {
  if (!result || !result->tried()) return;
  const std::string summary = resultSummary(*result);
  ImGui::SameLine();
  ImGui::TextColored(rateColour(percentOf(result->recentMakes(), result->recentAttempts())), "%s", summary.c_str());
}

void drawRecentPlot(const ShotResult* result, float width) {
  const uint32_t count = result ? result->outcomeCount : 0;
  if (count == 0) {
    // As high as the plot, so that nothing below moves once it comes.
    const float top = ImGui::GetCursorPosY();
    ImGui::TextDisabled("No attempts of this shot yet");
    const float used = ImGui::GetCursorPosY() - top;
    if (used < plotHeight) ImGui::Dummy(ImVec2(width, plotHeight - used - ImGui::GetStyle().ItemSpacing.y));
    return;
  }
  // points[i]: the rate over the (at most) 10 attempts up to the i-th oldest
  // kept outcome.
  std::vector<float> points;
  points.reserve(count);
  for (uint32_t age = count; age-- > 0;) {
    const uint32_t window = std::min<uint32_t>(static_cast<uint32_t>(resultsfile::recentOutcomes), count - age);
    uint32_t made = 0;
    for (uint32_t back = 0; back < window; ++back) made += result->madeAt(age + back) ? 1 : 0;
    points.push_back(static_cast<float>(percentOf(made, window)));
  }
  ImGui::PlotLines("##recent rate", points.data(), static_cast<int>(points.size()), 0, "recent rate", 0.0f, 100.0f,
                   ImVec2(width, plotHeight));
}

std::string checkboxTooltip(const ShotResult* result) {
  std::string text = "Toggle This Shot";
  if (result && result->tried()) text += "\n" + resultSummary(*result);
  return text;
}

std::string sessionLine(uint32_t attempts, uint32_t makes) {
  return "Since loading: " + std::to_string(attempts) + " attempts, " + std::to_string(makes) + " goals (" +
         std::to_string(percentOf(makes, attempts)) + "%)";
}

void drawResetResults(QMTraining& plugin, bool& open, std::string& failure) {
  if (ImGui::Button("Reset Results")) {
    open = true;
    failure.clear();
  }
  if (open && !ImGui::IsPopupOpen(resetTitle)) ImGui::OpenPopup(resetTitle);
  if (!windowparts::beginAutoSizedModal(resetTitle)) return;
  windowparts::redMessage("Forget every attempt of this pack's shots? This cannot be undone.");
  if (!failure.empty()) windowparts::redMessage(failure.c_str());
  if (windowparts::okPressed(open)) {
    const Status reset = plugin.resetPackResults();
    if (reset) {
      windowparts::closePopup(open);
    } else {
      failure = reset.error;
    }
  }
  ImGui::EndPopup();
}

}  // namespace resultsview
