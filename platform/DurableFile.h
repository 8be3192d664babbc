#pragma once
// Writes and renames that survive a power cut, not only a crash of the
// process: the standard library leaves data in the system's cache and has no
// flush to the device. A file is flushed before the rename that makes it
// visible, and the folder after it, so that after a power cut a name holds
// either its old bytes or all of its new ones, never an empty or half file.
// POSIX: fsync on the file and on the folder. Windows: FlushFileBuffers on
// the file, and MoveFileExW with MOVEFILE_WRITE_THROUGH, which returns once
// the rename is on the disk.
//
// No exceptions; errors come back as values.

#include <filesystem>
#include <string_view>
#include <system_error>

namespace durable {

enum class NewFile {
  written,     // all bytes are in the file and flushed to the device
  notCreated,  // nothing was made: something is at the path, or the folder refused
  notWritten,  // the file was made but not all of it reached the device; it is still there
};

// Creates `path`, never opening anything that is already there (a link that
// appeared at the name would otherwise take the bytes elsewhere), writes
// `bytes` and flushes them to the device before closing. Binary: the bytes
// are the same on every platform.
NewFile writeNewFile(const std::filesystem::path& path, std::string_view bytes);

// Renames `from` to `to`, replacing a file at `to`, then flushes the folder
// of `to` so that the new name is on the disk too. The value is the
// rename's error. A folder that cannot be flushed (some file systems refuse)
// is not one: the rename has happened and cannot be taken back, so calling
// it a failure would tell the caller nothing changed when it did.
std::error_code renameDurably(const std::filesystem::path& from, const std::filesystem::path& to);

// Flushes a file that is already written (a copy) to the device. The value
// is the error of opening or flushing it.
std::error_code flushFile(const std::filesystem::path& path);

// Flushes a folder's entries (names made, renamed or removed in it) to the
// device; nothing on Windows, where each rename is written through. Best
// effort, as for renameDurably.
void flushFolder(const std::filesystem::path& folder);

}  // namespace durable
