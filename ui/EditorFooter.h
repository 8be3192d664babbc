#pragma once
// The shot editor's footer: the name field, its red messages and "Save Shot"
// (or "Edit Shot") with "Cancel". It stands under the scrolling fields of
// both editor tabs, so the way out of the editor is always in view.

class QMTraining;

// Pixels the footer takes in this frame: it grows with the messages it shows
// (measured as they wrap at `width` pixels). Reserve it before the fields.
float editorFooterHeight(QMTraining& plugin, float width);

// Draws the footer at the cursor. It saves into the current pack
// ("TrainingPackNum") with the ball speed of "cool_speed"; it draws nothing
// when either is missing.
void drawEditorFooter(QMTraining& plugin);
