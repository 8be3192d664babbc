#include "QMTraining/QMTraining.h"

void QMTraining::controlInput() {}
void QMTraining::pickNextShot() {}
void QMTraining::loadSelectedShot() {}
void QMTraining::overrideShot() {}
