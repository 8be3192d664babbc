#pragma once
// The bare file-system work a pack load cannot avoid, as floors to time the
// load against: the same files read (or rewritten) without parsing anything.
// Two ways to read: the plain system calls, and the cheapest way the
// standard library offers (the plug-in reaches the file system through it
// alone). Folders are paths with no trailing "/"; entries whose name starts
// with "." are skipped.

#include <string>

namespace filefloors {

// opendir/readdir, then open, read and close each file.
void syscallFloor(const std::string& folder);
// std::filesystem::directory_iterator, then per entry an unbuffered
// std::fopen, one std::fread into a reused buffer and std::fclose.
void standardFloor(const std::string& folder);
// Reads each file and rewrites it through a temporary file flushed to the
// disk, a rename and a flush of the folder.
void rewriteFloor(const std::string& folder);

}  // namespace filefloors
