#pragma once
// Console lines the storage code writes beyond the pack store's own, as
// fmt formats. Where a line names a file or folder, it is the full path.

namespace storagemessages {

// A listed shot file that was not loaded (or copied), and was not touched.
inline constexpr const char* unreadableShot = "Could not read shot file {}; it was left as it is";
// A file system error of a pack operation: the error, then the path.
inline constexpr const char* packError = "Training pack error: {} ({})";
// A folder whose entries could not all be listed: the folder, the error.
inline constexpr const char* unlistedFolder = "Could not list {}: {}";

// A pack an action was asked for that the list no longer holds.
inline constexpr const char* packGone = "This training pack is no longer in the list";

// The trash (storage/Trash.h): a delete it could not keep a copy of, with
// the reason; what "RestoreLast" and the start-up prune did.
inline constexpr const char* deleteRefused = "Could not delete TrainingPack: {}";
inline constexpr const char* overwriteRefused = "Shot file {} was not overwritten: {}";
inline constexpr const char* restoredShot = "Restored shot \"{}\" to training pack {} from the trash";
inline constexpr const char* restoredPack = "Restored training pack \"{}\" from the trash";
// Appended when the emptied entry stayed (the next start removes it).
inline constexpr const char* emptiedEntryLeft = "; its emptied trash entry stays until the next start: {}";
inline constexpr const char* trashEmpty = "The trash is empty: nothing to restore";
inline constexpr const char* restoreFailed = "Could not restore from the trash: {}";
inline constexpr const char* trashPruned = "Removed {} trash entries older than 30 days or past 2,000 shots";
inline constexpr const char* trashNotPruned = "Could not tidy the trash: {}";

}  // namespace storagemessages
