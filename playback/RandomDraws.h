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

// The production source: one mt19937, seeded once with one value from
// std::random_device when the source is made, so a key press pays for no
// seeding. Copies of the source share that generator: a copy goes on with
// the sequence instead of repeating what the original already drew.
DrawNumber randomDeviceDraws();
