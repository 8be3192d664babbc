#include "sandbox/PluginVerbs.h"

#include <imgui.h>

#include "sandbox/Sandbox.h"

void addPluginVerbs(Sandbox& sandbox) {
  sandbox.addVerb("reload", [&sandbox](const auto&) {
    if (sandbox.windowShown()) sandbox.runLine("window close");
    sim::Host& host = sandbox.host();
    PluginLoader& loader = sandbox.loader();
    // The host saves its configuration and starts again with it: the saved
    // variables and key binds come back, whatever the plug-in's unload did.
    host.saveConfig();
    loader.unload();
    host.releaseCallbacks();
    host.restoreSavedBinds();
    for (const std::string& name : host.cvarOrder()) {
      if (sim::CVarRecord* cvar = host.findCvar(name); cvar && cvar->saveToCfg) cvar->restored = true;
    }
    if (!loader.load(host)) return "Could not load the plug-in: " + loader.error();
    // The context the sandbox draws in (headless or its window) is the
    // current one.
    if (auto* window = loader.window()) {
      window->AdoptGuiContext(reinterpret_cast<uintptr_t>(ImGui::GetCurrentContext()));
    }
    return std::string();
  });
}
