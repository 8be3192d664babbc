#pragma once
// The reset cycle's source of chance. One draw is one whole number, uniform
// over low..high inclusive (low <= high); a bit is a draw from 0..1.
//
// The plug-in holds its source in QMTraining::drawNumber so that a test can
// replace it with a scripted one and watch which draws are made in which
// order.

#include <cstdint>
#include <functional>

using DrawNumber = std::function<int32_t(int32_t low, int32_t high)>;

// The production source: every draw seeds a fresh mt19937 with one value
// from std::random_device and takes its result from that generator alone,
// so no generator state survives from one key press to the next.
int32_t drawFromRandomDevice(int32_t low, int32_t high);
