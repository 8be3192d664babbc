#pragma once
// "Capture From Game": the "Shots" tab's button, which opens the shot editor
// as "Create New Shot" does, filled with the game's state of a moment of the
// last ten seconds, and the slider "Seconds ago" above the editor's tabs
// that chooses the moment. Nothing is written before "Save Shot"; closing
// the editor in any way puts "cool_speed" back and forgets the moments.

class QMTraining;

// The button, after "Create New Shot" on its line; disabled, with a tooltip
// saying why, while no shot can be captured. False when a console variable
// it writes is missing; the frame ends there.
bool drawCaptureButton(QMTraining& plugin);
// The slider and its notes, while the editor shows a captured shot.
void drawCaptureSlider(QMTraining& plugin);
// Called whenever the editor closes.
void endCapture(QMTraining& plugin);
