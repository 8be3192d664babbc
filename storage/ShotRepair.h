#pragma once
// Older shot files lack the speed, the pitch or the roll. A shot read from
// one gets the values the pack loader gives it: the usual speed, and no
// rotation. Standard library only.

#include <string>

#include "storage/Shot.h"

namespace shotrepair {

// Each true when it changed something: a pitch or roll still holding
// shotfile::rotationAbsentMarker becomes 0; a speed of 0 becomes
// shotfile::defaultBallSpeed.
bool fillMissingRotations(Shot& shot);
bool fillMissingSpeed(Shot& shot);
bool fillMissingValues(Shot& shot);

// Creates folder + shotname::fileNameFor(name) holding the values of
// `original`, the missing ones filled in, in one write (createShotFile's
// rules). True when it was written.
bool createRepairedCopy(const Shot& original, const std::string& folder, const std::string& name);

}  // namespace shotrepair
