#include "flight/FieldView.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "flight/Field.h"

namespace flight {

namespace {

constexpr double rotationUnitsPerTurn = 65536;
constexpr double radiansPerRotationUnit = 2 * std::numbers::pi / rotationUnitsPerTurn;
// Height over length of the side view: ceiling over the field with goals.
constexpr float sideAspect = Field::ceilingZ / Field::lengthWithGoals;
// Height over length the side view is stretched to at most.
constexpr float sideStretchedAspect = 0.6f;
// Width over length of the view from above.
constexpr float topAspect = Field::width / Field::lengthWithGoals;

float fittedScale(ScreenRect area, float margin, float worldWidth, float worldHeight) {
  const float scale = std::min((area.width - 2 * margin) / worldWidth, (area.height - 2 * margin) / worldHeight);
  return scale > 1e-6f ? scale : 1e-6f;
}

ScreenPoint centreOf(ScreenRect area) { return {area.left + area.width / 2, area.top + area.height / 2}; }

}  // namespace

FieldProjection FieldProjection::fit(View view, ScreenRect area, float margin) {
  const bool above = view == View::fromAbove;
  const float scale = fittedScale(area, margin, above ? Field::width : Field::lengthWithGoals,
                                  above ? Field::lengthWithGoals : Field::ceilingZ);
  return {view, centreOf(area), scale, scale};
}

FieldProjection FieldProjection::fitSideStretched(ScreenRect area, float margin) {
  const float scale = fittedScale(area, margin, Field::lengthWithGoals, Field::ceilingZ);
  const float heightScale = std::max(scale, (area.height - 2 * margin) / Field::ceilingZ);
  return {View::fromSide, centreOf(area), scale, heightScale};
}

ScreenPoint FieldProjection::toScreen(const Vec3& world) const {
  // From above, world +X is screen left and world +Y screen up; from the
  // side, +Y is screen right and the middle of the height the centre.
  if (view_ == View::fromAbove) return {centre_.x - world.x * scale_, centre_.y - world.y * scale_};
  return {centre_.x + world.y * scale_, centre_.y + (Field::ceilingZ / 2 - world.z) * heightScale_};
}

ScreenRect FieldProjection::field() const {
  if (view_ == View::fromAbove) {
    const ScreenPoint corner = toScreen({Field::sideWallX, Field::backWallY, 0});
    return {corner.x, corner.y, Field::width * scale_, 2 * Field::backWallY * scale_};
  }
  const ScreenPoint corner = toScreen({0, -Field::backWallY, Field::ceilingZ});
  return {corner.x, corner.y, 2 * Field::backWallY * scale_, Field::ceilingZ * heightScale_};
}

ScreenRect FieldProjection::goal(bool positiveY) const {
  if (view_ == View::fromAbove) {
    const float backY = positiveY ? Field::backWallY + Field::goalDepth : -Field::backWallY;
    const ScreenPoint corner = toScreen({Field::goalHalfWidth, backY, 0});
    return {corner.x, corner.y, 2 * Field::goalHalfWidth * scale_, Field::goalDepth * scale_};
  }
  const float nearY = positiveY ? Field::backWallY : -Field::backWallY - Field::goalDepth;
  const ScreenPoint corner = toScreen({0, nearY, Field::goalHeight});
  return {corner.x, corner.y, Field::goalDepth * scale_, Field::goalHeight * heightScale_};
}

ScreenPoint headingOnScreen(int32_t yaw) {
  const double angle = yaw * radiansPerRotationUnit;
  // World +X is screen left and world +Y screen up.
  return {static_cast<float>(-std::cos(angle)), static_cast<float>(-std::sin(angle))};
}

bool isUpsideDown(int32_t pitch, int32_t roll) {
  return std::cos(pitch * radiansPerRotationUnit) * std::cos(roll * radiansPerRotationUnit) < 0;
}

CarMarker carMarker(const FieldProjection& projection, const Vec3& location, int32_t yaw, int32_t pitch,
                    int32_t roll, float minPixels) {
  const ScreenPoint centre = projection.toScreen(location);
  const ScreenPoint ahead = headingOnScreen(yaw);
  const ScreenPoint side{-ahead.y, ahead.x};
  const float length = std::max(carLength * projection.pixelsPerUnit(), minPixels);
  const float halfWidth = length * 0.35f;
  const ScreenPoint back{centre.x - ahead.x * length * 0.4f, centre.y - ahead.y * length * 0.4f};
  return {{centre.x + ahead.x * length * 0.6f, centre.y + ahead.y * length * 0.6f},
          {back.x + side.x * halfWidth, back.y + side.y * halfWidth},
          {back.x - side.x * halfWidth, back.y - side.y * halfWidth},
          isUpsideDown(pitch, roll)};
}

Arrow arrowBetween(ScreenPoint from, ScreenPoint tip, float maxHead) {
  Arrow arrow;
  arrow.from = from;
  arrow.tip = tip;
  const float dx = tip.x - from.x;
  const float dy = tip.y - from.y;
  const float pixels = std::sqrt(dx * dx + dy * dy);
  if (!(pixels > 1)) return arrow;
  const float ux = dx / pixels;
  const float uy = dy / pixels;
  const float head = std::min(maxHead, pixels * 0.5f);
  arrow.hasHead = true;
  arrow.headLeft = {tip.x - ux * head - uy * head * 0.5f, tip.y - uy * head + ux * head * 0.5f};
  arrow.headRight = {tip.x - ux * head + uy * head * 0.5f, tip.y - uy * head - ux * head * 0.5f};
  return arrow;
}

Arrow velocityArrow(const FieldProjection& projection, const Vec3& at, const Vec3& velocity, float maxHead) {
  const Vec3 ahead{at.x + velocity.x * arrowSeconds, at.y + velocity.y * arrowSeconds,
                   at.z + velocity.z * arrowSeconds};
  return arrowBetween(projection.toScreen(at), projection.toScreen(ahead), maxHead);
}

PreviewLayout layoutPreview(ScreenRect panel, float textWidth, float textHeight, float gap) {
  // Side by side: the view from above takes the full height (less the text
  // when the column beside it is too narrow for it), at most half the width.
  PreviewLayout row;
  float topHeight = panel.height;
  float topWidth = std::min(topHeight * topAspect, (panel.width - gap) / 2);
  float columnWidth = panel.width - topWidth - gap;
  const bool textInColumn = columnWidth >= textWidth;
  if (!textInColumn) {
    topHeight = panel.height - textHeight - gap;
    topWidth = std::min(topHeight * topAspect, (panel.width - gap) / 2);
    columnWidth = panel.width - topWidth - gap;
  }
  row.topView = {panel.left, panel.top, topWidth, topHeight};
  const float columnLeft = panel.left + topWidth + gap;
  const float roomForSide = textInColumn ? panel.height - textHeight - gap : topHeight;
  // The side view is stretched into the height its column leaves it, up to
  // sideStretchedAspect of its width (the field's own shape is far lower).
  row.sideView = {columnLeft, panel.top, columnWidth, std::min(roomForSide, columnWidth * sideStretchedAspect)};
  row.text = textInColumn ? ScreenPoint{columnLeft, row.sideView.bottom() + gap}
                          : ScreenPoint{panel.left, row.topView.bottom() + gap};
  const float rowScale = std::min(topWidth / Field::width, topHeight / Field::lengthWithGoals);

  // One above the other: the side view across the full width.
  PreviewLayout column;
  const float sideHeight = panel.width * sideAspect;
  column.topView = {panel.left, panel.top, panel.width, panel.height - sideHeight - textHeight - 2 * gap};
  column.sideView = {panel.left, column.topView.bottom() + gap, panel.width, sideHeight};
  column.text = {panel.left, column.sideView.bottom() + gap};
  const float columnScale =
      std::min(column.topView.width / Field::width, column.topView.height / Field::lengthWithGoals);

  return columnScale > rowScale ? column : row;
}

}  // namespace flight
