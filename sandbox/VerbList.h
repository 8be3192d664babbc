#pragma once
// Every verb a sandbox line can begin with, in the order "help" lists them.
// "help" prints this list and a test holds the README's tables of verbs to
// it, so neither can leave a verb out; a verb must be here to be added.

#include <string>
#include <string_view>

// Where a verb works. The UI verbs act on the plug-in's window drawn
// headless in console mode; the sandbox's own window (--window,
// --headless-window) brings its own "key", "mouse" and "screenshot".
enum class VerbPlace { anywhere, console, window };

struct VerbDoc {
  std::string_view name;
  std::string_view usage;  // the line as typed, arguments in capitals
  std::string_view effect;
  VerbPlace place = VerbPlace::anywhere;
};

inline constexpr VerbDoc verbList[] = {
    {"help", "help", "this text"},
    {"quit", "quit", "end the run here (exit does the same)"},
    {"match", "match local|online|none", "start a local or online match, or leave it"},
    {"press", "press KEY", "press a key by its engine name"},
    {"advance", "advance SECONDS", "advance the game clock"},
    {"motion", "motion on|off", "let the ball fly as in the window, or leave it where it is put"},
    {"show", "show ball|car|server|all", "print the game objects"},
    {"list", "list", "list registered commands and variables"},
    {"window", "window open|close", "show or hide the plug-in's window"},
    {"frames", "frames N", "draw N frames of the shown window"},
    {"reload", "reload", "unload the plug-in and load it again, as a restart does"},
    {"shown", "shown", "print the text the window shows (x,y  text)", VerbPlace::console},
    {"click", "click TEXT [N]", "click the (N-th) shown TEXT", VerbPlace::console},
    {"hover", "hover TEXT [N]", "move the mouse over the (N-th) shown TEXT", VerbPlace::console},
    {"mouse", "mouse X Y", "move the mouse to a point of the display", VerbPlace::console},
    {"field", "field LABEL|N", "click the text field labelled LABEL, or the N-th empty one (from 0, popups first)",
     VerbPlace::console},
    {"drag", "drag TEXT DX", "drag the shown TEXT (a slider's value) DX pixels sideways", VerbPlace::console},
    {"type", "type TEXT", "type TEXT into the focused field", VerbPlace::console},
    {"key", "key [ctrl+|shift+|alt+]KEY", "press a key in the window (Enter, Tab, Escape, ...)",
     VerbPlace::console},
    {"scroll", "scroll TEXT LINES", "turn the wheel over TEXT (negative: down)", VerbPlace::console},
    {"wait", "wait TEXT [FRAMES]", "draw frames until TEXT shows (at most 60)", VerbPlace::console},
    {"screenshot", "screenshot FILE.png", "save the window as the player sees it", VerbPlace::console},
    {"clipboard", "clipboard [TEXT|--file F]",
     "print the window's clipboard, or put TEXT (\\n: a line break) or file F on it", VerbPlace::console},
    {"key", "key KEY", "press and release a key through the window, by engine name", VerbPlace::window},
    {"mouse", "mouse X Y", "move the mouse pointer to a pixel of the window", VerbPlace::window},
    {"arena", "arena", "print the numbers the arena view shows over the field", VerbPlace::window},
    {"screenshot", "screenshot FILE", "write the next frame of the window to a PNG file",
     VerbPlace::window},
};

// The usage of the verb `name` as it works in `place` ("" for no such verb).
constexpr std::string_view verbUsage(std::string_view name, VerbPlace place) {
  for (const VerbDoc& doc : verbList) {
    if (doc.name == name && (doc.place == place || doc.place == VerbPlace::anywhere)) return doc.usage;
  }
  return "";
}

// "usage: " and that usage, as a verb answers a line it cannot read.
inline std::string usageLine(std::string_view name, VerbPlace place = VerbPlace::console) {
  return "usage: " + std::string(verbUsage(name, place));
}
