#include "storage/AtomicWrite.h"

#include <filesystem>
#include <fstream>

#include "storage/ShotName.h"

namespace fs = std::filesystem;

namespace {

bool writeWholeFile(const std::string& path, std::string_view text) {
  std::ofstream out(path, std::ios::out | std::ios::trunc);
  if (!out) return false;
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();  // the buffered text meets a full disk here
  return !out.fail();
}

}  // namespace

bool replaceFileText(const std::string& path, std::string_view text) {
  // No file name to write to (a record that never had a file): the
  // temporary file would land in the working folder.
  if (path.empty() || path.back() == '/') return false;
  std::error_code error;
  const fs::file_status existing = fs::status(path, error);
  const bool replacing = fs::exists(existing);
  if (existing.type() == fs::file_type::none) return false;  // the test itself failed
  if (replacing) {
    if (!fs::is_regular_file(existing)) return false;
    // Renaming would replace a file the player made read-only, which a
    // plain write could not touch.
    if (!std::ofstream(path, std::ios::out | std::ios::app)) return false;
  }

  const std::string temporary = shotname::temporaryPathFor(path);
  fs::remove(temporary, error);  // what an interrupted earlier write left
  if (!writeWholeFile(temporary, text)) {
    fs::remove(temporary, error);
    return false;
  }
  if (replacing) fs::permissions(temporary, existing.permissions(), error);
  fs::rename(temporary, path, error);
  if (error) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return false;
  }
  return true;
}
