#include "playback/RandomDraws.h"

#include <random>

int32_t drawFromRandomDevice(int32_t low, int32_t high) {
  std::random_device device;
  std::mt19937 generator(device());
  return std::uniform_int_distribution<int32_t>(low, high)(generator);
}
