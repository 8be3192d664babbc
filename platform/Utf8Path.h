#pragma once
// Paths travel through the plug-in as narrow text, and that text is UTF-8 on
// every platform. These two functions are the only places where such text
// becomes a std::filesystem::path and back: a plain std::string handed to a
// path or a file stream would be read in the system's narrow code page on
// Windows, where a data folder under a user name like "Gwenaël" would then
// name a folder that does not exist (or throw).
//
// On POSIX both directions copy the bytes unchanged, whatever they are. On
// Windows the conversion to the system's UTF-16 throws std::system_error
// for text that is not valid UTF-8; callers that take text from files or
// players treat that like any other file-system error.
//
// Standard library only.

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

inline std::filesystem::path pathFromUtf8(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string utf8FromPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// Opens `file` on a path given as UTF-8 text. On POSIX the bytes go to the
// system as they are, without building a path object (a pack load opens
// thousands of files); on Windows through the UTF-16 path. False when the
// file could not be opened (on Windows also for text that is not UTF-8).
inline bool openUtf8(std::filebuf& file, const std::string& path, std::ios::openmode mode) {
#ifdef _WIN32
  try {
    return file.open(pathFromUtf8(path), mode) != nullptr;
  } catch (const std::system_error&) {
    return false;
  }
#else
  return file.open(path.c_str(), mode) != nullptr;
#endif
}
