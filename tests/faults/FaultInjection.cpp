#include "tests/faults/FaultInjection.h"

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <set>
#include <string_view>

namespace fs = std::filesystem;

namespace faultinjection {
namespace {

// What a call does, which decides the faults it can take.
enum class Call {
  query,   // looks a path up or opens it to read
  create,  // makes something at a path
  change,  // renames, removes or changes something at a path
  read,    // reads from a file or folder opened in the tree
  write,   // writes to a file opened in the tree
  close,   // closes one
};

bool takes(Fault fault, Call call) {
  switch (fault) {
    case Fault::accessDenied:
      return call == Call::query || call == Call::create || call == Call::change;
    case Fault::noSpace:
      return call == Call::create || call == Call::write;
    case Fault::ioError:
      return true;
    case Fault::folderVanished:
      return call == Call::query || call == Call::create || call == Call::change;
    case Fault::danglingLink:
      return call == Call::create;
  }
  return false;
}

struct State {
  bool armed = false;
  bool injecting = false;
  Fault fault = Fault::ioError;
  int nth = 0;
  std::array<int, std::size(allFaults)> counts{};
  bool fired = false;
  std::string firedCall;
  std::string firedPath;
  std::string tree;
  fs::path aside;
  std::set<int> files;  // descriptors opened in the tree while armed
  std::set<DIR*> folders;
  int busy = 0;  // inside our own file-system work: pass everything through
};

State& state() {
  static State instance;
  return instance;
}

bool inTree(const char* path) {
  const State& s = state();
  if (!path || path[0] != '/') return false;
  const std::string_view text(path);
  return text.size() > s.tree.size() && text.compare(0, s.tree.size(), s.tree) == 0 &&
         text[s.tree.size()] == '/';
}

// The fault-kind-specific side effects that happen before the call goes on.
void moveFolderAway(const char* path) {
  State& s = state();
  const fs::path folder = fs::path(path).parent_path();
  if (folder.string().size() <= s.tree.size()) return;  // never the tree itself
  std::error_code error;
  fs::create_directories(s.aside, error);
  fs::rename(folder, s.aside / ("vanished-" + std::to_string(s.nth)), error);
}

void placeLink(const char* path) {
  State& s = state();
  std::error_code error;
  fs::create_directories(s.aside, error);
  fs::create_symlink(s.aside / ("link-target-" + std::to_string(s.nth)), path, error);
}

// Called while busy: our own lstat passes the call straight on.
bool exists(const char* path) {
  struct stat info;
  return ::lstat(path, &info) == 0;
}

// Decides what happens to one call: nothing (0), a failure with that errno,
// or (for the side-effect kinds) the side effect, then the real call.
// `path` is null for calls on descriptors, which count only when the
// descriptor was opened in the tree.
int decide(Call call, const char* path, bool tracked, const char* what) {
  State& s = state();
  if (!s.armed || s.busy) return 0;
  if (path ? !inTree(path) : !tracked) return 0;
  ++s.busy;
  int result = 0;
  for (size_t i = 0; i < std::size(allFaults); ++i) {
    const Fault fault = allFaults[i];
    if (!takes(fault, call)) continue;
    if ((fault == Fault::folderVanished || fault == Fault::danglingLink) && !path) continue;
    if (fault == Fault::danglingLink && exists(path)) continue;
    const int count = ++s.counts[i];
    if (!s.injecting || fault != s.fault || count != s.nth) continue;
    s.fired = true;
    s.firedCall = what;
    s.firedPath = path ? path : "";
    switch (fault) {
      case Fault::accessDenied:
        result = EACCES;
        break;
      case Fault::noSpace:
        result = ENOSPC;
        break;
      case Fault::ioError:
        result = EIO;
        break;
      case Fault::folderVanished:
        moveFolderAway(path);
        break;
      case Fault::danglingLink:
        placeLink(path);
        break;
    }
  }
  --s.busy;
  return result;
}

bool tracked(int fd) { return state().files.count(fd) > 0; }

void track(int fd) {
  if (fd >= 0 && state().armed) state().files.insert(fd);
}

template <typename Function>
Function real(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

bool creates(int flags) { return (flags & O_CREAT) != 0; }
bool creates(const char* mode) { return mode && (std::strpbrk(mode, "wax") != nullptr); }

}  // namespace

const char* faultName(Fault fault) {
  switch (fault) {
    case Fault::accessDenied:
      return "permission denied";
    case Fault::noSpace:
      return "no space";
    case Fault::ioError:
      return "I/O error";
    case Fault::folderVanished:
      return "folder vanished";
    case Fault::danglingLink:
      return "dangling link";
  }
  return "?";
}

void countCalls(const fs::path& tree) {
  State& s = state();
  s = State();
  s.tree = tree.string();
  s.armed = true;
}

void injectAt(Fault fault, int nth, const fs::path& tree, const fs::path& aside) {
  countCalls(tree);
  State& s = state();
  s.injecting = true;
  s.fault = fault;
  s.nth = nth;
  s.aside = aside;
}

void disarm() {
  State& s = state();
  s.armed = false;
  s.injecting = false;
  s.files.clear();
  s.folders.clear();
}

int eligibleCalls(Fault fault) {
  for (size_t i = 0; i < std::size(allFaults); ++i) {
    if (allFaults[i] == fault) return state().counts[i];
  }
  return 0;
}

bool fired() { return state().fired; }
const std::string& firedCall() { return state().firedCall; }
const std::string& firedPath() { return state().firedPath; }

}  // namespace faultinjection

using namespace faultinjection;

namespace {

// Fails the call with `error` as the C library does.
template <typename Result>
Result failWith(int error, Result failure) {
  errno = error;
  return failure;
}

}  // namespace

extern "C" {

// open and openat: the mode argument is there only when a file may be made.
static int openFile(const char* name, int dirfd, const char* path, int flags, va_list args) {
  const mode_t mode =
      creates(flags) || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(args, mode_t) : 0;
  const bool known = dirfd == AT_FDCWD || path[0] == '/';
  if (int error = decide(creates(flags) ? Call::create : Call::query, known ? path : nullptr,
                         tracked(dirfd), name)) {
    return failWith(error, -1);
  }
  static auto next = real<int (*)(int, const char*, int, ...)>("openat");
  const int fd = next(dirfd, path, flags, mode);
  if ((known && inTree(path)) || tracked(dirfd)) track(fd);
  return fd;
}

int open(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const int fd = openFile("open", AT_FDCWD, path, flags, args);
  va_end(args);
  return fd;
}

int openat(int dirfd, const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const int fd = openFile("openat", dirfd, path, flags, args);
  va_end(args);
  return fd;
}

FILE* fopen64(const char* path, const char* mode) {
  if (int error = decide(creates(mode) ? Call::create : Call::query, path, false, "fopen64")) {
    return failWith<FILE*>(error, nullptr);
  }
  static auto next = real<FILE* (*)(const char*, const char*)>("fopen64");
  FILE* file = next(path, mode);
  if (file && inTree(path)) track(fileno(file));
  return file;
}

int fclose(FILE* file) {
  const int fd = file ? fileno(file) : -1;
  const int error = decide(Call::close, nullptr, tracked(fd), "fclose");
  state().files.erase(fd);
  static auto next = real<int (*)(FILE*)>("fclose");
  const int result = next(file);
  if (error) return failWith(error, EOF);
  return result;
}

int close(int fd) {
  state().files.erase(fd);
  static auto next = real<int (*)(int)>("close");
  return next(fd);
}

ssize_t read(int fd, void* buffer, size_t size) {
  if (int error = decide(Call::read, nullptr, tracked(fd), "read")) {
    return failWith<ssize_t>(error, -1);
  }
  static auto next = real<ssize_t (*)(int, void*, size_t)>("read");
  return next(fd, buffer, size);
}

ssize_t write(int fd, const void* buffer, size_t size) {
  if (int error = decide(Call::write, nullptr, tracked(fd), "write")) {
    return failWith<ssize_t>(error, -1);
  }
  static auto next = real<ssize_t (*)(int, const void*, size_t)>("write");
  return next(fd, buffer, size);
}

ssize_t writev(int fd, const struct iovec* parts, int count) {
  if (int error = decide(Call::write, nullptr, tracked(fd), "writev")) {
    return failWith<ssize_t>(error, -1);
  }
  static auto next = real<ssize_t (*)(int, const struct iovec*, int)>("writev");
  return next(fd, parts, count);
}

ssize_t sendfile(int out, int in, off_t* offset, size_t count) {
  if (int error = decide(Call::write, nullptr, tracked(out), "sendfile")) {
    return failWith<ssize_t>(error, -1);
  }
  static auto next = real<ssize_t (*)(int, int, off_t*, size_t)>("sendfile");
  return next(out, in, offset, count);
}

int stat(const char* path, struct stat* info) {
  if (int error = decide(Call::query, path, false, "stat")) return failWith(error, -1);
  static auto next = real<int (*)(const char*, struct stat*)>("stat");
  return next(path, info);
}

int lstat(const char* path, struct stat* info) {
  if (int error = decide(Call::query, path, false, "lstat")) return failWith(error, -1);
  static auto next = real<int (*)(const char*, struct stat*)>("lstat");
  return next(path, info);
}

int mkdir(const char* path, mode_t mode) {
  if (int error = decide(Call::create, path, false, "mkdir")) return failWith(error, -1);
  static auto next = real<int (*)(const char*, mode_t)>("mkdir");
  return next(path, mode);
}

int rename(const char* from, const char* to) {
  if (int error = decide(Call::change, from, false, "rename")) return failWith(error, -1);
  static auto next = real<int (*)(const char*, const char*)>("rename");
  return next(from, to);
}

int remove(const char* path) {
  if (int error = decide(Call::change, path, false, "remove")) return failWith(error, -1);
  static auto next = real<int (*)(const char*)>("remove");
  return next(path);
}

int unlinkat(int dirfd, const char* path, int flags) {
  const bool known = dirfd == AT_FDCWD || path[0] == '/';
  if (int error = decide(Call::change, known ? path : nullptr, tracked(dirfd),
                         "unlinkat")) {
    return failWith(error, -1);
  }
  static auto next = real<int (*)(int, const char*, int)>("unlinkat");
  return next(dirfd, path, flags);
}

int fchmodat(int dirfd, const char* path, mode_t mode, int flags) {
  const bool known = dirfd == AT_FDCWD || path[0] == '/';
  if (int error = decide(Call::change, known ? path : nullptr, tracked(dirfd),
                         "fchmodat")) {
    return failWith(error, -1);
  }
  static auto next = real<int (*)(int, const char*, mode_t, int)>("fchmodat");
  return next(dirfd, path, mode, flags);
}

DIR* fdopendir(int fd) {
  static auto next = real<DIR* (*)(int)>("fdopendir");
  DIR* folder = next(fd);
  if (folder && tracked(fd)) state().folders.insert(folder);
  return folder;
}

struct dirent* readdir(DIR* folder) {
  const bool inTree = state().folders.count(folder) > 0;
  if (int error = decide(Call::read, nullptr, inTree, "readdir")) {
    return failWith<struct dirent*>(error, nullptr);
  }
  static auto next = real<struct dirent* (*)(DIR*)>("readdir");
  return next(folder);
}

int closedir(DIR* folder) {
  state().folders.erase(folder);
  static auto next = real<int (*)(DIR*)>("closedir");
  return next(folder);
}

}  // extern "C"
