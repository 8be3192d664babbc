#pragma once
// The window's side of the trash: the Undo line a delete or an overwrite
// leaves in its tab, and the "Trash" button with its popup in the "Training
// Packs" tab. The trash is read only when the player opens or acts on it.

#include "storage/Trash.h"
#include "ui/TrashState.h"

class QMTraining;

// Offers Undo of the entry an action just made, shown in `tab`.
void offerUndo(QMTraining& plugin, TrashEntry entry, UndoTab tab);

// The Undo line of `tab`, if one is offered there.
void drawUndoLine(QMTraining& plugin, UndoTab tab);

// "Trash", and its popup once pressed.
void drawTrashButton(QMTraining& plugin);
