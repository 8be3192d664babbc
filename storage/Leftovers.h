#pragma once
// What interrupted work leaves in the packs folder: the hidden folders an
// import or a pack copy is built in (".import-N.tmp", renamed into place
// only when whole) and the hidden temporary files a shot write goes through
// (".NAME.shot.tmp", ".NAME.txt.tmp", renamed over the shot file). Neither is
// ever part of a pack, so both are removed before they pile up: left alone,
// a thousand work folders make every later import fail. The same for the
// temporary files of other whole-file writes (exports, the key-bind file).
// The standard library alone; no host.

#include <cstddef>
#include <string>
#include <string_view>

// What one clean-up found.
struct LeftoverCleanup {
  size_t workFolders = 0;     // removed, with everything in them
  size_t temporaryFiles = 0;  // removed, in pack folders
  size_t otherFiles = 0;      // other temporary files removed (results, exports, key binds)
  size_t unfinishedTrashEntries = 0;  // removed from the trash (storage/Trash.h)
  size_t notRemoved = 0;      // found but still there (a file-system error)
};

// Removes the work folders in `packsFolder` (UTF-8, no trailing "/") and the
// temporary shot and results files in its pack folders. Only for a time when no write of
// this process is under way (start-up, before an import): every such entry
// is then a leftover. A folder that cannot be listed is passed over.
LeftoverCleanup removeLeftovers(const std::string& packsFolder);

// Removes, in `folder` (UTF-8), the temporary files of an interrupted
// replaceFileText (storage/AtomicWrite.h) of files whose names end in
// `suffix`: ".NAME.tmp" for such a NAME. Counted in otherFiles. Only for a
// time when no write of this process is under way.
void removeTemporaryFiles(const std::string& folder, std::string_view suffix, LeftoverCleanup& cleanup);

// The console line saying what a clean-up did; "" when it found nothing.
std::string leftoverCleanupLine(const LeftoverCleanup& cleanup);
