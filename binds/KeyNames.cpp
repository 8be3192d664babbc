#include "binds/KeyNames.h"

std::vector<std::string> controllerKeyTable() {
  return {"XboxTypeS_LeftThumbStick", "XboxTypeS_RightThumbStick", "XboxTypeS_Start",
          "XboxTypeS_Y",              "XboxTypeS_X",               "XboxTypeS_B",
          "XboxTypeS_A",              "XboxTypeS_LeftShoulder",    "XboxTypeS_RightShoulder",
          "XboxTypeS_LeftTrigger",    "XboxTypeS_RightTrigger",    "XboxTypeS_Back",
          "XboxTypeS_DPad_Up",        "XboxTypeS_DPad_Down",       "XboxTypeS_DPad_Left",
          "XboxTypeS_DPad_Right"};
}

std::vector<std::string> keyboardKeyTable() {
  return {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N", "O", "P", "Q", "R",
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
}
