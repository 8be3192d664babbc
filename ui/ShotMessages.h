#pragma once
// The texts the "Shots" tab, its popups and the shot editor show about shot
// names and the pack's size, in one place. The editor and the popups word
// some alike texts differently ("Shot"/"shot"); each keeps its own wording.

#include "ui/NameRules.h"

namespace shotmessages {

// The editor's name field.
inline constexpr const char* editorForbidden =
    "Your Shot Name cannot contain the characters / , \\ , | , * , ? , \" , < , or >";
inline constexpr const char* editedShotMissing = "The shot being edited is no longer in the pack; press Cancel";
// The popups' name fields.
inline constexpr const char* popupForbidden =
    "Your shot name cannot contain the characters / , \\ , | , * , ? , \" , < , or >";
inline constexpr const char* missingShot = "This shot is no longer in the pack";
inline constexpr const char* lagWarning =
    "Adding more shots to this pack may cause lag issues.\nConsider making a new training "
    "pack.\nAre you sure you want to add more?";

// The two wordings of "taken" and "empty": within the pack (the editor and
// the rename and copy popups) and in the transfer's target pack.
struct NameTexts {
  const char* taken;
  const char* empty;
};
inline constexpr NameTexts inPack{"A Shot with this name already exists!", "Please Enter A Name"};
inline constexpr NameTexts inTarget{"A shot with this name already exists!", "Please enter a name"};

}  // namespace shotmessages
