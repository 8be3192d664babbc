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

}  // namespace storagemessages
