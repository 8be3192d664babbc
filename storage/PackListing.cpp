#include "storage/PackListing.h"

#include <filesystem>
#include <system_error>

#include "storage/PackTextFormat.h"
#include "storage/ShotFileFormat.h"
#include "platform/Utf8Path.h"

namespace {

#ifdef _WIN32
// Windows names are UTF-16: each one is converted to UTF-8 text.
std::string fileNameOf(const std::filesystem::directory_entry& entry) {
  return utf8FromPath(entry.path().filename());
}
#else
// The last path component, without building a path object per entry: packs
// of thousands of shots are listed on every reload.
std::string_view fileNameOf(const std::filesystem::directory_entry& entry) {
  std::string_view path = entry.path().native();
  size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}
#endif

// Calls visit(entry) for each entry until the enumeration ends or fails.
template <typename Visit>
void forEachEntry(const std::string& folder, std::error_code& error, Visit visit) {
  error.clear();
  for (std::filesystem::directory_iterator it(pathFromUtf8(folder), error), end;
       !error && it != end; it.increment(error)) {
    visit(*it);
  }
}

// A folder in which an import of a whole pack is being built, or one an
// interrupted import left: never a pack of its own.
bool isImportInProgress(std::string_view folderName) {
  return folderName.starts_with(packtext::importFolderPrefix) &&
         folderName.ends_with(packtext::importFolderSuffix);
}

}  // namespace

std::string_view fileExtension(std::string_view fileName) {
  size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return {};
  return fileName.substr(dot);
}

std::vector<ShotFileEntry> listShotFiles(const std::string& folder, std::error_code& error) {
  std::vector<ShotFileEntry> files;
  forEachEntry(folder, error, [&files](const std::filesystem::directory_entry& entry) {
    std::error_code error;
    if (!entry.is_regular_file(error)) return;
    const auto fileName = fileNameOf(entry);
    std::string_view extension = fileExtension(fileName);
    if (extension == shotfile::shotExtension) {
      extension = shotfile::shotExtension;
    } else if (extension == shotfile::legacyExtension) {
      extension = shotfile::legacyExtension;
    } else {
      return;
    }
    files.push_back({std::string(fileName, 0, fileName.size() - extension.size()), extension});
  });
  return files;
}

std::vector<std::string> listSubFolders(const std::string& folder, std::error_code& error) {
  std::vector<std::string> names;
  forEachEntry(folder, error, [&names](const std::filesystem::directory_entry& entry) {
    std::error_code error;
    if (!entry.is_directory(error)) return;
    const auto name = fileNameOf(entry);
    if (!isImportInProgress(name)) names.emplace_back(name);
  });
  return names;
}
