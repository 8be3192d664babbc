#include "bench/RoundStats.h"

#include <algorithm>
#include <cstddef>
#include <ctime>

namespace roundstats {

double threadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double quantile(std::vector<double> values, double share) {
  if (values.empty()) return 0;
  auto at = values.begin() +
            static_cast<std::ptrdiff_t>(static_cast<double>(values.size() - 1) * share);
  std::nth_element(values.begin(), at, values.end());
  return *at;
}

double median(std::vector<double> values) { return quantile(std::move(values), 0.5); }

}  // namespace roundstats
