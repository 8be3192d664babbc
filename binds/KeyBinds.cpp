// The two key binds live in the host's cfg folder as console lines that the
// host executes itself; the plug-in reads back only which keys they name, so
// the settings window can show them and unbind them before binding others.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

#include "QMTraining/ConsoleVariables.h"
#include "QMTraining/Log.h"
#include "QMTraining/QMTraining.h"
#include "binds/KeyNames.h"
#include "platform/Utf8Path.h"
#include "storage/AtomicWrite.h"

namespace {

constexpr const char* bindFileName = "QMTraining.cfg";
constexpr const char* boundCommand = commandname::controlInput;

// The key a line binds: the text between its first and second space, on a
// line that mentions "bind" at all. Nothing for any other line; an empty
// name (two spaces in a row) is a name, just not a known one.
std::optional<std::string> boundKeyName(const std::string& line) {
  if (line.size() <= 3 || line.find("bind") == std::string::npos) return std::nullopt;
  size_t first = line.find(' ');
  if (first == std::string::npos) return std::nullopt;
  size_t second = line.find(' ', first + 1);
  if (second == std::string::npos) return std::nullopt;
  return line.substr(first + 1, second - first - 1);
}

std::optional<int32_t> keyPosition(const std::vector<std::string>& table,
                                   const std::optional<std::string>& name) {
  if (!name) return std::nullopt;
  auto found = std::find(table.begin(), table.end(), *name);
  if (found == table.end()) return std::nullopt;
  return static_cast<int32_t>(found - table.begin());
}

// Line 1 binds the controller key, line 2 the keyboard key. A file that is
// missing or cannot be read counts as two lines that bind nothing;
// `unreadable` tells the second case (something is there: a folder, a file
// the system fails to read) from the first.
struct BindFileKeys {
  std::optional<std::string> controller;
  std::optional<std::string> keyboard;
  bool unreadable = false;
};

BindFileKeys readBindFile(const std::string& path) {
  std::ifstream in(pathFromUtf8(path), std::ios::binary);
  if (!in) {
    std::error_code error;
    const auto type = std::filesystem::symlink_status(pathFromUtf8(path), error).type();
    return {std::nullopt, std::nullopt, type != std::filesystem::file_type::not_found};
  }
  std::string controllerLine;
  std::string keyboardLine;
  // A Windows editor ends its lines with CRLF; the CR is no part of a line.
  const auto readLine = [&in](std::string& line) {
    if (std::getline(in, line) && line.ends_with('\r')) line.pop_back();
  };
  readLine(controllerLine);
  readLine(keyboardLine);
  return {boundKeyName(controllerLine), boundKeyName(keyboardLine), in.bad()};
}

std::string bindLine(const std::string& key) {
  return "bind " + key + " \"" + boundCommand + "\"\n";
}

}  // namespace

std::string QMTraining::unbindCommand(const std::string& keyName) { return "unbind " + keyName; }

std::string QMTraining::keyBindFilePath() {
  std::string path = utf8FromPath(gameWrapper->GetBakkesModPath());
  std::replace(path.begin(), path.end(), '\\', '/');
  return path + "/cfg/" + bindFileName;
}

void QMTraining::loadKeyBinds() {
  const std::string path = keyBindFilePath();
  BindFileKeys keys = readBindFile(path);
  if (keys.unreadable) {
    logLine("Could not read the key-bind file {}; the default keys are bound", path);
  }
  // A line that names no key this version knows (a missing, empty, binary or
  // unreadable file names none) falls back to the default key and the file
  // is rewritten, so both keys are always bound to what the window shows.
  bool rewrite = false;
  auto adopt = [&rewrite](const std::optional<std::string>& key,
                          const std::vector<std::string>& table, int32_t& index,
                          int32_t fallback) {
    if (auto position = keyPosition(table, key)) {
      index = *position;
    } else {
      index = fallback;
      rewrite = true;
    }
  };
  adopt(keys.controller, controllerKeyNames, controllerKeyIndex, defaultControllerKeyIndex);
  adopt(keys.keyboard, keyboardKeyNames, keyboardKeyIndex, defaultKeyboardKeyIndex);
  if (rewrite) saveKeyBinds();
}

void QMTraining::saveKeyBinds() {
  std::string path = keyBindFilePath();
  // Unbind what the file bound so far, so a replaced key stops resetting.
  BindFileKeys keys = readBindFile(path);
  if (auto position = keyPosition(controllerKeyNames, keys.controller)) {
    cvarManager->executeCommand(unbindCommand(controllerKeyNames[*position]), true);
  }
  if (auto position = keyPosition(keyboardKeyNames, keys.keyboard)) {
    cvarManager->executeCommand(unbindCommand(keyboardKeyNames[*position]), true);
  }
  auto valid = [](const std::vector<std::string>& table, int32_t index) {
    return index >= 0 && static_cast<size_t>(index) < table.size();
  };
  if (!valid(controllerKeyNames, controllerKeyIndex)) controllerKeyIndex = defaultControllerKeyIndex;
  if (!valid(keyboardKeyNames, keyboardKeyIndex)) keyboardKeyIndex = defaultKeyboardKeyIndex;
  const std::string controllerLine = bindLine(controllerKeyNames[controllerKeyIndex]);
  const std::string keyboardLine = bindLine(keyboardKeyNames[keyboardKeyIndex]);

  // The host always has its cfg folder; a fresh sandbox host may not yet.
  std::error_code ignored;
  std::filesystem::create_directories(pathFromUtf8(path).parent_path(), ignored);
  if (!replaceFileText(path, controllerLine + keyboardLine)) {
    // The file as it is would bind the old keys (or none) again: the new
    // ones are bound directly instead, until the game closes.
    for (const std::string& line : {controllerLine, keyboardLine}) {
      cvarManager->executeCommand(line.substr(0, line.size() - 1), false);
    }
    logLine("Could not write the key-bind file {}; the keys are bound until the game closes", path);
    return;
  }
  cvarManager->loadCfg(bindFileName);
}
