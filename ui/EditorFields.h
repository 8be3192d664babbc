#pragma once
// The shot editor's groups of number fields. Each field edits a member of
// the working shot (QMTraining::ballLocationX, ...) within the range the
// editor offers, as a slider or, with "Enable textboxes", a text box.

#include <imgui.h>

class QMTraining;

enum class EditorFields { ballLocation, ballVelocity, carLocation, carRotation };

void drawEditorFields(QMTraining& plugin, EditorFields fields);

// Sliders keep typed values (ctrl+click) within the bounds too.
inline constexpr ImGuiSliderFlags editorSliderFlags = ImGuiSliderFlags_AlwaysClamp;
