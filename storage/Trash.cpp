// Putting items into the trash and back. An entry's record is written before
// its item moves in, so an entry never holds an item nobody can place; a
// move is a rename (as quick for a pack of 10,000 shots as for one shot),
// and only where the trash sits on another device a complete copy that is
// then removed at its source.

#include "storage/Trash.h"

#include <exception>
#include <filesystem>
#include <optional>
#include <system_error>

#include "platform/Utf8Path.h"
#include "storage/AtomicWrite.h"
#include "storage/PackListing.h"
#include "storage/ShotName.h"
#include "storage/TrashRecord.h"

namespace fs = std::filesystem;

namespace {

bool exists(const std::string& path) {
  std::error_code error;
  return fs::symlink_status(pathFromUtf8(path), error).type() != fs::file_type::not_found;
}

// Whether something is at `path`; nothing when that cannot be told.
std::optional<bool> taken(const std::string& path) {
  std::error_code error;
  const fs::file_type type = fs::symlink_status(pathFromUtf8(path), error).type();
  if (type == fs::file_type::not_found) return false;
  if (error) return std::nullopt;
  return true;
}

std::string unknownPlace(const std::string& path) { return "Could not look at " + path + " to tell if it is free"; }

// The last component of `path`.
std::string lastPart(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// At most `limit` bytes of `text`, never ending inside a UTF-8 character.
std::string cutUtf8(const std::string& text, size_t limit) {
  if (text.size() <= limit) return text;
  while (limit > 0 && (static_cast<unsigned char>(text[limit]) & 0xC0) == 0x80) --limit;
  return text.substr(0, limit);
}

// Makes the entry's folder, under a name no other entry has, and writes its
// record into it. The value is the entry, with its folder.
Outcome<TrashEntry> openEntry(const std::string& trashFolder, TrashEntry entry, const std::string& label) {
  std::error_code error;
  fs::create_directories(pathFromUtf8(trashFolder), error);
  if (error) return Outcome<TrashEntry>::failure("Could not make the trash folder " + trashFolder + ": " + error.message());
  // A pack name may be as long as a file name may be; the record keeps it whole.
  const std::string base = trashFolder + "/" + trashTimeText(entry.time) + " " + cutUtf8(label, 160);
  std::string folder = base;
  for (int number = 2; !fs::create_directory(pathFromUtf8(folder), error); ++number) {
    if (error || number > 1000) {
      return Outcome<TrashEntry>::failure("Could not make a folder in the trash: " +
                                          (error ? error.message() : std::string("every name is taken")));
    }
    folder = base + " " + std::to_string(number);
  }
  entry.folder = folder;
  if (Status written = writeTrashRecord(entry); !written) {
    fs::remove_all(pathFromUtf8(folder), error);
    return Outcome<TrashEntry>::failure(written.error);
  }
  return Outcome<TrashEntry>::success(std::move(entry));
}

void dropEntry(const TrashEntry& entry) {
  std::error_code ignored;  // it holds nothing but its record
  fs::remove_all(pathFromUtf8(entry.folder), ignored);
}

enum class Moved { no, yes, copiedOnly };

// Moves a file or folder: a rename, or across devices a copy made complete
// first and only then removed at its source. `why` says what went wrong.
Moved moveItem(const std::string& from, const std::string& to, std::string& why) {
  std::error_code error;
  fs::rename(pathFromUtf8(from), pathFromUtf8(to), error);
  if (!error) return Moved::yes;
  if (error != std::errc::cross_device_link) {
    why = error.message();
    return Moved::no;
  }
  fs::copy(pathFromUtf8(from), pathFromUtf8(to), fs::copy_options::recursive, error);
  if (error) {
    why = error.message();
    std::error_code ignored;
    fs::remove_all(pathFromUtf8(to), ignored);
    return Moved::no;
  }
  fs::remove_all(pathFromUtf8(from), error);
  if (!error) return Moved::yes;
  why = error.message();
  return Moved::copiedOnly;
}

// Runs `work`, turning an exception (a path that is no text on Windows, no
// memory) into a failure.
template <typename Result, typename Work>
Result guarded(Work&& work) {
  try {
    return work();
  } catch (const std::exception& error) {
    return Result::failure(std::string("The trash could not be used: ") + error.what());
  }
}

Outcome<TrashEntry> putShot(const std::string& trashFolder, const std::string& shotFile,
                            const std::string& name, int64_t now, TrashKind kind) {
  std::error_code error;
  if (!fs::is_regular_file(pathFromUtf8(shotFile), error)) {
    return Outcome<TrashEntry>::failure("The shot's file " + lastPart(shotFile) + " is gone");
  }
  TrashEntry entry;
  entry.kind = kind;
  entry.item = lastPart(shotFile);
  std::string folder = shotname::folderOf(shotFile);
  if (!folder.empty()) folder.pop_back();
  entry.pack = lastPart(folder);
  entry.name = name;
  entry.time = now;
  entry.shots = 1;
  Outcome<TrashEntry> opened = openEntry(trashFolder, std::move(entry), std::string(shotname::fileStem(shotFile)));
  if (!opened) return opened;
  const std::string target = opened.value.folder + "/" + opened.value.item;
  std::string why;
  if (kind == TrashKind::replacedShot) {
    fs::copy_file(pathFromUtf8(shotFile), pathFromUtf8(target), error);
    if (!error) return opened;
    why = error.message();
  } else {
    const Moved moved = moveItem(shotFile, target, why);
    if (moved == Moved::yes) return opened;
    if (moved == Moved::copiedOnly) {
      return Outcome<TrashEntry>::failure("The shot was copied to the trash but its file could not be removed: " + why);
    }
  }
  dropEntry(opened.value);
  return Outcome<TrashEntry>::failure("Could not put " + lastPart(shotFile) + " in the trash: " + why);
}

// The token a shot line gives its name: the eleventh field.
std::string withNameToken(const std::string& line, const std::string& token) {
  size_t at = 0;
  for (int field = 0; field < 11; ++field) {
    at = line.find_first_not_of(" \t", at);
    if (at == std::string::npos) return line;  // an older line without a name
    if (field == 10) break;
    at = line.find_first_of(" \t\r\n", at);
    if (at == std::string::npos) return line;
  }
  const size_t end = line.find_first_of(" \t\r\n", at);
  return line.substr(0, at) + token + (end == std::string::npos ? "" : line.substr(end));
}

Outcome<std::string> restoreShot(const TrashEntry& entry, const std::string& packsFolder) {
  const std::string packFolder = packsFolder + "/" + entry.pack;
  std::error_code error;
  fs::create_directories(pathFromUtf8(packFolder), error);
  if (error) return Outcome<std::string>::failure("Could not make " + packFolder + ": " + error.message());
  const std::string source = entry.folder + "/" + entry.item;
  std::string name = entry.name;
  std::string fileName = entry.item;
  for (int number = 2;; ++number) {
    const std::optional<bool> used = taken(packFolder + "/" + fileName);
    if (!used) return Outcome<std::string>::failure(unknownPlace(packFolder + "/" + fileName));
    if (!*used) break;
    name = entry.name + " " + std::to_string(number);
    fileName = shotname::fileNameFor(name);
  }
  const std::string target = packFolder + "/" + fileName;
  std::string why;
  if (fileName == entry.item) {
    if (moveItem(source, target, why) == Moved::no) {
      return Outcome<std::string>::failure("Could not put back " + fileName + ": " + why);
    }
    return Outcome<std::string>::success(name);
  }
  Outcome<std::string> text = readTrashedFile(source);
  if (!text) return text;
  if (!replaceFileText(target, withNameToken(text.value, shotname::nameToken(name)))) {
    return Outcome<std::string>::failure("Could not write " + target);
  }
  fs::remove(pathFromUtf8(source), error);  // the entry goes below in any case
  return Outcome<std::string>::success(name);
}

Outcome<std::string> restorePack(const TrashEntry& entry, const std::string& packsFolder,
                                 const std::function<bool(const std::string&)>& packNameTaken) {
  std::error_code error;
  fs::create_directories(pathFromUtf8(packsFolder), error);
  if (error) return Outcome<std::string>::failure("Could not make " + packsFolder + ": " + error.message());
  std::string name = entry.name;
  for (int number = 2;; ++number) {
    const std::optional<bool> used = taken(packsFolder + "/" + name);
    if (!used) return Outcome<std::string>::failure(unknownPlace(packsFolder + "/" + name));
    if (!*used && !packNameTaken(name)) break;
    name = entry.name + " " + std::to_string(number);
  }
  std::string why;
  if (moveItem(entry.folder + "/" + entry.item, packsFolder + "/" + name, why) == Moved::no) {
    return Outcome<std::string>::failure("Could not put back the training pack " + entry.name + ": " + why);
  }
  return Outcome<std::string>::success(name);
}

}  // namespace

Outcome<TrashEntry> moveShotToTrash(const std::string& trashFolder, const std::string& shotFile,
                                    const std::string& name, int64_t now) {
  return guarded<Outcome<TrashEntry>>([&] { return putShot(trashFolder, shotFile, name, now, TrashKind::deletedShot); });
}

Outcome<TrashEntry> copyShotToTrash(const std::string& trashFolder, const std::string& shotFile,
                                    const std::string& name, int64_t now) {
  return guarded<Outcome<TrashEntry>>([&] { return putShot(trashFolder, shotFile, name, now, TrashKind::replacedShot); });
}

Outcome<TrashEntry> movePackToTrash(const std::string& trashFolder, const std::string& packsFolder,
                                    const std::string& packName, int64_t now) {
  return guarded<Outcome<TrashEntry>>([&] {
    const std::string pack = packsFolder + "/" + packName;
    std::error_code error;
    if (!fs::is_directory(pathFromUtf8(pack), error)) {
      return Outcome<TrashEntry>::failure("The training pack folder " + pack + " is gone");
    }
    TrashEntry entry;
    entry.kind = TrashKind::deletedPack;
    entry.pack = entry.item = entry.name = packName;
    entry.time = now;
    entry.shots = listShotFiles(pack, error).size();
    Outcome<TrashEntry> opened = openEntry(trashFolder, std::move(entry), packName);
    if (!opened) return opened;
    std::string why;
    const Moved moved = moveItem(pack, opened.value.folder + "/" + packName, why);
    if (moved == Moved::yes) return opened;
    if (moved == Moved::copiedOnly) {
      return Outcome<TrashEntry>::failure("The training pack was copied to the trash but could not be removed: " + why);
    }
    dropEntry(opened.value);
    return Outcome<TrashEntry>::failure("Could not put the training pack " + packName + " in the trash: " + why);
  });
}

Outcome<RestoredItem> restoreTrashEntry(const TrashEntry& entry, const std::string& packsFolder,
                                        const std::function<bool(const std::string&)>& packNameTaken) {
  return guarded<Outcome<RestoredItem>>([&] {
    if (!exists(entry.folder + "/" + entry.item)) {
      return Outcome<RestoredItem>::failure("This trash entry holds nothing to restore any more");
    }
    Outcome<std::string> restored = entry.kind == TrashKind::deletedPack
                                        ? restorePack(entry, packsFolder, packNameTaken)
                                        : restoreShot(entry, packsFolder);
    if (!restored) return Outcome<RestoredItem>::failure(std::move(restored.error));
    // The item is out: a record left behind lists nothing, and the next
    // start removes it.
    const Status gone = removeTrashEntry(entry);
    return Outcome<RestoredItem>::success({std::move(restored.value), gone.error});
  });
}
