// What the trash holds: each entry's record, the list of entries, and
// removing them (one, all, or those past the limits).

#include "storage/TrashRecord.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

#include "platform/Utf8Path.h"
#include "storage/AtomicWrite.h"

namespace fs = std::filesystem;

namespace {

struct KindName {
  TrashKind kind;
  const char* text;
};
constexpr KindName kindNames[] = {{TrashKind::deletedShot, "deleted shot"},
                                  {TrashKind::replacedShot, "replaced shot"},
                                  {TrashKind::deletedPack, "deleted pack"}};

std::string recordPath(const std::string& folder) { return folder + "/" + trashfile::recordName; }

// Lists the entries, oldest last; `error` says why the list may be short.
std::vector<TrashEntry> entriesIn(const std::string& trashFolder, std::error_code& error) {
  // Entries of the same second follow the order their records were written in.
  struct Listed {
    TrashEntry entry;
    fs::file_time_type written;
  };
  std::vector<Listed> listed;
  error.clear();
  if (fs::symlink_status(pathFromUtf8(trashFolder), error).type() == fs::file_type::not_found) {
    error.clear();
    return {};
  }
  for (fs::directory_iterator it(pathFromUtf8(trashFolder), error), end; !error && it != end; it.increment(error)) {
    Outcome<TrashEntry> entry = readTrashRecord(utf8FromPath(it->path()));
    // One whose item is gone (restored by a run that ended before it could
    // remove the record) holds nothing to list.
    std::error_code itemError;
    if (entry && fs::symlink_status(pathFromUtf8(entry.value.folder + "/" + entry.value.item), itemError).type() !=
                     fs::file_type::not_found) {
      const fs::file_time_type written = fs::last_write_time(pathFromUtf8(recordPath(entry.value.folder)), itemError);
      listed.push_back({std::move(entry.value), written});
    }
  }
  std::sort(listed.begin(), listed.end(), [](const Listed& a, const Listed& b) {
    if (a.entry.time != b.entry.time) return a.entry.time > b.entry.time;
    return a.written != b.written ? a.written > b.written : a.entry.folder > b.entry.folder;
  });
  std::vector<TrashEntry> entries;
  entries.reserve(listed.size());
  for (Listed& each : listed) entries.push_back(std::move(each.entry));
  return entries;
}

// Whether an entry folder holds nothing but its record or a temporary file
// of it: what a run that ended part-way through putting an item in or
// taking it out leaves.
bool holdsNoItem(const fs::path& folder) {
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string name = utf8FromPath(it->path().filename());
    const bool temporary = name.starts_with(".") && name.ends_with(".tmp");
    if (name != trashfile::recordName && !temporary) return false;
  }
  return !error;
}

}  // namespace

int64_t systemSecondsNow() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

std::string trashTimeText(int64_t time) {
  const auto seconds = static_cast<std::time_t>(time);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &seconds);
#else
  localtime_r(&seconds, &local);
#endif
  char text[32] = {};
  std::strftime(text, sizeof text, "%Y-%m-%d %H-%M-%S", &local);
  return text;
}

Status writeTrashRecord(const TrashEntry& entry) {
  std::string kind;
  for (const KindName& known : kindNames) {
    if (known.kind == entry.kind) kind = known.text;
  }
  const std::string text = std::string(trashfile::recordHeader) + "\nkind " + kind + "\npack " + entry.pack +
                           "\nitem " + entry.item + "\nname " + entry.name + "\ntime " +
                           std::to_string(entry.time) + "\nshots " + std::to_string(entry.shots) + "\n";
  if (!replaceFileText(recordPath(entry.folder), text)) {
    return Status::failure("Could not write into the trash folder " + entry.folder);
  }
  return {};
}

Outcome<std::string> readTrashedFile(const std::string& path) {
  std::filebuf file;
  if (!openUtf8(file, path, std::ios::in | std::ios::binary)) {
    return Outcome<std::string>::failure("Could not read " + path);
  }
  std::string text{std::istreambuf_iterator<char>(&file), std::istreambuf_iterator<char>()};
  return Outcome<std::string>::success(std::move(text));
}

