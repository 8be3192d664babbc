#pragma once
// A pack's results file on disk: read whole, written whole through a
// temporary file and a rename, and set aside (never deleted) when it cannot
// be read. Standard library and platform/ only. Folders are UTF-8 text that
// end with "/".

#include <string>

#include "storage/Outcome.h"
#include "storage/ShotResults.h"

// Where the results of the pack in `packFolder` are kept.
std::string resultsFilePath(const std::string& packFolder);

// The results kept in `packFolder`: empty (success) when it holds no results
// file; a failure saying why when the file is there but cannot be read, is
// not a regular file or is not well formed.
Outcome<PackResults> readResultsFile(const std::string& packFolder);

// Renames an unreadable results file to ".stats.bad" (".stats.bad2", ... when
// that is taken), so that the next write starts afresh beside it. The value
// is the new file name.
Outcome<std::string> setResultsFileAside(const std::string& packFolder);

// Replaces the results file of `packFolder` with `results`; on failure the
// file is as it was.
Status writeResultsFile(const std::string& packFolder, const PackResults& results);
