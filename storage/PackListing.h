#pragma once
// Reading what a folder holds, the way the pack store, the pack loader and the
// migration of older files all need it: regular files only, in the order the
// operating system enumerates them, names split at their last ".".

#include <string>
#include <string_view>
#include <vector>

// A shot file found in a folder: the file name before its last ".", and its
// extension (".shot" or ".txt").
struct ShotFileEntry {
  std::string name;
  std::string_view extension;
};

// The text from a file name's last "." on; "" when there is no "." or the
// only one starts the name (".shot" has no extension, "a.b.shot" has
// ".shot").
std::string_view fileExtension(std::string_view fileName);

// The shot files of a folder (no trailing "/" needed): regular files whose
// extension is exactly ".shot" or ".txt", case-sensitive. An error while
// enumerating ends the list where it happened; an entry whose type cannot be
// read is skipped.
std::vector<ShotFileEntry> listShotFiles(const std::string& folder);

// The names of the sub-folders of a folder, in enumeration order, without
// the hidden folders imports are built in; an error while enumerating ends the list
// where it happened.
std::vector<std::string> listSubFolders(const std::string& folder);
