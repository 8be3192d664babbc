#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <filesystem>

#include "tests/packs/PackFixture.h"

namespace fs = std::filesystem;

UndeletableFile::UndeletableFile(const std::string& path) : path_(path) {
  immutable_ = setImmutable(true);
  if (!immutable_) {
    std::error_code error;
    fs::permissions(fs::path(path).parent_path(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove, error);
    readOnlyParent_ = !error;
  }
  // Whatever was done, it only counts if a removal now fails.
  std::string probe = (fs::path(path).parent_path() / ".probe").string();
  int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
  if (fd >= 0) {
    ::close(fd);
    ::unlink(probe.c_str());
  }
  protects_ = (immutable_ || (readOnlyParent_ && fd < 0));
}

UndeletableFile::~UndeletableFile() {
  if (immutable_) setImmutable(false);
  if (readOnlyParent_) {
    std::error_code error;
    fs::permissions(fs::path(path_).parent_path(), fs::perms::owner_all, fs::perm_options::add, error);
  }
}

bool UndeletableFile::setImmutable(bool on) {
  int fd = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK);
  if (fd < 0) return false;
  int flags = 0;
  bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  if (done) {
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  }
  ::close(fd);
  return done;
}
