#pragma once
// Where the plug-in keeps its data under the host's data folder. Paths are
// joined as text, never by path composition, so a pack or shot name is used
// exactly as it is stored.

#include <cstdint>
#include <string>
#include <vector>

// The plug-in's own folder; older versions kept their shot files directly in
// it.
inline std::string shotsFolderPath(const std::string& dataFolder) {
  return dataFolder + "/QMShots";
}

// Every sub-folder of this one is a training pack.
inline std::string packsFolderPath(const std::string& dataFolder) {
  return dataFolder + "/QMShots/TrainingPacks";
}

// Where exported pack texts are written.
inline std::string exportsFolderPath(const std::string& dataFolder) {
  return dataFolder + "/QMShots/Exports";
}

// Where deleted and overwritten shots and packs wait to be restored: beside
// the packs folder, so that no pack listing sees them.
inline std::string trashFolderPath(const std::string& dataFolder) {
  return dataFolder + "/QMShots/Trash";
}

// One pack's folder, without a trailing "/" (shot-file operations want one
// added).
inline std::string packFolderPath(const std::string& dataFolder, const std::string& pack) {
  return packsFolderPath(dataFolder) + "/" + pack;
}

// The pack name at an index of the pack list, or nullptr for an index outside
// it ("TrainingPackNum" can be left past the end, for example): operations
// given such an index do nothing.
inline const std::string* packAt(const std::vector<std::string>& packs, int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= packs.size()) return nullptr;
  return &packs[static_cast<size_t>(index)];
}
