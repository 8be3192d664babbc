#include "playback/RandomDraws.h"

#include <memory>
#include <random>

DrawNumber randomDeviceDraws() {
  auto generator = std::make_shared<std::mt19937>(std::random_device{}());
  return [generator](int32_t low, int32_t high) {
    return std::uniform_int_distribution<int32_t>(low, high)(*generator);
  };
}
