#include "QMTraining/QMTraining.h"

void QMTraining::loadKeyBinds() {}
void QMTraining::saveKeyBinds() {}
std::string QMTraining::unbindCommand(const std::string& keyName) { return "unbind " + keyName; }
