#include "storage/AtomicWrite.h"

#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/DurableFile.h"
#include "platform/Utf8Path.h"
#include "storage/ShotName.h"

namespace fs = std::filesystem;
using durable::NewFile;

namespace {

// Writes the temporary file for `path` and renames it over `path`, with the
// given permission bits if any. A temporary file that an interrupted earlier
// write left in the way is removed, only when it is found there: a write
// that meets none costs no removal.
bool writeThroughTemporary(const std::string& path, std::string_view text,
                           std::optional<fs::perms> permissions) {
  const fs::path temporary = pathFromUtf8(shotname::temporaryPathFor(path));
  std::error_code error;
  NewFile written = durable::writeNewFile(temporary, text);
  if (written == NewFile::notCreated && fs::remove(temporary, error)) {
    written = durable::writeNewFile(temporary, text);
  }
  if (written == NewFile::notCreated) return false;  // nothing of ours is there
  if (written == NewFile::notWritten) {
    fs::remove(temporary, error);
    return false;
  }
  if (permissions) fs::permissions(temporary, *permissions, error);
  // Flushed before the rename and the folder after it: a power cut leaves
  // the old text or the whole new one, never an empty file.
  error = durable::renameDurably(temporary, pathFromUtf8(path));
  if (error) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return false;
  }
  return true;
}

// No file name to write to (a record that never had a file): the temporary
// file would land in the working folder.
bool namesAFile(const std::string& path) { return !path.empty() && path.back() != '/'; }

}  // namespace

bool replaceFileText(const std::string& path, std::string_view text) {
  if (!namesAFile(path)) return false;
  const fs::path target = pathFromUtf8(path);
  std::error_code error;
  const fs::file_status existing = fs::status(target, error);
  if (existing.type() == fs::file_type::none) return false;  // the test itself failed
  const bool replacing = fs::exists(existing);
  if (replacing) {
    if (!fs::is_regular_file(existing)) return false;
    // Renaming would replace a file the player made read-only, which a
    // plain write could not touch.
    if (!std::ofstream(target, std::ios::out | std::ios::binary | std::ios::app)) return false;
  } else if (fs::symlink_status(target, error).type() != fs::file_type::not_found) {
    return false;  // a link that leads nowhere is the player's, not ours to replace
  }
  return writeThroughTemporary(path, text,
                               replacing ? std::optional(existing.permissions()) : std::nullopt);
}

bool replaceOwnFileText(const std::string& path, std::string_view text) {
  return namesAFile(path) && writeThroughTemporary(path, text, std::nullopt);
}
