#pragma once
// The three symbols the host looks up in the library. Everything else the
// library defines stays hidden.

#include <cstdint>

#include "pluginsdk/Plugin.h"

#ifdef _WIN32
#define QM_EXPORT __declspec(dllexport)
#else
#define QM_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {
QM_EXPORT extern BakkesMod::Plugin::PluginInfo exports;
QM_EXPORT uintptr_t getPlugin();
QM_EXPORT void deleteMe();
}
