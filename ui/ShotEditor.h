#pragma once
// Starting the shot editor: on the shot `shotIndex` of the loaded pack
// ("Edit"), or on a new shot ("Create New Shot"). Each fills the working
// shot, holds "speed_enabled" at the editor's mode and opens the editor (a
// new shot in a pack of lagWarningThreshold shots or more asks first). False
// when a console variable they write is missing; they stop there.

#include <cstdint>

class QMTraining;
class Shot;

// Makes the shot's values (and its speed) the working shot the editor edits.
void workOnValuesOf(QMTraining& plugin, const Shot& shot);

bool startEditingShot(QMTraining& plugin, int32_t shotIndex);
bool startNewShot(QMTraining& plugin);
