#pragma once
// A fresh, empty folder for one test, removed with everything in it when the
// object goes away.

#include <filesystem>
#include <string>

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // path() / relative, as a narrow string with "/" separators.
  std::string str(const std::string& relative = "") const;

 private:
  std::filesystem::path path_;
};

// Whole-file helpers for tests.
std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& text);
