#include "QMTraining/QMTraining.h"

void QMTraining::migrateOldData() { oldDataMigrated = 1; }
void QMTraining::moveOldShotsToPack() {}
