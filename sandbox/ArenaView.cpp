#include "sandbox/ArenaView.h"

#include <fmt/format.h>
#include <imgui.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "pluginsdk/sim/Motion.h"

namespace {

using sim::FieldSize;

constexpr float kFieldWidth = 2 * FieldSize::sideWallX;
constexpr float kFieldLengthWithGoals = 2 * (FieldSize::backWallY + FieldSize::goalDepth);
constexpr float kRotationUnitsPerTurn = 65536;
// The velocity arrow ends where the ball would be this many seconds later.
constexpr float kArrowSeconds = 0.5f;
// A car is about this long and wide; the marker never gets smaller than
// kMinCarPixels so that its direction stays readable on a small view.
constexpr float kCarLength = 118;
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

void drawCar(ImDrawList& drawList, const ArenaProjection& projection, const sim::Car& car) {
  const ScreenPoint centre = projection.toScreen(car.location.X, car.location.Y);
  const ScreenPoint ahead = headingOnScreen(car.rotation.Yaw);
  const ScreenPoint side{-ahead.y, ahead.x};
  const float length = std::max(kCarLength * projection.pixelsPerUnit(), kMinCarPixels);
  const float halfWidth = length * 0.35f;
  const ImVec2 nose(centre.x + ahead.x * length * 0.6f, centre.y + ahead.y * length * 0.6f);
  const ImVec2 left(centre.x - ahead.x * length * 0.4f + side.x * halfWidth,
                    centre.y - ahead.y * length * 0.4f + side.y * halfWidth);
  const ImVec2 right(centre.x - ahead.x * length * 0.4f - side.x * halfWidth,
                     centre.y - ahead.y * length * 0.4f - side.y * halfWidth);
  if (isUpsideDown(car.rotation)) {
    // Hollow and crossed: the roof faces the floor.
    drawList.AddTriangle(nose, left, right, kUpsideDownColour, 2.5f);
    drawList.AddLine(left, ImVec2((nose.x + right.x) / 2, (nose.y + right.y) / 2), kUpsideDownColour, 1.5f);
    drawList.AddLine(right, ImVec2((nose.x + left.x) / 2, (nose.y + left.y) / 2), kUpsideDownColour, 1.5f);
  } else {
    drawList.AddTriangleFilled(nose, left, right, kCarColour);
  }
}

void drawBall(ImDrawList& drawList, const ArenaProjection& projection, const sim::Ball& ball) {
  const ScreenPoint centre = projection.toScreen(ball.location.X, ball.location.Y);
  const float radius = std::max(FieldSize::ballRadius * projection.pixelsPerUnit(), kMinBallPixels);
  const Vector& v = ball.velocity;
  if (v.X != 0 || v.Y != 0) {
    const ScreenPoint tip = projection.toScreen(ball.location.X + v.X * kArrowSeconds,
                                                ball.location.Y + v.Y * kArrowSeconds);
    const float dx = tip.x - centre.x;
    const float dy = tip.y - centre.y;
    const float pixels = std::sqrt(dx * dx + dy * dy);
    drawList.AddLine(toImVec(centre), toImVec(tip), kArrowColour, 2.0f);
    if (pixels > 1) {
      const float ux = dx / pixels;
      const float uy = dy / pixels;
      const float head = std::min(10.0f, pixels * 0.5f);
      drawList.AddTriangleFilled(toImVec(tip),
                                 ImVec2(tip.x - ux * head - uy * head * 0.5f, tip.y - uy * head + ux * head * 0.5f),
                                 ImVec2(tip.x - ux * head + uy * head * 0.5f, tip.y - uy * head - ux * head * 0.5f),
                                 kArrowColour);
    }
  }
  drawList.AddCircleFilled(toImVec(centre), radius, kBallColour, 24);
}

void drawTrail(ImDrawList& drawList, const ArenaProjection& projection, const std::vector<Vector>& trail) {
  if (trail.size() < 2) return;
  std::vector<ImVec2> points;
  points.reserve(trail.size());
  for (const Vector& p : trail) points.push_back(toImVec(projection.toScreen(p.X, p.Y)));
  drawList.AddPolyline(points.data(), static_cast<int>(points.size()), kTrailColour, 0, 1.5f);
  const float radius = std::max(FieldSize::ballRadius * projection.pixelsPerUnit(), kMinBallPixels);
  drawList.AddCircle(points.front(), radius, kTrailColour, 24, 1.5f);
}

}  // namespace

void BallTrail::record(const Vector& location, bool moving) {
  if (!moving || points_.empty()) {
    points_.assign(1, location);
    return;
  }
  const Vector& last = points_.back();
  const float dx = location.X - last.X;
  const float dy = location.Y - last.Y;
  const float dz = location.Z - last.Z;
  if (dx * dx + dy * dy + dz * dz > kJump * kJump) {
    points_.assign(1, location);
    return;
  }
  if (points_.size() >= kMaxPoints) points_.erase(points_.begin(), points_.begin() + kMaxPoints / 4);
  points_.push_back(location);
}

