#pragma once
// What the fuzzers share: stopping at a finding, reading a file whole, and
// making their scratch folder.

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fuzzsupport {

// Reports a finding and stops the run, so libFuzzer keeps the input.
[[noreturn]] inline void fail(const char* fuzzer, const std::string& what) {
  std::fprintf(stderr, "%s: %s\n", fuzzer, what.c_str());
  std::abort();
}

inline std::string readWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A fresh folder under the temporary folder, named `prefix` and six random
// characters; the caller removes it.
inline std::filesystem::path makeScratchFolder(const char* fuzzer, const std::string& prefix) {
  std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
  if (!mkdtemp(pattern.data())) fail(fuzzer, "mkdtemp");
  return pattern;
}

}  // namespace fuzzsupport
