#include "sandbox/PluginVerbs.h"

#include <imgui.h>

#include "sandbox/Sandbox.h"

void addPluginVerbs(Sandbox& sandbox, std::ostream& out) {
  sandbox.addVerb(
      "reload", "reload                    unload the plug-in and load it again, as a restart does",
      [&sandbox, &out](const auto&) {
        if (sandbox.windowShown()) sandbox.runLine("window close");
        sim::Host& host = sandbox.host();
        PluginLoader& loader = sandbox.loader();
        loader.unload();
        host.releaseCallbacks();
        for (const std::string& name : host.cvarOrder()) {
          if (sim::CVarRecord* cvar = host.findCvar(name); cvar && cvar->saveToCfg) cvar->restored = true;
        }
        if (!loader.load(host)) {
          out << "Could not load the plug-in: " << loader.error() << '\n';
          return;
        }
        // The context the sandbox draws in (headless or its window) is the
        // current one.
        if (auto* window = loader.window()) {
          window->AdoptGuiContext(reinterpret_cast<uintptr_t>(ImGui::GetCurrentContext()));
        }
      });
}
