#pragma once
// The player at the window of a plug-in on a fresh host, and every storage
// action they can trigger, as one table that both campaigns run: the fault
// campaign (a file-system error at each call) and the crash campaign (the
// process ended at each call). An action added here is run by both.

#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/WindowHarness.h"
#include "ui/NameRules.h"

namespace playeractions {

namespace fs = std::filesystem;

// Everything under a folder: relative path -> file text, "<folder>" or
// "<link>". Links are not followed.
using Tree = std::map<std::string, std::string>;
Tree snapshot(const fs::path& root);

bool isShotFile(const std::string& path);
bool isTemporaryFile(const std::string& path);

// The values of every shot file in the tree: its text without the name (field 11).
std::multiset<std::string> shotValues(const Tree& tree);

// The player at the window of a plug-in on a fresh host holding two packs
// (one with a shot file of the older layout), an older shot file waiting
// to be moved, and key binds of their own.
class Player {
 public:
  Player();
  // The plug-in started on a host folder as some earlier run left it.
  explicit Player(const fs::path& hostDir) : h(hostDir.string()) {}

  void openWindow();
  Player& click(std::string_view text, int occurrence = 0);
  // A row button of the pack, or the shot, shown as `name`.
  Player& packRow(const char* button, const std::string& name);
  Player& shotRow(const char* button, const std::string& name);
  // What the player typed into a name field: typed over the preset where
  // the field has the focus (a popup's field, as it opens; it would write its
  // own text back over a buffer set beneath it), else set directly.
  template <size_t N>
  Player& typeName(char (&field)[N], std::string_view typed) {
    if (!ui().type(typed)) {
      namerules::setFieldText(field, typed);
      ui().frame();
    }
    return *this;
  }

  // Red texts of the last frame.
  std::set<std::string> redTexts();
  // What the plug-in holds that the player sees or acts on, as text.
  std::string memory();

  QMTraining& plugin() { return h.plugin(); }
  uidriver::UiDriver& ui() { return h.ui(); }
  WindowHarness h;
};

// One storage action: a row of actions(). Adding an action to both
// campaigns is adding a row.
struct Action {
  const char* name;
  const char* tab;                        // opened before the action; null: the window stays closed
  std::function<void(Player&)> prepare;   // then run without faults, if any
  const char* click;                      // the player's one action; null: opening the window
  const char* command = nullptr;          // or a console line the player types instead of the click
};

const std::vector<Action>& actions();

// Opens the action's tab and prepares it, without faults.
void prepare(Player& player, const Action& action);
// The player's one action.
void perform(Player& player, const Action& action);

}  // namespace playeractions
