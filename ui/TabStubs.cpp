// Tabs still to be drawn. Each gets its own source file when it is built;
// until then it shows nothing.

#include "QMTraining/QMTraining.h"

void QMTraining::renderTrainingPacksTab() {}
void QMTraining::renderShotsTab() {}
void QMTraining::renderShotEditorTabs() {}
