#pragma once
// The game engine's key names, as the host's "bind" command takes them.

#include <cstdint>
#include <string>
#include <vector>

// The 16 controller buttons, in the order the settings window lists them.
const std::vector<std::string>& controllerKeyTable();
// The same buttons as the settings window shows them: without the
// "XboxTypeS_" every name starts with.
const std::vector<std::string>& controllerKeyLabelTable();
// The 87 keyboard keys and mouse buttons, in the order the settings window
// lists them.
const std::vector<std::string>& keyboardKeyTable();

// Positions used when the bind file names no known key.
inline constexpr int32_t defaultControllerKeyIndex = 11;  // "XboxTypeS_Back"
inline constexpr int32_t defaultKeyboardKeyIndex = 42;    // "BackSpace"
