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

// What a pack load does with a shot whose values it has just read from
// shot.filePath (Shot::readValues): the missing values filled in, the file
// normalised (Shot::normalizeShotFile, given `access`) and holding the filled
// values too, the name shown with spaces. Returns what normalising found. For
// a kept shot `unsaved` is set when the filled values could not be written:
// the shot is complete in memory and its file is repaired at the next load.
ShotRead completeRead(Shot& shot, WriteAccess access, bool& unsaved);

// Shot::readValues, then completeRead: every path that reads a shot for
// export or copy reads it exactly as a pack load does, so the marker of an
// absent rotation never reaches a file or a text. `shot` starts as a fresh
// record with only filePath (and folderPath) set.
ShotRead readAsLoaded(Shot& shot, bool& unsaved);

// Creates folder + shotname::fileNameFor(name) holding the values of
// `original`, the missing ones filled in, in one write (createShotFile's
// rules). Succeeds when it was written; otherwise says why.
Status createRepairedCopy(const Shot& original, const std::string& folder, const std::string& name);

}  // namespace shotrepair
