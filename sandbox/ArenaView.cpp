#include "sandbox/ArenaView.h"

#include <fmt/format.h>
#include <imgui.h>

#include <algorithm>
#include <cmath>

#include "flight/Field.h"

namespace {

using flight::Field;
using flight::FieldProjection;
using flight::ScreenPoint;
using flight::ScreenRect;

constexpr float kMinCarPixels = 16;
constexpr float kMinBallPixels = 4;

const ImU32 kFloorColour = IM_COL32(28, 58, 36, 255);
const ImU32 kLineColour = IM_COL32(200, 210, 200, 160);
const ImU32 kBlueGoalColour = IM_COL32(40, 90, 220, 200);
const ImU32 kOrangeGoalColour = IM_COL32(235, 130, 30, 200);
const ImU32 kBallColour = IM_COL32(240, 240, 240, 255);
const ImU32 kArrowColour = IM_COL32(255, 230, 60, 255);
const ImU32 kCarColour = IM_COL32(90, 170, 255, 255);
const ImU32 kUpsideDownColour = IM_COL32(255, 80, 200, 255);
const ImU32 kTextColour = IM_COL32(235, 235, 235, 255);
const ImU32 kTrailColour = IM_COL32(255, 230, 60, 110);

ImVec2 toImVec(ScreenPoint p) { return ImVec2(p.x, p.y); }

void fillRect(ImDrawList& drawList, ScreenRect r, ImU32 colour) {
  drawList.AddRectFilled(ImVec2(r.left, r.top), ImVec2(r.left + r.width, r.top + r.height), colour);
}

void drawCar(ImDrawList& drawList, const FieldProjection& projection, const sim::Car& car) {
  const Rotator& r = car.rotation;
  const flight::CarMarker marker = flight::carMarker(
      projection, {car.location.X, car.location.Y, car.location.Z}, r.Yaw, r.Pitch, r.Roll, kMinCarPixels);
  const ImVec2 nose = toImVec(marker.nose);
  const ImVec2 left = toImVec(marker.left);
  const ImVec2 right = toImVec(marker.right);
  if (marker.upsideDown) {
    // Hollow and crossed: the roof faces the floor.
    drawList.AddTriangle(nose, left, right, kUpsideDownColour, 2.5f);
    drawList.AddLine(left, ImVec2((nose.x + right.x) / 2, (nose.y + right.y) / 2), kUpsideDownColour, 1.5f);
    drawList.AddLine(right, ImVec2((nose.x + left.x) / 2, (nose.y + left.y) / 2), kUpsideDownColour, 1.5f);
  } else {
    drawList.AddTriangleFilled(nose, left, right, kCarColour);
  }
}

void drawBall(ImDrawList& drawList, const FieldProjection& projection, const sim::Ball& ball) {
  const flight::Vec3 at{ball.location.X, ball.location.Y, ball.location.Z};
  const float radius = std::max(Field::ballRadius * projection.pixelsPerUnit(), kMinBallPixels);
  const Vector& v = ball.velocity;
  if (v.X != 0 || v.Y != 0) {
    const flight::Arrow arrow = flight::velocityArrow(projection, at, {v.X, v.Y, 0}, 10);
    drawList.AddLine(toImVec(arrow.from), toImVec(arrow.tip), kArrowColour, 2.0f);
    if (arrow.hasHead) {
      drawList.AddTriangleFilled(toImVec(arrow.tip), toImVec(arrow.headLeft), toImVec(arrow.headRight), kArrowColour);
    }
  }
  drawList.AddCircleFilled(toImVec(projection.toScreen(at)), radius, kBallColour, 24);
}

void drawTrail(ImDrawList& drawList, const FieldProjection& projection, const std::vector<Vector>& trail) {
  if (trail.size() < 2) return;
  std::vector<ImVec2> points;
  points.reserve(trail.size());
  for (const Vector& p : trail) points.push_back(toImVec(projection.toScreen({p.X, p.Y, p.Z})));
  drawList.AddPolyline(points.data(), static_cast<int>(points.size()), kTrailColour, 0, 1.5f);
  const float radius = std::max(Field::ballRadius * projection.pixelsPerUnit(), kMinBallPixels);
  drawList.AddCircle(points.front(), radius, kTrailColour, 24, 1.5f);
}

}  // namespace

