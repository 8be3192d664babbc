#include "storage/ResultsFile.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/Utf8Path.h"
#include "storage/AtomicWrite.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* asideSuffix = ".bad";
// Past this many set-aside files the folder is plainly wrong; a name is not
// searched for further.
constexpr int maxAsideNumber = 1000;

}  // namespace

std::string resultsFilePath(const std::string& packFolder) {
  return packFolder + std::string(resultsfile::fileName);
}

Outcome<PackResults> readResultsFile(const std::string& packFolder) {
  const fs::path path = pathFromUtf8(resultsFilePath(packFolder));
  std::error_code error;
  const fs::file_type type = fs::symlink_status(path, error).type();
  if (type == fs::file_type::not_found) return Outcome<PackResults>::success({});
  if (error) return Outcome<PackResults>::failure(error.message());
  if (!fs::is_regular_file(fs::status(path, error))) {
    return Outcome<PackResults>::failure("it is not a regular file");
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) return Outcome<PackResults>::failure("it cannot be opened");
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return Outcome<PackResults>::failure("it cannot be read");
  return decodeResults(text);
}

Outcome<std::string> setResultsFileAside(const std::string& packFolder) {
  const std::string from = resultsFilePath(packFolder);
  std::string to = from + asideSuffix;
  for (int n = 2; n <= maxAsideNumber; ++n) {
    std::error_code error;
    const fs::file_type type = fs::symlink_status(pathFromUtf8(to), error).type();
    if (type == fs::file_type::not_found) {
      fs::rename(pathFromUtf8(from), pathFromUtf8(to), error);
      if (error) return Outcome<std::string>::failure(error.message());
      return Outcome<std::string>::success(to.substr(packFolder.size()));
    }
    if (error) return Outcome<std::string>::failure(error.message());
    to = from + asideSuffix + std::to_string(n);
  }
  return Outcome<std::string>::failure("too many results files are set aside already");
}

Status writeResultsFile(const std::string& packFolder, const PackResults& results) {
  if (replaceFileText(resultsFilePath(packFolder), encodeResults(results))) return {};
  return Status::failure("Could not write " + std::string(resultsfile::fileName));
}
