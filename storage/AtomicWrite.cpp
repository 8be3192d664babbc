#include "storage/AtomicWrite.h"

#include <filesystem>
#include <fstream>

#include "storage/ShotName.h"
#include "storage/Utf8Path.h"

namespace fs = std::filesystem;

namespace {

// The temporary file is created, never opened where something already is:
// a link that appeared at its name would otherwise take the text elsewhere.
// The C runtime Windows ships (msvcrt) has no such mode; there the
// temporary name is cleared just before instead.
constexpr std::ios::openmode createOnly =
#if defined(_WIN32)
    std::ios::openmode{};
#elif defined(__cpp_lib_ios_noreplace)
    std::ios::noreplace;
#elif defined(__GLIBCXX__)
    std::ios::__noreplace;
#else
    std::ios::openmode{};
#endif

// Binary, so the bytes are the same on every platform: a text stream on
// Windows would write CRLF. (Without trunc: the file is new, and the
// standard library has no mode for binary, trunc and create-only at once.)
bool writeNewFile(const fs::path& path, std::string_view text) {
  std::ofstream out(path, std::ios::out | std::ios::binary | createOnly);
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

  const fs::path temporary = pathFromUtf8(shotname::temporaryPathFor(path));
  fs::remove(temporary, error);  // what an interrupted earlier write left
  if (!writeNewFile(temporary, text)) {
    fs::remove(temporary, error);
    return false;
  }
  if (replacing) fs::permissions(temporary, existing.permissions(), error);
  fs::rename(temporary, target, error);
  if (error) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return false;
  }
  return true;
}
