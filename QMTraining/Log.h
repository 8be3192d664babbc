#pragma once
// The plug-in's console log. Every line goes through the console manager that
// onLoad keeps in globalCvarManager; before onLoad, lines are dropped.
//
// The format string must be a compile-time constant, so text a player typed
// (a shot or pack name) can only ever be an argument, never a format.

#include <fmt/format.h>

#include <memory>
#include <string>
#include <utility>

#include "pluginsdk/CVarManagerWrapper.h"

// The console manager every log line goes through; set by onLoad.
extern std::shared_ptr<CVarManagerWrapper> globalCvarManager;

inline void logLine(std::string text) {
  if (globalCvarManager) globalCvarManager->log(std::move(text));
}

template <typename... Args>
void logLine(fmt::format_string<Args...> format, Args&&... args) {
  logLine(fmt::format(format, std::forward<Args>(args)...));
}
