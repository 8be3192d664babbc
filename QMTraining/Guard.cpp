#include "QMTraining/Guard.h"

#include "QMTraining/Log.h"

void reportStoppedByError(const std::string& where, const char* what) noexcept {
  try {
    logLine("{} stopped by an error: {}", where, what);
  } catch (...) {
    // Nothing more can be said; the host goes on.
  }
}
