#include "platform/DurableFile.h"

#ifdef _WIN32
#include <windows.h>

#include <algorithm>
#else
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace fs = std::filesystem;

namespace durable {

#ifdef _WIN32

namespace {

std::error_code lastError() { return std::error_code(static_cast<int>(GetLastError()), std::system_category()); }

}  // namespace

NewFile writeNewFile(const fs::path& path, std::string_view bytes) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return NewFile::notCreated;
  bool whole = true;
  while (whole && !bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    whole = WriteFile(file, bytes.data(), chunk, &written, nullptr) && written > 0;
    bytes.remove_prefix(written);
  }
  whole = whole && FlushFileBuffers(file);
  whole = CloseHandle(file) && whole;
  return whole ? NewFile::written : NewFile::notWritten;
}

std::error_code renameDurably(const fs::path& from, const fs::path& to) {
  if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return {};
  }
  return lastError();
}

std::error_code flushFile(const fs::path& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return lastError();
  std::error_code error;
  if (!FlushFileBuffers(file)) error = lastError();
  CloseHandle(file);
  return error;
}

void flushFolder(const fs::path&) {}

#else

namespace {

// A call interrupted by a signal before it did anything is simply repeated.
template <typename Call>
auto retried(Call call) {
  auto result = call();
  while (result == -1 && errno == EINTR) result = call();
  return result;
}

}  // namespace

NewFile writeNewFile(const fs::path& path, std::string_view bytes) {
  const int file = retried([&] {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  });
  if (file < 0) return NewFile::notCreated;
  bool whole = true;
  while (whole && !bytes.empty()) {
    const ssize_t written = retried([&] { return ::write(file, bytes.data(), bytes.size()); });
    whole = written > 0;
    if (whole) bytes.remove_prefix(static_cast<size_t>(written));
  }
  whole = whole && retried([&] { return ::fsync(file); }) == 0;
  // A failed close can be the first report of a lost write (NFS).
  whole = ::close(file) == 0 && whole;
  return whole ? NewFile::written : NewFile::notWritten;
}

std::error_code flushFile(const fs::path& path) {
  const int file = retried([&] { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC); });
  if (file < 0) return std::error_code(errno, std::generic_category());
  std::error_code error;
  if (retried([&] { return ::fsync(file); }) != 0) error = std::error_code(errno, std::generic_category());
  ::close(file);
  return error;
}

void flushFolder(const fs::path& folder) {
  const int handle = retried([&] {
    return ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  });
  if (handle < 0) return;
  retried([&] { return ::fsync(handle); });
  ::close(handle);
}

std::error_code renameDurably(const fs::path& from, const fs::path& to) {
  std::error_code error;
  fs::rename(from, to, error);
  if (!error) flushFolder(to.has_parent_path() ? to.parent_path() : fs::path("."));
  return error;
}

#endif

}  // namespace durable
