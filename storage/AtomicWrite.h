#pragma once
// Replacing a file's whole text so that a crash, a power cut, a full disk or
// any other failure part-way leaves the previous file exactly as it was.

#include <string>
#include <string_view>

// Writes `text` to a hidden temporary file next to `path` and renames it over
// `path`, the text flushed to the device before the rename and the folder
// after it (platform/DurableFile.h). True when the whole text reached the file. On false nothing at
// `path` has changed and no temporary file is left. A file that exists but
// cannot be opened for writing (read-only), or a path that holds something
// other than a regular file (a folder, a link that leads nowhere), is
// refused, as a plain overwrite would be. `path` is UTF-8 text.
// The new file keeps the permission bits of the one it replaces.
bool replaceFileText(const std::string& path, std::string_view text);

// The same write without looking at `path` first, for a caller that has just
// moved a regular file there itself and knows it may be written (it opened
// it for writing): the checks of replaceFileText would only repeat what the
// caller knows. The new file gets the permission bits of a new file. Same
// result and guarantees otherwise.
bool replaceOwnFileText(const std::string& path, std::string_view text);
