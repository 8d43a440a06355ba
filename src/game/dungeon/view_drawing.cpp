#include "game/dungeon/view_drawing.h"

#include "game/dungeon/view_geometry.h"

namespace kestrun::game {

namespace {

using view::Box;
using view::Point;

constexpr double kWallColour = 15;
constexpr double kDarkColour = 1;
constexpr double kDarkBorder[] = {kDarkColour};

void line(rt::GraphicsPlane& plane, Point from, Point to, double colour) {
  plane.LINE(from.x, from.y, to.x, to.y, colour);
}

void box(rt::GraphicsPlane& plane, Box b, double colour, rt::BoxMode mode) {
  plane.LINE(b.topLeft.x, b.topLeft.y, b.bottomRight.x, b.bottomRight.y, colour, mode);
}

// A wall ahead of a side neighbour seen through one path: the half of its
// shapes left (Low) or right (High) of the split column.
enum class Half { Low, High };

Half halfOf(int column, Seen seen) {
  const bool sidePart = seen == Seen::SidePart;
  return (column == kLeftAhead) == sidePart ? Half::Low : Half::High;
}

// Three sides of the wall box; the side on the split stays open.
void wallHalf(rt::GraphicsPlane& plane, Box b, int split, Half half) {
  const auto [x1, y1] = b.topLeft;
  const auto [x2, y2] = b.bottomRight;
  if (half == Half::Low) {
    line(plane, {x1, y1}, {split, y1}, kWallColour);
    line(plane, {x1, y1}, {x1, y2}, kWallColour);
    line(plane, {x1, y2}, {split, y2}, kWallColour);
  } else {
    line(plane, {split, y1}, {x2, y1}, kWallColour);
    line(plane, {split, y2}, {x2, y2}, kWallColour);
    line(plane, {x2, y1}, {x2, y2}, kWallColour);
  }
}

// The door's two sides away from the split.
void doorHalf(rt::GraphicsPlane& plane, Box b, int split, Half half) {
  const auto [x1, y1] = b.topLeft;
  const auto [x2, y2] = b.bottomRight;
  if (half == Half::Low) {
    line(plane, {x1, y1}, {x1, y2}, kWallColour);
    line(plane, {x1, y1}, {split, y1}, kWallColour);
  } else {
    line(plane, {split, y1}, {x2, y1}, kWallColour);
    line(plane, {x2, y1}, {x2, y2}, kWallColour);
  }
}

// The dark box between the split (exclusive) and its outer edge.
Box darkHalf(Box b, int split, Half half) {
  if (half == Half::Low) return {b.topLeft, {split - 1, b.bottomRight.y}};
  return {{split + 1, b.topLeft.y}, b.bottomRight};
}

void drawFront(rt::GraphicsPlane& plane, const view::FrontShape& shape, int column, int kind,
               bool dark, Seen seen) {
  const bool whole = seen == Seen::Whole;
  const Half half = halfOf(column, seen);
  if (kind == kOpen) {
    if (dark) {
      box(plane, whole ? shape.dark : darkHalf(shape.dark, shape.split, half), kDarkColour,
          rt::BoxMode::Filled);
    }
    return;
  }
  if (whole) {
    box(plane, shape.wall, kWallColour, rt::BoxMode::Outline);
  } else {
    wallHalf(plane, shape.wall, shape.split, half);
  }
  if (kind != kDoor) return;
  if (whole) {
    box(plane, shape.door, kWallColour, rt::BoxMode::Outline);
  } else {
    doorHalf(plane, shape.door, shape.split, half);
  }
}

void drawSide(rt::GraphicsPlane& plane, const view::SideShape& shape, int kind, bool dark) {
  if (kind == kOpen) {
    if (!dark) return;
    for (int i = 0; i < shape.corners; ++i) {
      line(plane, shape.outline[i], shape.outline[(i + 1) % shape.corners], kDarkColour);
    }
    plane.PAINT(shape.seed.x, shape.seed.y, kDarkColour, kDarkBorder);
    return;
  }
  for (const view::Segment& s : shape.wall) line(plane, s.from, s.to, kWallColour);
  if (kind != kDoor) return;
  for (const view::Segment& s : shape.door) line(plane, s.from, s.to, kWallColour);
}

}  // namespace

void drawSlot(rt::GraphicsPlane& plane, const ViewSight& sight, int slot, Seen seen) {
  const int depth = depthOf(slot);
  const int column = columnOf(slot);
  const int kind = sight.kind(slot);
  const bool dark = sight.isDark(slot);
  if (column >= kLeftSide) {
    drawSide(plane, view::kSide[depth][column - kLeftSide], kind, dark);
  } else {
    drawFront(plane, view::kFront[depth][column], column, kind, dark, seen);
  }
}

void fillViewDark(rt::GraphicsPlane& plane) {
  const int left = view::kFrame.topLeft.x + 1;
  const int top = view::kFrame.topLeft.y + 1;
  const int right = view::kFrame.bottomRight.x - 1;
  const int bottom = view::kFrame.bottomRight.y - 1;
  const Box& centre = view::kFront[0][kAhead].wall;
  const Box boxes[] = {
      {{left, top}, {right, centre.topLeft.y - 1}},
      {{left, centre.bottomRight.y + 1}, {right, bottom}},
      {{left, centre.topLeft.y}, {centre.topLeft.x - 1, centre.bottomRight.y}},
      centre,
      {{centre.bottomRight.x + 1, centre.topLeft.y}, {right, centre.bottomRight.y}},
  };
  for (const Box& b : boxes) box(plane, b, kDarkColour, rt::BoxMode::Filled);
}

}  // namespace kestrun::game