void BallTrail::restart(const Vector& location) {
  points_.assign(1, location);
  highest_ = location.Z;
}

void BallTrail::record(const Vector& location, bool moving) {
  if (!moving || points_.empty()) {
    restart(location);
    return;
  }
  const Vector& last = points_.back();
  const float dx = location.X - last.X;
  const float dy = location.Y - last.Y;
  const float dz = location.Z - last.Z;
  if (dx * dx + dy * dy + dz * dz > kJump * kJump) {
    restart(location);
    return;
  }
  if (points_.size() >= kMaxPoints) points_.erase(points_.begin(), points_.begin() + kMaxPoints / 4);
  points_.push_back(location);
  highest_ = std::max(highest_, location.Z);
}

std::vector<std::string> arenaReadout(const sim::Server* server, const BallTrail& trail) {
  if (!server || !server->ball) return {"No local match (type: match local)"};
  const sim::Ball& ball = *server->ball;
  const Vector& v = ball.velocity;
  const double speed = std::sqrt(double{v.X} * v.X + double{v.Y} * v.Y + double{v.Z} * v.Z);
  std::vector<std::string> lines;
  lines.push_back(fmt::format("Ball height {:.0f}  highest {:.0f}", ball.location.Z, trail.highest()));
  lines.push_back(fmt::format("Ball speed {:.0f}  target speed {:.0f}", speed, ball.targetSpeed));
  if (server->car) {
    const Rotator& r = server->car->rotation;
    lines.push_back(fmt::format("Car yaw {}  pitch {}  roll {}{}", r.Yaw, r.Pitch, r.Roll,
                                flight::isUpsideDown(r.Pitch, r.Roll) ? "  upside down" : ""));
  }
  return lines;
}

void drawArena(ImDrawList& drawList, ScreenRect area, const sim::Server* server, const BallTrail& trail) {
  // The numbers go in a band above the field so that they never hide it.
  const std::vector<std::string> readout = arenaReadout(server, trail);
  const float lineHeight = ImGui::GetTextLineHeightWithSpacing();
  const float band = 6 + lineHeight * static_cast<float>(readout.size());
  const FieldProjection projection = FieldProjection::fit(
      flight::View::fromAbove, {area.left, area.top + band, area.width, area.height - band}, 8);
  drawList.PushClipRect(ImVec2(area.left, area.top), ImVec2(area.left + area.width, area.top + area.height), true);

  const ScreenRect field = projection.field();
  fillRect(drawList, field, kFloorColour);
  fillRect(drawList, projection.goal(true), kOrangeGoalColour);
  fillRect(drawList, projection.goal(false), kBlueGoalColour);
  drawList.AddRect(ImVec2(field.left, field.top), ImVec2(field.left + field.width, field.top + field.height),
                   kLineColour, 0, 0, 2.0f);
  const ScreenPoint left = projection.toScreen({Field::sideWallX, 0, 0});
  const ScreenPoint right = projection.toScreen({-Field::sideWallX, 0, 0});
  drawList.AddLine(toImVec(left), toImVec(right), kLineColour);
  const ScreenPoint centre = projection.toScreen({});
  drawList.AddCircle(toImVec(centre), Field::centreCircleRadius * projection.pixelsPerUnit(), kLineColour, 48);

  if (server && server->car) drawCar(drawList, projection, *server->car);
  if (server && server->ball) {
    drawTrail(drawList, projection, trail.points());
    drawBall(drawList, projection, *server->ball);
  }

  float y = area.top + 6;
  for (const std::string& line : readout) {
    drawList.AddText(ImVec2(area.left + 8, y), kTextColour, line.c_str());
    y += lineHeight;
  }
  drawList.PopClipRect();
}
