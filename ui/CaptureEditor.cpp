#include "ui/CaptureEditor.h"

#include <imgui.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "QMTraining/ConsoleVariables.h"
#include "QMTraining/QMTraining.h"
#include "playback/MomentCapture.h"
#include "ui/CaptureState.h"
#include "ui/NameRules.h"
#include "ui/ShotEditor.h"
#include "ui/TabWidgets.h"
#include "ui/WindowParts.h"
#include "ui/WindowState.h"

namespace {

constexpr float secondsStep = 0.1f;

// Fills the working shot and the speed field from the moment `secondsAgo`
// before the capture; a moment that cannot be a shot leaves them as they
// are and says so.
void takeMoment(QMTraining& plugin, CaptureState& capture) {
  const std::optional<Moment> moment = capture.moments.at(capture.secondsAgo);
  const Outcome<CapturedShot> shot = moment ? captureShot(*moment) : Outcome<CapturedShot>::failure("");
  capture.refused = !shot;
  if (!shot) return;
  const CapturedShot& taken = shot.value;
  capture.velocityClamped = taken.velocityClamped;
  workOnValuesOf(plugin, taken);
  // The editor edits the speed through this variable, and a "Save Shot"
  // stores it from there.
  if (CVarWrapper speed = plugin.cvarManager->getCvar(cvarname::coolSpeed)) speed.setValue(taken.ballSpeed);
}

bool startCapturedShot(QMTraining& plugin) {
  CVarWrapper speed = plugin.cvarManager->getCvar(cvarname::coolSpeed);
  if (!speed) return false;
  const int32_t speedBefore = speed.getIntValue();
  if (!startNewShot(plugin)) return false;
  auto capture = std::make_unique<CaptureState>();
  capture->moments = plugin.moments;
  capture->speedBefore = speedBefore;
  takeMoment(plugin, *capture);
  plugin.windowState->capture = std::move(capture);
  plugin.currentShotName = plugin.nextCapturedName();
  namerules::setFieldText(plugin.shotNameInput, plugin.currentShotName);
  return true;
}

}  // namespace

bool drawCaptureButton(QMTraining& plugin) {
  const char* unavailable = plugin.captureUnavailable();
  ImGui::BeginDisabled(unavailable != nullptr);
  const bool pressed = ImGui::Button("Capture From Game");
  ImGui::EndDisabled();
  if (ImGui::IsItemHovered(ImGuiHoveredFlags_AllowWhenDisabled)) {
    ImGui::SetTooltip("%s", unavailable ? unavailable : "Makes a new shot of a moment of the last 10 seconds");
  }
  return !pressed || unavailable || startCapturedShot(plugin);
}

void drawCaptureSlider(QMTraining& plugin) {
  CaptureState* capture = plugin.windowState->capture.get();
  if (!capture) return;
  const auto length = static_cast<float>(capture->moments.recordedSeconds());
  float secondsAgo = capture->secondsAgo;
  if (ImGui::SliderFloat("Seconds ago", &secondsAgo, 0, length, "%.1f", ImGuiSliderFlags_AlwaysClamp)) {
    // In steps of a tenth of a second, and the oldest moment at the end.
    if (secondsAgo < length) secondsAgo = std::min(std::round(secondsAgo / secondsStep) * secondsStep, length);
    if (secondsAgo != capture->secondsAgo) {
      capture->secondsAgo = secondsAgo;
      takeMoment(plugin, *capture);
    }
  }
  itemTooltip("How long before the capture the shot's moment was; the fields and the preview follow");
  if (capture->velocityClamped) ImGui::TextWrapped("%s", capturemessages::velocityClamped);
  windowparts::redMessage(capturemessages::notFinite, capture->refused);
}

void endCapture(QMTraining& plugin) {
  std::unique_ptr<CaptureState> capture = std::move(plugin.windowState->capture);
  if (!capture) return;
  if (CVarWrapper speed = plugin.cvarManager->getCvar(cvarname::coolSpeed)) speed.setValue(capture->speedBefore);
}
