#pragma once
// What a plug-in library offers the host: a base class for the plug-in
// object, an optional window interface, and the record the library exports.

#include <cstdint>
#include <memory>
#include <string>

class CVarManagerWrapper;
class GameWrapper;

namespace BakkesMod::Plugin {

// The plug-in object. The host fills both pointers before it calls onLoad and
// keeps them valid until after onUnload.
class BakkesModPlugin {
 public:
  virtual void onLoad() = 0;
  virtual void onUnload() = 0;
  virtual ~BakkesModPlugin();

  std::shared_ptr<CVarManagerWrapper> cvarManager;
  std::shared_ptr<GameWrapper> gameWrapper;
};

// A plug-in that also draws a settings window. The host calls Render once per
// frame while the window is shown, in the Dear ImGui context it handed over
// through AdoptGuiContext.
class PluginWindow {
 public:
  virtual void Render() = 0;
  virtual std::string MenuName() = 0;
  virtual std::string WindowTitle() = 0;
  // ctx is an ImGuiContext* passed as an integer.
  virtual void AdoptGuiContext(uintptr_t ctx) = 0;
  virtual bool WantsInput() = 0;
  virtual bool IsOverlayWindow() = 0;
  virtual void WindowOpened() = 0;
  virtual void WindowClosed() = 0;
  virtual ~PluginWindow();
};

// Factory and destructor the library exports with C linkage. getPlugin returns
// the address of a std::shared_ptr<BakkesModPlugin> owned by the library.
using GetPluginFn = uintptr_t (*)();
using DeletePluginFn = void (*)();

// The exported information record, in the host's field order.
struct PluginInfo {
  int32_t apiBuild;
  const char* fileName;
  const char* className;
  const char* pluginName;
  const char* pluginVersion;
  int32_t pluginType;
  GetPluginFn initializeFunc;
  DeletePluginFn deleteFunc;
};

constexpr int32_t kApiBuild = 95;
// Plug-in types the host knows; a plug-in meant for free play and custom
// training, like a practice tool, declares 2.
constexpr int32_t kPluginTypeFreeplay = 2;

}  // namespace BakkesMod::Plugin
