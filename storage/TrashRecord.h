#pragma once
// The record inside each trash entry (Trash.h) and the reading of whole
// files the trash needs. Standard library only.
//
// The record is UTF-8 text, one "key value" per line after the header line
// trashfile::recordHeader: "kind" (deleted shot, replaced shot, deleted
// pack), "pack", "item", "name", "time" (seconds since 1970 UTC), "shots".

#include <string>

#include "storage/Outcome.h"
#include "storage/Trash.h"

// Writes entry.folder/trashfile::recordName through a temporary file, so a
// record is whole or absent.
Status writeTrashRecord(const TrashEntry& entry);

// The entry whose folder is `folder`, from its record; a failure for a
// folder without a readable record.
Outcome<TrashEntry> readTrashRecord(const std::string& folder);

// The whole text of a file of the trash.
Outcome<std::string> readTrashedFile(const std::string& path);
