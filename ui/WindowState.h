#pragma once
// What the settings window keeps between frames beyond the members the
// plug-in class names: the editor's and the popups' state, the preview's
// last foretold flight, the "Training" tab's rows. Only the window (ui/)
// reads or writes it; the plug-in class holds it behind a pointer so that
// nothing below the window depends on these headers.

#include <string>
#include <memory>

#include "flight/FlightPrediction.h"
#include "ui/CaptureState.h"
#include "ui/CheckboxRows.h"
#include "ui/TabState.h"
#include "ui/TrashState.h"

struct WindowState {
  ShotEditorState shotEditor;
  flight::FlightCache previewFlight;  // the shot preview's last foretold flight
  ShotPopupState shotPopups;
  PackPopupState packPopups;
  CheckboxRows shotCheckboxRows;  // the "Training" tab's rows of shots
  struct {
    bool open = false;      // the "Reset Results" confirmation
    std::string failure;    // why the last reset failed
  } resultsReset;
  UndoOffer undo;
  TrashPopupState trash;
  std::unique_ptr<CaptureState> capture;  // while the editor shows a captured shot
};
