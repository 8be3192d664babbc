#include "storage/Leftovers.h"

#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "storage/PackTextFormat.h"
#include "storage/ShotFileFormat.h"
#include "storage/ShotResults.h"
#include "platform/Utf8Path.h"

namespace fs = std::filesystem;

namespace {

// importFolderPrefix, digits, importFolderSuffix: the name an import gives
// its work folder, and nothing a player would name a pack.
bool isWorkFolderName(std::string_view name) {
  if (!name.starts_with(packtext::importFolderPrefix) ||
      !name.ends_with(packtext::importFolderSuffix)) {
    return false;
  }
  name.remove_prefix(packtext::importFolderPrefix.size());
  name.remove_suffix(packtext::importFolderSuffix.size());
  if (name.empty()) return false;
  for (char c : name) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// "." + a shot file's name + temporarySuffix.
bool isTemporaryShotName(std::string_view name) {
  if (!name.starts_with('.') || !name.ends_with(shotfile::temporarySuffix)) return false;
  name.remove_prefix(1);
  name.remove_suffix(shotfile::temporarySuffix.size());
  // A shot file's name has something before its extension.
  for (std::string_view extension : {shotfile::shotExtension, shotfile::legacyExtension}) {
    if (name.size() > extension.size() && name.ends_with(extension)) return true;
  }
  return false;
}

// The entries of a folder with their types, links not followed; empty when
// it cannot be listed.
std::vector<fs::directory_entry> entriesOf(const fs::path& folder) {
  std::vector<fs::directory_entry> entries;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    entries.push_back(*it);
  }
  return entries;
}

}  // namespace

LeftoverCleanup removeLeftovers(const std::string& packsFolder) {
  LeftoverCleanup cleanup;
  for (const fs::directory_entry& entry : entriesOf(pathFromUtf8(packsFolder))) {
    std::error_code error;
    if (!entry.is_directory(error) || entry.is_symlink(error)) continue;
    const std::string name = utf8FromPath(entry.path().filename());
    if (isWorkFolderName(name)) {
      fs::remove_all(entry.path(), error);
      ++(error ? cleanup.notRemoved : cleanup.workFolders);
      continue;
    }
    for (const fs::directory_entry& file : entriesOf(entry.path())) {
      const fs::file_type type = file.symlink_status(error).type();
      if (error || (type != fs::file_type::regular && type != fs::file_type::symlink)) continue;
      if (!isTemporaryShotName(utf8FromPath(file.path().filename()))) continue;
      fs::remove(file.path(), error);
      ++(error ? cleanup.notRemoved : cleanup.temporaryFiles);
    }
    // The pack's results file is written the same way.
    removeTemporaryFiles(utf8FromPath(entry.path()), resultsfile::fileName, cleanup);
  }
  return cleanup;
}

void removeTemporaryFiles(const std::string& folder, std::string_view suffix, LeftoverCleanup& cleanup) {
  for (const fs::directory_entry& file : entriesOf(pathFromUtf8(folder))) {
    std::error_code error;
    const fs::file_type type = file.symlink_status(error).type();
    if (error || (type != fs::file_type::regular && type != fs::file_type::symlink)) continue;
    const std::string fileName = utf8FromPath(file.path().filename());
    std::string_view name = fileName;
    if (!name.starts_with('.') || !name.ends_with(shotfile::temporarySuffix)) continue;
    name.remove_suffix(shotfile::temporarySuffix.size());
    if (name.size() < suffix.size() + 1 || !name.ends_with(suffix)) continue;
    fs::remove(file.path(), error);
    ++(error ? cleanup.notRemoved : cleanup.otherFiles);
  }
}

std::string leftoverCleanupLine(const LeftoverCleanup& cleanup) {
  if (cleanup.workFolders + cleanup.temporaryFiles + cleanup.otherFiles + cleanup.unfinishedTrashEntries +
          cleanup.notRemoved ==
      0) {
    return {};
  }
  std::string line = "Removed what interrupted work left in the training packs: " +
                     std::to_string(cleanup.workFolders) + " import folder(s), " +
                     std::to_string(cleanup.temporaryFiles) + " temporary shot file(s)";
  if (cleanup.otherFiles > 0) {
    line += "; " + std::to_string(cleanup.otherFiles) + " other temporary file(s) of results, exports or key binds";
  }
  if (cleanup.unfinishedTrashEntries > 0) {
    line += "; " + std::to_string(cleanup.unfinishedTrashEntries) + " unfinished trash entr(ies)";
  }
  if (cleanup.notRemoved > 0) {
    line += "; " + std::to_string(cleanup.notRemoved) + " could not be removed";
  }
  return line;
}
