// Sharing whole packs as one text: the export and import behind the window's
// "Share" and "Import Pack" and the console commands "ExportPack" and
// "ImportPack". The text and the file work are PackText's and
// PackTransfer's; this adds the plug-in's folders, its pack list and its log.

#include <algorithm>
#include <exception>
#include <filesystem>

#include "QMTraining/ConsoleVariables.h"
#include "QMTraining/Log.h"
#include "QMTraining/QMTraining.h"
#include "platform/Utf8Path.h"
#include "storage/PackPaths.h"
#include "storage/PackText.h"

namespace fs = std::filesystem;

namespace {

// A command's argument: the words after its name, joined by single spaces,
// so that a name of several words needs no quotes.
std::string argumentText(const std::vector<std::string>& arguments) {
  std::string text;
  for (size_t i = 1; i < arguments.size(); ++i) {
    if (i > 1) text += ' ';
    text += arguments[i];
  }
  return text;
}

// Runs command(argument), or logs the usage when the argument is missing;
// an error no step expected ends it with one line beginning with `failure`.
template <typename Command>
void runOnArgument(const std::vector<std::string>& arguments, const char* usage,
                   const char* failure, Command command) {
  const std::string argument = argumentText(arguments);
  if (argument.empty()) {
    logLine(std::string(usage));
    return;
  }
  try {
    command(argument);
  } catch (const std::exception& error) {
    logLine("{} {}: {}", failure, argument, error.what());
  }
}

bool folderExists(const std::string& path) {
  std::error_code error;
  return fs::is_directory(pathFromUtf8(path), error);
}

// The game's working folder means nothing to a player: a relative path is
// taken from the plug-in's own folder, QMShots.
std::string importPathFor(const std::string& dataFolder, const std::string& path) {
  if (pathFromUtf8(path).is_absolute()) return path;
  return shotsFolderPath(dataFolder) + "/" + path;
}

// `name`, or the first of "name 2", "name 3", ... that names neither a listed
// pack nor anything in the packs folder; else why there is none. A name the
// rule refuses (too long, for one) is refused at once, with its reason.
Outcome<std::string> firstFreePackName(const std::vector<std::string>& packs,
                                       const std::string& packsFolder, const std::string& name) {
  constexpr int lastNumber = 9999;
  for (int n = 1; n <= lastNumber; ++n) {
    const std::string candidate = n == 1 ? name : name + " " + std::to_string(n);
    if (std::string why = namerule::packNameProblem(candidate); !why.empty()) {
      return Outcome<std::string>::failure(why);
    }
    const bool listed = std::any_of(packs.begin(), packs.end(), [&](const std::string& pack) {
      return namerule::samePackName(pack, candidate);
    });
    std::error_code error;
    const auto type = fs::symlink_status(pathFromUtf8(packsFolder + "/" + candidate), error).type();
    if (type == fs::file_type::none) {
      return Outcome<std::string>::failure("Could not look into " + packsFolder + ": " +
                                           error.message());
    }
    if (!listed && type == fs::file_type::not_found) return Outcome<std::string>::success(candidate);
  }
  return Outcome<std::string>::failure("The names " + name + " to " + name + " " +
                                       std::to_string(lastNumber) + " are all taken");
}

// Appended to a console line: what an export left out, or an import renamed.
std::string noteOf(const std::string& text) { return text.empty() ? text : "; " + text; }

}  // namespace

Outcome<PackExport> QMTraining::exportTrainingPack(const std::string& packName) {
  if (!namesOneEntry(packName)) {
    return Outcome<PackExport>::failure("There is no training pack named " + packName);
  }
  return exportPackFolder(packFolderPath(dataFolderPath(), packName), packName);
}

Outcome<std::string> QMTraining::saveExportedPack(const std::string& packName,
                                                  std::string_view text) {
  return writeExportFile(exportsFolderPath(dataFolderPath()), packName, text);
}

Outcome<std::string> QMTraining::importTrainingPack(const DecodedPack& pack,
                                                    const std::string& name) {
  if (!pack.ok()) return Outcome<std::string>::failure(pack.error);
  if (std::any_of(trainingPacks.begin(), trainingPacks.end(),
                  [&](const std::string& pack) { return namerule::samePackName(pack, name); })) {
    return Outcome<std::string>::failure("A training pack named \"" + name + "\" already exists");
  }
  cleanLeftovers();
  Outcome<std::string> made = importPackFolder(packsFolderPath(dataFolderPath()), name, pack.shots);
  if (!made.ok()) return made;
  const int32_t index = placeInPackList(name);
  loadTrainingPack(index);
  if (CVarWrapper packNumber = cvarManager->getCvar(cvarname::trainingPackNum)) packNumber.setValue(index);
  return made;
}

void QMTraining::exportPackCommand(const std::vector<std::string>& arguments) {
  const auto exportNamed = [this](const std::string& name) {
    const bool listed =
        std::find(trainingPacks.begin(), trainingPacks.end(), name) != trainingPacks.end();
    if (!namesOneEntry(name) || !(listed || folderExists(packFolderPath(dataFolderPath(), name)))) {
      logLine("There is no training pack named {}", name);
      return;
    }
    Outcome<PackExport> pack = exportTrainingPack(name);
    Outcome<std::string> saved = pack.ok() ? saveExportedPack(name, pack.value.text)
                                           : Outcome<std::string>::failure(pack.error);
    if (!saved.ok()) {
      logLine("Could not export training pack {}: {}", name, saved.error);
      return;
    }
    logLine("Training pack {} ({}) exported to {}{}", name, shotCountText(pack.value.shotCount),
            saved.value, noteOf(leftOutText(pack.value)));
  };
  runOnArgument(arguments, "Usage: ExportPack NAME", "Could not export training pack", exportNamed);
}

void QMTraining::importPackCommand(const std::vector<std::string>& arguments) {
  const auto importFrom = [this](const std::string& path) {
    const std::string data = dataFolderPath();
    Outcome<std::string> text = readPackTextFile(importPathFor(data, path));
    DecodedPack pack = decodePackText(text.value);
    if (!text.ok()) pack.error = text.error;
    std::string name = cleanPackName(pack.name);
    if (pack.ok() && (name.empty() || name.find_first_not_of(" _") == std::string::npos)) {
      pack.error = "The pack's name \"" + pack.name + "\" cannot name a pack";
    }
    if (pack.ok()) {
      Outcome<std::string> free = firstFreePackName(trainingPacks, packsFolderPath(data), name);
      name = std::move(free.value);
      pack.error = std::move(free.error);
    }
    Outcome<std::string> made = importTrainingPack(pack, name);
    if (!made.ok()) {
      logLine("Could not import {}: {}", path, made.error);
      return;
    }
    logLine("Training pack {} ({}) imported from {}{}", name, shotCountText(pack.shots.size()),
            path, noteOf(nameChangesText(pack)));
  };
  runOnArgument(arguments, "Usage: ImportPack PATH", "Could not import", importFrom);
}
