#include "QMTraining/QMTraining.h"

void QMTraining::moveBall() {}
void QMTraining::moveCar() {}
void QMTraining::launchBall() {}
void QMTraining::applyBallSpeed() {}
