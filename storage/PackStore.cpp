#include "QMTraining/QMTraining.h"

void QMTraining::loadTrainingPacks() {}
std::vector<std::string> QMTraining::listPackShotNames(int32_t) { return {}; }
void QMTraining::createTrainingPack(std::string) {}
void QMTraining::copyTrainingPack(int32_t, std::string) {}
void QMTraining::renameTrainingPack(int32_t, std::string) {}
void QMTraining::deleteTrainingPack(int32_t) {}
std::string QMTraining::dataFolderPath() { return {}; }
