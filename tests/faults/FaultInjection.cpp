#include "tests/faults/FaultInjection.h"

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <map>
#include <set>
#include <string_view>
#include <type_traits>

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

constexpr unsigned bit(Call call) { return 1u << static_cast<int>(call); }
constexpr unsigned onPaths = bit(Call::query) | bit(Call::create) | bit(Call::change);

// Per fault, in the order of Fault: its name, the calls it strikes, and
// the error those fail with (0: a side effect, then the real call).
struct Kind {
  const char* name;
  unsigned strikes;
  int error;
};
constexpr Kind kinds[] = {
    {"permission denied", onPaths, EACCES},
    {"no space", bit(Call::create) | bit(Call::write), ENOSPC},
    {"I/O error", ~0u, EIO},
    {"folder vanished", onPaths, 0},
    {"dangling link", bit(Call::create), 0},
};

constexpr size_t indexOf(Fault fault) { return static_cast<size_t>(fault); }
static_assert(std::size(kinds) == std::size(allFaults));

struct State {
  bool armed = false, injecting = false, fired = false, crashing = false;
  Fault fault = Fault::ioError;
  int nth = 0;
  std::vector<std::string> calls;
  std::vector<int> changing;
  const char* renamedTo = nullptr;  // the second path of the rename under way
  std::array<int, std::size(allFaults)> counts{};
  std::string firedCall, firedPath, tree;
  fs::path aside;
  std::map<int, std::string> files;  // descriptors opened in the tree while armed, and their paths
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
  return text.size() > s.tree.size() && text.compare(0, s.tree.size(), s.tree) == 0 && text[s.tree.size()] == '/';
}

// The side effect of the two kinds that change the tree before the call goes
// on. Run while busy: its own calls pass straight through.
void changeTree(Fault fault, const char* path) {
  State& s = state();
  const fs::path folder = fs::path(path).parent_path();
  const std::string nth = std::to_string(s.nth);
  std::error_code error;
  fs::create_directories(s.aside, error);
  if (fault == Fault::danglingLink) {
    fs::create_symlink(s.aside / ("link-target-" + nth), path, error);
  } else if (folder.string().size() > s.tree.size()) {  // never the tree itself
    fs::rename(folder, s.aside / ("vanished-" + nth), error);
  }
}

// Decides what happens to one call: nothing (0), a failure with that errno,
// or (for the side-effect kinds) the side effect, then the real call.
// `path` is null for calls on descriptors, which count only when the
// descriptor was opened in the tree.
int decide(Call call, const char* path, bool tracked, const char* what, int fd = -1) {
  State& s = state();
  if (!s.armed || s.busy) return 0;
  if (path ? !inTree(path) : !tracked) return 0;
  ++s.busy;
  const auto opened = s.files.find(fd);
  s.calls.push_back(std::string(what) + ' ' + (path ? path : opened != s.files.end() ? opened->second : ""));
  if (s.renamedTo) s.calls.back() += std::string(" -> ") + s.renamedTo;
  if (call != Call::query && call != Call::read) s.changing.push_back(static_cast<int>(s.calls.size()));
  if (s.crashing && static_cast<int>(s.calls.size()) == s.nth) _exit(crashExitCode);
  int result = 0;
  for (const Fault fault : allFaults) {
    const Kind& kind = kinds[indexOf(fault)];
    if (!(kind.strikes & bit(call))) continue;
    if ((fault == Fault::folderVanished || fault == Fault::danglingLink) && !path) continue;
    struct stat info;
    if (fault == Fault::danglingLink && ::lstat(path, &info) == 0) continue;
    const int count = ++s.counts[indexOf(fault)];
    if (!s.injecting || fault != s.fault || count != s.nth) continue;
    s.fired = true;
    s.firedCall = what;
    s.firedPath = path ? path : "";
    result = kind.error;
    if (!kind.error) changeTree(fault, path);
  }
  --s.busy;
  return result;
}

bool tracked(int fd) { return state().files.count(fd) > 0; }
void track(int fd, const char* path) {
  if (fd >= 0 && state().armed) state().files[fd] = path;
}

bool creates(int flags) { return (flags & O_CREAT) != 0; }
bool creates(const char* mode) { return mode && (std::strpbrk(mode, "wax") != nullptr); }

// A path the call names outright, not one relative to a folder descriptor.
bool known(int dirfd, const char* path) { return dirfd == AT_FDCWD || path[0] == '/'; }

// The C library's own definition of `Function`, which the one here replaces.
template <auto Function>
auto next(const char* name) {
  static const auto found = reinterpret_cast<decltype(Function)>(dlsym(RTLD_NEXT, name));
  return found;
}

// The descriptor a call on one is given first, or -1.
template <typename First, typename... Rest>
int descriptorOf(First first, Rest...) {
  if constexpr (std::is_same_v<First, int>) {
    return first;
  } else {
    return -1;
  }
}
inline int descriptorOf() { return -1; }

