#include "ui/ShotPreview.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "QMTraining/ConsoleVariables.h"
#include "QMTraining/QMTraining.h"
#include "flight/Field.h"
#include "flight/FieldView.h"
#include "ui/WindowState.h"

namespace {

using flight::Field;
using flight::FlightPrediction;
using flight::ScreenPoint;
using flight::ScreenRect;
using flight::Vec3;

const ImU32 floorColour = IM_COL32(28, 58, 36, 255);
const ImU32 lineColour = IM_COL32(200, 210, 200, 160);
const ImU32 blueGoalColour = IM_COL32(40, 90, 220, 200);
const ImU32 orangeGoalColour = IM_COL32(235, 130, 30, 200);
const ImU32 ballColour = IM_COL32(240, 240, 240, 255);
const ImU32 pathColour = IM_COL32(255, 230, 60, 170);
const ImU32 arrowColour = IM_COL32(255, 230, 60, 255);
const ImU32 carColour = IM_COL32(90, 170, 255, 255);
const ImU32 upsideDownColour = IM_COL32(255, 80, 200, 255);
const ImU32 landingColour = IM_COL32(255, 70, 70, 255);
// The legend names the nets in their own colours, opaque to be readable.
const ImU32 orangeTextColour = IM_COL32(245, 150, 50, 255);
const ImU32 blueTextColour = IM_COL32(90, 140, 255, 255);
constexpr const char* orangeLegend = "orange net: +Y";
constexpr const char* blueLegend = "blue net: -Y";

// Pixels: the views are small, so the ball and the car get a least size.
constexpr float viewMargin = 3;
constexpr float minBallPixels = 3;
constexpr float minCarPixels = 12;
constexpr float pathDotPixels = 1.5f;
constexpr float arrowHeadPixels = 7;
constexpr float landingPixels = 4;  // half the size of the landing cross
// Seen from the side a car is drawn carLength long and this high (units).
constexpr float carHeight = 36;

ImVec2 toImVec(ScreenPoint p) { return ImVec2(p.x, p.y); }

void fillRect(ImDrawList& draw, const ScreenRect& r, ImU32 colour) {
  draw.AddRectFilled(ImVec2(r.left, r.top), ImVec2(r.right(), r.bottom()), colour);
}

// The field as `projection` sees it: the floor (from the side, the space
// over it) with its outline, and both goals.
void drawPitch(ImDrawList& draw, const flight::FieldProjection& projection) {
  const ScreenRect field = projection.field();
  fillRect(draw, field, floorColour);
  fillRect(draw, projection.goal(true), orangeGoalColour);
  fillRect(draw, projection.goal(false), blueGoalColour);
  draw.AddRect(ImVec2(field.left, field.top), ImVec2(field.right(), field.bottom()), lineColour);
}

// The flight: its path with a dot on every point, the launch arrow and the
// ball at its start.
void drawFlight(ImDrawList& draw, const flight::FieldProjection& projection, const FlightPrediction& flight) {
  std::vector<ImVec2> points;
  points.reserve(flight.path.size());
  for (const Vec3& p : flight.path) points.push_back(toImVec(projection.toScreen(p)));
  draw.AddPolyline(points.data(), static_cast<int>(points.size()), pathColour, 0, 1.0f);
  for (const ImVec2& p : points) draw.AddCircleFilled(p, pathDotPixels, pathColour, 6);

  const flight::Arrow arrow =
      flight::velocityArrow(projection, flight.launch.location, flight.launch.velocity, arrowHeadPixels);
  draw.AddLine(toImVec(arrow.from), toImVec(arrow.tip), arrowColour, 1.5f);
  if (arrow.hasHead) {
    draw.AddTriangleFilled(toImVec(arrow.tip), toImVec(arrow.headLeft), toImVec(arrow.headRight), arrowColour);
  }
  const float radius = std::max(Field::ballRadius * projection.pixelsPerUnit(), minBallPixels);
  draw.AddCircleFilled(toImVec(projection.toScreen(flight.launch.location)), radius, ballColour, 16);
}

void drawTopView(ImDrawList& draw, const ScreenRect& area, const FlightPrediction* flight, const PreviewCar* car) {
  const auto projection = flight::FieldProjection::fit(flight::View::fromAbove, area, viewMargin);
  drawPitch(draw, projection);
  draw.AddLine(toImVec(projection.toScreen({Field::sideWallX, 0, 0})),
               toImVec(projection.toScreen({-Field::sideWallX, 0, 0})), lineColour);
  draw.AddCircle(toImVec(projection.toScreen({})), Field::centreCircleRadius * projection.pixelsPerUnit(),
                 lineColour, 32);
  if (car) {
    const flight::CarMarker marker =
        flight::carMarker(projection, car->location, car->yaw, car->pitch, car->roll, minCarPixels);
    const ImVec2 nose = toImVec(marker.nose);
    const ImVec2 left = toImVec(marker.left);
    const ImVec2 right = toImVec(marker.right);
    if (marker.upsideDown) {
      draw.AddTriangle(nose, left, right, upsideDownColour, 1.5f);
      draw.AddLine(left, ImVec2((nose.x + right.x) / 2, (nose.y + right.y) / 2), upsideDownColour);
      draw.AddLine(right, ImVec2((nose.x + left.x) / 2, (nose.y + left.y) / 2), upsideDownColour);
    } else {
      draw.AddTriangleFilled(nose, left, right, carColour);
    }
  }
  if (flight && flight->placed) drawFlight(draw, projection, *flight);
  if (flight && flight->placed && flight->landing) {
    const ImVec2 at = toImVec(projection.toScreen(*flight->landing));
    const float d = landingPixels;
    draw.AddLine(ImVec2(at.x - d, at.y - d), ImVec2(at.x + d, at.y + d), landingColour, 2);
    draw.AddLine(ImVec2(at.x - d, at.y + d), ImVec2(at.x + d, at.y - d), landingColour, 2);
  }
}

void drawSideView(ImDrawList& draw, const ScreenRect& area, const FlightPrediction* flight, const PreviewCar* car) {
  const auto projection = flight::FieldProjection::fitSideStretched(area, viewMargin);
  drawPitch(draw, projection);
  if (car) {
    const float scale = projection.pixelsPerUnit();
    const ScreenPoint at = projection.toScreen(car->location);
    const float halfLength = std::max(flight::carLength * scale, minCarPixels) / 2;
    const float halfHeight = std::max(carHeight * projection.heightPixelsPerUnit(), 3.0f) / 2;
    draw.AddRectFilled(ImVec2(at.x - halfLength, at.y - halfHeight), ImVec2(at.x + halfLength, at.y + halfHeight),
                       flight::isUpsideDown(car->pitch, car->roll) ? upsideDownColour : carColour);
  }
  if (flight && flight->placed) drawFlight(draw, projection, *flight);
}

// A coordinate in whole units; never "-0".
std::string whole(float value) { return fmt::format("{:.0f}", std::round(value) + 0.0f); }

// Both views, and under them the two lines about the flight when there is
// one and the legend of the nets, in a panel that is one item of `size` at
// the cursor.
void drawPanel(const FlightPrediction* flight, const PreviewCar* car, ImVec2 size) {
  const ImVec2 origin = ImGui::GetCursorScreenPos();
  const std::string apex = flight ? apexText(*flight) : "";
  const std::string lands = flight ? landsText(*flight) : "";
  const float gap = ImGui::GetStyle().ItemSpacing.x;
  const float legendGap = ImGui::CalcTextSize(" ").x * 2;
  const float legendWidth = ImGui::CalcTextSize(orangeLegend).x + legendGap + ImGui::CalcTextSize(blueLegend).x;
  const float textWidth =
      std::max({ImGui::CalcTextSize(apex.c_str()).x, ImGui::CalcTextSize(lands.c_str()).x, legendWidth});
  const float lineHeight = ImGui::GetTextLineHeightWithSpacing();
  const flight::PreviewLayout layout =
      flight::layoutPreview({origin.x, origin.y, size.x, size.y}, textWidth, 3 * lineHeight, gap);

  // The panel is one item; the views and the lines are drawn over it.
  ImGui::Dummy(size);
  ImDrawList& draw = *ImGui::GetWindowDrawList();
  draw.PushClipRect(origin, ImVec2(origin.x + size.x, origin.y + size.y), true);
  drawTopView(draw, layout.topView, flight, car);
  drawSideView(draw, layout.sideView, flight, car);
  const ImU32 textColour = ImGui::GetColorU32(ImGuiCol_Text);
  draw.AddText(toImVec(layout.text), textColour, apex.c_str());
  draw.AddText(ImVec2(layout.text.x, layout.text.y + lineHeight), textColour, lands.c_str());
  const ImVec2 legend(layout.text.x, layout.text.y + 2 * lineHeight);
  draw.AddText(legend, orangeTextColour, orangeLegend);
  draw.AddText(ImVec2(legend.x + ImGui::CalcTextSize(orangeLegend).x + legendGap, legend.y), blueTextColour,
               blueLegend);
  draw.PopClipRect();
}

}  // namespace

