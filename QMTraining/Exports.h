#pragma once
// The three symbols the host looks up in the library. Everything else the
// library defines stays hidden.

#include <cstdint>

#include "pluginsdk/Plugin.h"

#define QM_EXPORT __attribute__((visibility("default")))

extern "C" {
QM_EXPORT extern BakkesMod::Plugin::PluginInfo exports;
QM_EXPORT uintptr_t getPlugin();
QM_EXPORT void deleteMe();
}
