#pragma once
// How the window shows the results of shots: a row's summary coloured from
// red (few recent makes) to green (many), the rolling recent rate of a shot's
// latest attempts as a plot, the "Reset Results" button with its
// confirmation, and the figures of the practice since the plug-in loaded.

#include <string>

#include "storage/ShotResults.h"

class QMTraining;

namespace resultsview {

// Pixels: the plot under the shot preview.
inline constexpr float plotHeight = 48;

// Draws the summary ("7/12 · 60%") on the line of the item before it;
// nothing for a shot never tried.
void drawRowSummary(const ShotResult* result);

// The rate of makes over the latest 10 attempts at each of the latest 50,
// oldest first, as a line `width` pixels wide; a note when there is none.
void drawRecentPlot(const ShotResult* result, float width);

// The tooltip of a shot's checkbox in the "Training" tab: what it does and,
// once the shot was tried, its figures on a second line.
std::string checkboxTooltip(const ShotResult* result);

// "Since loading: 12 attempts, 7 goals (58%)".
std::string sessionLine(uint32_t attempts, uint32_t makes);

// The button, and its popup asking to confirm; "OK" resets the loaded pack's
// results. `open` is the popup's open flag, kept by the window.
void drawResetResults(QMTraining& plugin, bool& open, std::string& failure);

}  // namespace resultsview
