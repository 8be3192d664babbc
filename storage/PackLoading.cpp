#include "QMTraining/QMTraining.h"

void QMTraining::loadTrainingPack(int32_t) {}
void QMTraining::repairLoadedShot(Shot&) {}
bool QMTraining::addShotToPack(int32_t, float, float, float, float, float, float, float, float,
                               float, int32_t, std::string, int32_t, int32_t) {
  return false;
}
bool QMTraining::copyShotToPack(int32_t, int32_t, int32_t, std::string) { return false; }
