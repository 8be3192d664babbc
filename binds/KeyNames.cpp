#include "binds/KeyNames.h"

namespace {

const std::vector<std::string> controllerKeys = {"XboxTypeS_LeftThumbStick", "XboxTypeS_RightThumbStick", "XboxTypeS_Start",
          "XboxTypeS_Y",              "XboxTypeS_X",               "XboxTypeS_B",
          "XboxTypeS_A",              "XboxTypeS_LeftShoulder",    "XboxTypeS_RightShoulder",
          "XboxTypeS_LeftTrigger",    "XboxTypeS_RightTrigger",    "XboxTypeS_Back",
          "XboxTypeS_DPad_Up",        "XboxTypeS_DPad_Down",       "XboxTypeS_DPad_Left",
          "XboxTypeS_DPad_Right"};

const std::vector<std::string> keyboardKeys = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N", "O", "P", "Q", "R",
          "S", "T", "U", "V", "W", "X", "Y", "Z",
          "Escape", "Tab", "Pause",
          "1", "2", "3", "4", "5", "6", "7", "8", "9", "0",
          "Underscore", "Equals", "Backslash", "BackSpace", "LeftBracket", "RightBracket", "Enter",
          "CapsLock", "Semicolon", "Quote", "LeftShift", "Comma", "Period", "Slash", "RightShift",
          "LeftControl", "LeftAlt", "SpaceBar", "RightAlt", "RightControl", "Left", "Up", "Down",
          "Right", "Home", "End", "Insert", "PageUp", "Delete", "PageDown",
          "NumLock", "NumPadOne", "NumPadTwo", "NumPadThree", "NumPadFour", "NumPadFive",
          "NumPadSix", "NumPadSeven", "NumPadEight", "NumPadNine", "NumPadZero", "Decimal",
          "LeftMouseButton", "RightMouseButton", "ThumbMouseButton", "ThumbMouseButton2",
          "MouseScrollUp", "MouseScrollDown"};

// Every controller key name starts with "XboxTypeS_"; the list shows the rest.
constexpr size_t controllerPrefixLength = 10;

std::vector<std::string> labelsOf(const std::vector<std::string>& names) {
  std::vector<std::string> labels;
  for (const std::string& name : names) labels.push_back(name.substr(controllerPrefixLength));
  return labels;
}

const std::vector<std::string> controllerLabels = labelsOf(controllerKeys);

}  // namespace

const std::vector<std::string>& controllerKeyTable() { return controllerKeys; }
const std::vector<std::string>& controllerKeyLabelTable() { return controllerLabels; }
const std::vector<std::string>& keyboardKeyTable() { return keyboardKeys; }