Outcome<TrashEntry> readTrashRecord(const std::string& folder) {
  Outcome<std::string> text = readTrashedFile(recordPath(folder));
  if (!text) return Outcome<TrashEntry>::failure(text.error);
  std::istringstream lines(text.value);
  std::string line;
  const auto unreadable = [&folder] { return Outcome<TrashEntry>::failure("The trash entry " + folder + " cannot be read"); };
  if (!std::getline(lines, line) || line != trashfile::recordHeader) return unreadable();
  TrashEntry entry;
  entry.folder = folder;
  bool kindFound = false;
  try {
    while (std::getline(lines, line)) {
      const size_t space = line.find(' ');
      const std::string key = line.substr(0, space);
      const std::string value = space == std::string::npos ? "" : line.substr(space + 1);
      if (key == "kind") {
        for (const KindName& known : kindNames) {
          if (value == known.text) entry.kind = known.kind, kindFound = true;
        }
      } else if (key == "pack") {
        entry.pack = value;
      } else if (key == "item") {
        entry.item = value;
      } else if (key == "name") {
        entry.name = value;
      } else if (key == "time") {
        entry.time = std::stoll(value);
      } else if (key == "shots") {
        entry.shots = static_cast<size_t>(std::stoull(value));
      }
    }
  } catch (const std::exception&) {
    return unreadable();
  }
  // An item must name one entry right inside the folders it moves between.
  const bool itemUsable = !entry.item.empty() && entry.item != "." && entry.item != ".." &&
                          entry.item.find_first_of("/\\") == std::string::npos;
  if (!kindFound || !itemUsable || entry.pack.empty() || entry.name.empty()) return unreadable();
  return Outcome<TrashEntry>::success(std::move(entry));
}

Outcome<std::vector<TrashEntry>> listTrash(const std::string& trashFolder) {
  try {
    std::error_code error;
    std::vector<TrashEntry> entries = entriesIn(trashFolder, error);
    if (error) {
      return Outcome<std::vector<TrashEntry>>::failure("Could not list the trash " + trashFolder + ": " + error.message());
    }
    return Outcome<std::vector<TrashEntry>>::success(std::move(entries));
  } catch (const std::exception& error) {
    return Outcome<std::vector<TrashEntry>>::failure(std::string("Could not list the trash: ") + error.what());
  }
}

Status removeTrashEntry(const TrashEntry& entry) {
  try {
    std::error_code error;
    // The record first: a folder without one is no entry, whatever is left.
    fs::remove(pathFromUtf8(recordPath(entry.folder)), error);
    if (!error) fs::remove_all(pathFromUtf8(entry.folder), error);
    if (error) return Status::failure("Could not remove " + entry.folder + ": " + error.message());
    return {};
  } catch (const std::exception& error) {
    return Status::failure(std::string("Could not remove a trash entry: ") + error.what());
  }
}

Outcome<size_t> emptyTrash(const std::string& trashFolder) {
  try {
    std::vector<fs::path> folders;
    std::error_code error;
    if (fs::symlink_status(pathFromUtf8(trashFolder), error).type() == fs::file_type::not_found) {
      return Outcome<size_t>::success(0);
    }
    for (fs::directory_iterator it(pathFromUtf8(trashFolder), error), end; !error && it != end; it.increment(error)) {
      folders.push_back(it->path());
    }
    if (error) return Outcome<size_t>::failure("Could not list the trash " + trashFolder + ": " + error.message());
    size_t removed = 0;
    for (const fs::path& folder : folders) {
      // The record first: a folder without one is no entry, whatever is left.
      if (fs::is_directory(folder, error)) fs::remove(pathFromUtf8(recordPath(utf8FromPath(folder))), error);
      if (!error) fs::remove_all(folder, error);
      if (error) {
        return Outcome<size_t>::failure(std::to_string(removed) + " of " + std::to_string(folders.size()) +
                                        " trash entries removed; could not remove " + utf8FromPath(folder) + ": " +
                                        error.message());
      }
      ++removed;
    }
    return Outcome<size_t>::success(removed);
  } catch (const std::exception& error) {
    return Outcome<size_t>::failure(std::string("Could not empty the trash: ") + error.what());
  }
}

size_t removeUnfinishedEntries(const std::string& trashFolder) {
  std::vector<fs::path> empty;
  std::error_code error;
  try {
  for (fs::directory_iterator it(pathFromUtf8(trashFolder), error), end; !error && it != end; it.increment(error)) {
    if (it->is_directory(error) && holdsNoItem(it->path())) empty.push_back(it->path());
  }
  } catch (const std::exception&) {
    // A name that is no text on Windows: such a folder stays.
  }
  size_t removed = 0;
  for (const fs::path& folder : empty) {
    if (fs::remove_all(folder, error) > 0 && !error) ++removed;
  }
  return removed;
}


Outcome<size_t> pruneTrash(const std::string& trashFolder, int64_t now, int64_t maxAgeSeconds, size_t maxShots) {
  Outcome<std::vector<TrashEntry>> entries = listTrash(trashFolder);
  if (!entries) return Outcome<size_t>::failure(entries.error);
  size_t shots = 0;
  size_t removed = 0;
  for (const TrashEntry& entry : entries.value) {  // newest first: the oldest go
    shots += entry.shots;
    if (now - entry.time <= maxAgeSeconds && shots <= maxShots) continue;
    Status gone = removeTrashEntry(entry);
    if (!gone) return Outcome<size_t>::failure(std::to_string(removed) + " removed, then: " + gone.error);
    ++removed;
  }
  return Outcome<size_t>::success(removed);
}
