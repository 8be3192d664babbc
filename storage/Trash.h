#pragma once
// The trash: what a player deletes or overwrites is moved (or, for an
// overwrite, copied) here first, so that nothing a player does loses a shot
// for good. It lives in the data folder beside the packs folder, never in it,
// so no pack listing shows it. Standard library only; no host.
//
// Each entry is one folder "<YYYY-MM-DD HH-MM-SS> <NAME>" (local time of the
// deletion) in the trash folder holding the item exactly as it was (a shot
// file, or the whole pack folder, byte for byte) and the record
// trashfile::recordName saying what it was and where it goes back to.
//
// Paths are UTF-8 text with "/" separators, folders without a trailing "/".
// Times are seconds since 1970-01-01 UTC. Every failure comes back as a value
// with the real reason in one line for the player; no exception leaves these
// functions.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "storage/Outcome.h"

namespace trashfile {
inline constexpr const char* recordName = "entry.txt";
inline constexpr const char* recordHeader = "QMTRASH 1";
// The limits a prune keeps to, whichever is less: entries older than this go,
// then the oldest while the trash holds more shots than that.
inline constexpr int64_t maxAgeSeconds = 30 * 24 * 60 * 60;
inline constexpr size_t maxShots = 2000;
}  // namespace trashfile

enum class TrashKind { deletedShot, replacedShot, deletedPack };

struct TrashEntry {
  std::string folder;  // the entry's folder
  TrashKind kind = TrashKind::deletedShot;
  std::string pack;    // the pack the shot belonged to, or the pack itself
  std::string item;    // the file or folder name inside the entry (and in the pack)
  std::string name;    // what the player called it: the shot's or the pack's name
  int64_t time = 0;
  size_t shots = 0;
};

// Seconds since 1970-01-01 UTC by the system's clock.
int64_t systemSecondsNow();

// "2026-12-07 16-05-33" for a time, in local time.
std::string trashTimeText(int64_t time);

// Moves the shot file `shotFile` (of the pack folder it is in) into a new
// entry, by a rename, or where the trash is on another device by a full copy
// and then the removal. `name` is the shot's display name. On failure the
// shot file is where it was and no entry is left.
Outcome<TrashEntry> moveShotToTrash(const std::string& trashFolder, const std::string& shotFile,
                                    const std::string& name, int64_t now);

// Copies the bytes `shotFile` holds now into a new entry, before the caller
// overwrites it. On failure no entry is left.
Outcome<TrashEntry> copyShotToTrash(const std::string& trashFolder, const std::string& shotFile,
                                    const std::string& name, int64_t now);

// Moves the pack folder packsFolder/NAME, with everything in it, into a new
// entry (a rename; a full copy and then the removal across devices). On
// failure the pack is where it was, whole, and no entry is left.
Outcome<TrashEntry> movePackToTrash(const std::string& trashFolder, const std::string& packsFolder,
                                    const std::string& packName, int64_t now);

// The entries whose record can be read and whose item is there, newest
// first. A trash folder that
// does not exist is an empty trash.
Outcome<std::vector<TrashEntry>> listTrash(const std::string& trashFolder);

// Puts an entry's item back: a shot into packsFolder/PACK (made again if it
// is gone), a pack as packsFolder/NAME; under its own name, or "NAME 2",
// "NAME 3", ... when that is taken on disk or, for a pack, by
// packNameTaken. A shot back under another name carries that name inside
// too, its only changed bytes. The entry's folder goes once the item is out.
// A name whose place cannot be looked at is no free name: nothing is put
// back then.
struct RestoredItem {
  std::string name;       // the name the item has now
  std::string entryLeft;  // why its emptied entry is still in the trash; "" when it went
};
Outcome<RestoredItem> restoreTrashEntry(const TrashEntry& entry, const std::string& packsFolder,
                                        const std::function<bool(const std::string&)>& packNameTaken);

// Removes an entry for good.
Status removeTrashEntry(const TrashEntry& entry);

// Removes everything in the trash, entries whose record cannot be read
// included; the value is how many entry folders went.
Outcome<size_t> emptyTrash(const std::string& trashFolder);

// Removes the entries past the limits of trashfile, oldest first; the value
// is how many went.
// Removes the entry folders that hold no item (what a run that ended
// part-way through putting an item in or taking it out leaves: a record, a
// temporary file); how many went. Only for a time when no trash work of this
// process is under way (start-up).
size_t removeUnfinishedEntries(const std::string& trashFolder);

Outcome<size_t> pruneTrash(const std::string& trashFolder, int64_t now,
                           int64_t maxAgeSeconds = trashfile::maxAgeSeconds,
                           size_t maxShots = trashfile::maxShots);