ArenaProjection ArenaProjection::fit(ScreenRect area, float margin) {
  const float width = area.width - 2 * margin;
  const float height = area.height - 2 * margin;
  float scale = std::min(width / kFieldWidth, height / kFieldLengthWithGoals);
  if (!(scale > 1e-6f)) scale = 1e-6f;
  return ArenaProjection({area.left + area.width / 2, area.top + area.height / 2}, scale);
}

ScreenPoint ArenaProjection::toScreen(float worldX, float worldY) const {
  return {centre_.x - worldX * scale_, centre_.y - worldY * scale_};
}

ScreenRect ArenaProjection::field() const {
  const ScreenPoint corner = toScreen(FieldSize::sideWallX, FieldSize::backWallY);
  return {corner.x, corner.y, kFieldWidth * scale_, 2 * FieldSize::backWallY * scale_};
}

ScreenRect ArenaProjection::goal(bool positiveY) const {
  const float backY = positiveY ? FieldSize::backWallY + FieldSize::goalDepth : -FieldSize::backWallY;
  const ScreenPoint corner = toScreen(FieldSize::goalHalfWidth, backY);
  return {corner.x, corner.y, 2 * FieldSize::goalHalfWidth * scale_, FieldSize::goalDepth * scale_};
}

ScreenPoint headingOnScreen(int32_t yaw) {
  const double angle = static_cast<double>(yaw) * 2 * std::numbers::pi / kRotationUnitsPerTurn;
  // World +X is screen left and world +Y screen up.
  return {static_cast<float>(-std::cos(angle)), static_cast<float>(-std::sin(angle))};
}

bool isUpsideDown(const Rotator& rotation) {
  const double unit = 2 * std::numbers::pi / kRotationUnitsPerTurn;
  const double upZ = std::cos(rotation.Pitch * unit) * std::cos(rotation.Roll * unit);
  return upZ < 0;
}

std::vector<std::string> arenaReadout(const sim::Server* server) {
  if (!server || !server->ball) return {"No local match (type: match local)"};
  const sim::Ball& ball = *server->ball;
  const Vector& v = ball.velocity;
  const double speed = std::sqrt(double{v.X} * v.X + double{v.Y} * v.Y + double{v.Z} * v.Z);
  std::vector<std::string> lines;
  lines.push_back(fmt::format("Ball height {:.0f}  speed {:.0f}  target speed {:.0f}", ball.location.Z, speed,
                              ball.targetSpeed));
  if (server->car) {
    const Rotator& r = server->car->rotation;
    lines.push_back(fmt::format("Car yaw {}  pitch {}  roll {}{}", r.Yaw, r.Pitch, r.Roll,
                                isUpsideDown(r) ? "  upside down" : ""));
  }
  return lines;
}

void drawArena(ImDrawList& drawList, ScreenRect area, const sim::Server* server, const std::vector<Vector>& trail) {
  // The numbers go in a band above the field so that they never hide it.
  const std::vector<std::string> readout = arenaReadout(server);
  const float lineHeight = ImGui::GetTextLineHeightWithSpacing();
  const float band = 6 + lineHeight * static_cast<float>(readout.size());
  const ArenaProjection projection =
      ArenaProjection::fit({area.left, area.top + band, area.width, area.height - band});
  drawList.PushClipRect(ImVec2(area.left, area.top), ImVec2(area.left + area.width, area.top + area.height), true);

  const ScreenRect field = projection.field();
  fillRect(drawList, field, kFloorColour);
  fillRect(drawList, projection.goal(true), kOrangeGoalColour);
  fillRect(drawList, projection.goal(false), kBlueGoalColour);
  drawList.AddRect(ImVec2(field.left, field.top), ImVec2(field.left + field.width, field.top + field.height),
                   kLineColour, 0, 0, 2.0f);
  const ScreenPoint left = projection.toScreen(FieldSize::sideWallX, 0);
  const ScreenPoint right = projection.toScreen(-FieldSize::sideWallX, 0);
  drawList.AddLine(toImVec(left), toImVec(right), kLineColour);
  const ScreenPoint centre = projection.toScreen(0, 0);
  drawList.AddCircle(toImVec(centre), 1000 * projection.pixelsPerUnit(), kLineColour, 48);

  if (server && server->car) drawCar(drawList, projection, *server->car);
  if (server && server->ball) {
    drawTrail(drawList, projection, trail);
    drawBall(drawList, projection, *server->ball);
  }

  float y = area.top + 6;
  for (const std::string& line : readout) {
    drawList.AddText(ImVec2(area.left + 8, y), kTextColour, line.c_str());
    y += lineHeight;
  }
  drawList.PopClipRect();
}