float heldSpeedFor(int32_t speedMode, int32_t shotSpeed, int32_t fixedSpeed) {
  switch (speedMode) {
    case 1:
      return static_cast<float>(shotSpeed);
    case 2:
      return static_cast<float>(fixedSpeed);
    default:
      return 0;
  }
}

std::string apexText(const FlightPrediction& flight) {
  return flight.placed ? "Apex: " + whole(flight.apex) : "Apex: unknown";
}

std::string landsText(const FlightPrediction& flight) {
  if (!flight.placed) return "Lands: unknown";
  if (!flight.landing) return "Lands: not within 3 s";
  return "Lands: X " + whole(flight.landing->x) + ", Y " + whole(flight.landing->y);
}

void drawShotPreview(const FlightPrediction& flight, const PreviewCar& car, ImVec2 size) {
  drawPanel(&flight, &car, size);
}

void drawEmptyPreview(ImVec2 size) { drawPanel(nullptr, nullptr, size); }

// ---- the plug-in's use: the working shot or a stored one ----

void QMTraining::renderShotPreview(int32_t shotIndex, float width, float height) {
  const ImVec2 size(width, height);
  const Shot* stored = nullptr;
  if (shotIndex >= 0) {
    if (static_cast<size_t>(shotIndex) >= shots.size()) {
      drawEmptyPreview(size);
      return;
    }
    stored = &shots[static_cast<size_t>(shotIndex)];
  }
  // The speed the next reset gives the ball: the variables are read as the
  // speed command reads them, none when one is missing.
  CVarWrapper speedMode = cvarManager->getCvar(cvarname::speedEnabled);
  CVarWrapper fixedSpeed = cvarManager->getCvar(cvarname::coolSpeed);
  const int32_t mode = speedMode ? speedMode.getIntValue() : 0;
  const int32_t fixed = fixedSpeed ? fixedSpeed.getIntValue() : 0;
  const PreviewedShot shot = stored ? previewedShot(*stored, heldSpeedFor(mode, stored->ballSpeed, fixed))
                                    : previewedShot(*this, heldSpeedFor(mode, ballSpeed, fixed));
  drawShotPreview(windowState->previewFlight.predict(shot.ball), shot.car, size);
}