// Fails the call as the C library does (-1 or null, and errno) when decide()
// chooses it, or passes it on.
template <auto Function, typename... Args>
auto pass(const char* name, Call call, const char* path, bool tracked, Args... args) {
  using Result = decltype(Function(args...));
  if (const int error = decide(call, path, tracked, name, descriptorOf(args...))) {
    errno = error;
    if constexpr (std::is_pointer_v<Result>) {
      return static_cast<Result>(nullptr);
    } else {
      return static_cast<Result>(-1);
    }
  }
  return next<Function>(name)(args...);
}

}  // namespace

const char* faultName(Fault fault) { return kinds[indexOf(fault)].name; }

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

void crashAt(int nth, const fs::path& tree) {
  countCalls(tree);
  state().crashing = true;
  state().nth = nth;
}

void disarm() {
  State& s = state();
  s.armed = false;
  s.injecting = false;
  s.crashing = false;
  s.files.clear();
  s.folders.clear();
}

int eligibleCalls(Fault fault) { return state().counts[indexOf(fault)]; }
const std::vector<std::string>& calls() { return state().calls; }
std::vector<int> changingCalls() { return state().changing; }
bool fired() { return state().fired; }
const std::string& firedCall() { return state().firedCall; }
const std::string& firedPath() { return state().firedPath; }

}  // namespace faultinjection

using namespace faultinjection;

extern "C" {

// open and openat: the mode argument is there only when a file may be made.
static int openFile(const char* name, int dirfd, const char* path, int flags, va_list args) {
  const mode_t mode = creates(flags) || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(args, mode_t) : 0;
  const bool named = known(dirfd, path);
  if (int error = decide(creates(flags) ? Call::create : Call::query, named ? path : nullptr, tracked(dirfd), name, dirfd)) {
    errno = error;
    return -1;
  }
  const int fd = next<&openat>("openat")(dirfd, path, flags, mode);
  if ((named && inTree(path)) || tracked(dirfd)) track(fd, path);
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
  const Call call = creates(mode) ? Call::create : Call::query;
  FILE* file = pass<&fopen64>("fopen64", call, path, false, path, mode);
  if (file && inTree(path)) track(fileno(file), path);
  return file;
}

int fclose(FILE* file) {
  const int fd = file ? fileno(file) : -1;
  const int error = decide(Call::close, nullptr, tracked(fd), "fclose", fd);
  state().files.erase(fd);
  const int result = next<&fclose>("fclose")(file);
  if (!error) return result;
  errno = error;
  return EOF;
}

int close(int fd) {
  state().files.erase(fd);
  return next<&close>("close")(fd);
}

// Calls on a descriptor count when it was opened in the tree.
ssize_t read(int fd, void* buffer, size_t size) {
  return pass<&read>("read", Call::read, nullptr, tracked(fd), fd, buffer, size);
}
ssize_t write(int fd, const void* buffer, size_t size) {
  return pass<&write>("write", Call::write, nullptr, tracked(fd), fd, buffer, size);
}
ssize_t writev(int fd, const struct iovec* parts, int count) {
  return pass<&writev>("writev", Call::write, nullptr, tracked(fd), fd, parts, count);
}
int fsync(int fd) { return pass<&fsync>("fsync", Call::write, nullptr, tracked(fd), fd); }
int fdatasync(int fd) { return pass<&fdatasync>("fdatasync", Call::write, nullptr, tracked(fd), fd); }
ssize_t sendfile(int out, int in, off_t* offset, size_t count) {
  return pass<&sendfile>("sendfile", Call::write, nullptr, tracked(out), out, in, offset, count);
}

int stat(const char* path, struct stat* info) { return pass<&stat>("stat", Call::query, path, false, path, info); }
int lstat(const char* path, struct stat* info) { return pass<&lstat>("lstat", Call::query, path, false, path, info); }
int mkdir(const char* path, mode_t mode) { return pass<&mkdir>("mkdir", Call::create, path, false, path, mode); }
int rename(const char* from, const char* to) {
  state().renamedTo = to;
  const int result = pass<&rename>("rename", Call::change, from, false, from, to);
  state().renamedTo = nullptr;
  return result;
}
int remove(const char* path) { return pass<&remove>("remove", Call::change, path, false, path); }

int unlinkat(int dirfd, const char* path, int flags) {
  const char* named = known(dirfd, path) ? path : nullptr;
  return pass<&unlinkat>("unlinkat", Call::change, named, tracked(dirfd), dirfd, path, flags);
}

int fchmodat(int dirfd, const char* path, mode_t mode, int flags) {
  const char* named = known(dirfd, path) ? path : nullptr;
  return pass<&fchmodat>("fchmodat", Call::change, named, tracked(dirfd), dirfd, path, mode, flags);
}

DIR* fdopendir(int fd) {
  DIR* folder = next<&fdopendir>("fdopendir")(fd);
  if (folder && tracked(fd)) state().folders.insert(folder);
  return folder;
}

struct dirent* readdir(DIR* folder) {
  const bool opened = state().folders.count(folder) > 0;
  return pass<&readdir>("readdir", Call::read, nullptr, opened, folder);
}

int closedir(DIR* folder) {
  state().folders.erase(folder);
  return next<&closedir>("closedir")(folder);
}

}  // extern "C"
