#pragma once
// Timing a piece of work against a reference round after round, and the
// statistics the benchmarks' summaries print: medians and quantiles of the
// rounds' ratios. A ratio within one round compares work that met the same
// machine (other work on the cores, the page cache).

#include <vector>

namespace roundstats {

// Seconds of CPU time this thread has used; other work on the machine does
// not inflate it.
double threadCpuSeconds();

struct Timing {
  double real;  // wall-clock seconds
  double cpu;   // this thread's CPU seconds
};

template <typename Work>
Timing timeOnce(Work&& work);

// The value below which `share` (0..1) of the values lie; 0 for none.
double quantile(std::vector<double> values, double share);
double median(std::vector<double> values);

}  // namespace roundstats

#include <chrono>

template <typename Work>
roundstats::Timing roundstats::timeOnce(Work&& work) {
  const auto start = std::chrono::steady_clock::now();
  const double cpuStart = threadCpuSeconds();
  work();
  const double cpu = threadCpuSeconds() - cpuStart;
  return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), cpu};
}
