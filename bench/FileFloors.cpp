#include "bench/FileFloors.h"

#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

namespace filefloors {

namespace {

namespace fs = std::filesystem;

char floorBuffer[4096];

size_t readWholeFile(const std::string& path, char* buffer, size_t size) {
  int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return 0;
  ssize_t got = ::read(fd, buffer, size);
  ::close(fd);
  return got > 0 ? static_cast<size_t>(got) : 0;
}

template <typename Visit>
void forEachFile(const std::string& folder, Visit visit) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  while (dirent* entry = ::readdir(dir)) {
    if (entry->d_name[0] == '.') continue;
    visit(folder + "/" + entry->d_name);
  }
  ::closedir(dir);
}

}  // namespace

void syscallFloor(const std::string& folder) {
  forEachFile(folder, [&](const std::string& path) {
    benchmark::DoNotOptimize(readWholeFile(path, floorBuffer, sizeof floorBuffer));
  });
}

void standardFloor(const std::string& folder) {
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    std::FILE* file = std::fopen(entry.path().c_str(), "rb");
    if (!file) continue;
    std::setvbuf(file, nullptr, _IONBF, 0);
    benchmark::DoNotOptimize(std::fread(floorBuffer, 1, sizeof floorBuffer, file));
    std::fclose(file);
  }
}

void rewriteFloor(const std::string& folder) {
  forEachFile(folder, [&](const std::string& path) {
    size_t size = readWholeFile(path, floorBuffer, sizeof floorBuffer);
    std::string temporary = path + ".tmp";
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return;
    benchmark::DoNotOptimize(::write(fd, floorBuffer, size));
    ::fsync(fd);  // flushed as the plug-in flushes what it writes
    ::close(fd);
    ::rename(temporary.c_str(), path.c_str());
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (folderFd < 0) return;
    ::fsync(folderFd);
    ::close(folderFd);
  });
}

}  // namespace filefloors
