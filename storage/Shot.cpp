#include "storage/Shot.h"

bool Shot::saveShotFile() const { return false; }
bool Shot::readShotFile() { return false; }
bool Shot::normalizeShotFile() { return false; }
bool Shot::isBlankShot() const { return false; }
std::string Shot::displayName() const { return underscoresToSpaces(name); }
bool Shot::loadShot(std::string, std::string) { return false; }
bool Shot::createShotFile(std::string, float, float, float, float, float, float, float, float, float,
                          int32_t, std::string, int32_t, int32_t, int32_t) {
  return false;
}
bool Shot::createDefaultShot(std::string) { return false; }
void Shot::updateShot(float, float, float, float, float, float, float, float, float, int32_t,
                      std::string, int32_t, int32_t, int32_t) {}
bool Shot::deleteShotFile() { return false; }
bool Shot::renameShot(std::string) { return false; }

void stripForbiddenCharacters(std::string&) {}
std::string underscoresToSpaces(std::string text) { return text; }
