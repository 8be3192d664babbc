#pragma once
// The "Shots" tab's popups, drawn inside its list region where their row
// buttons are; the rows' buttons open them through the window's popup state
// (ShotPopupState). `pack` is the current pack ("TrainingPackNum").

#include <cstdint>

class QMTraining;

void drawShotPopups(QMTraining& plugin, int32_t pack);
