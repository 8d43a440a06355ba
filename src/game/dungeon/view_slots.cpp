#include "game/dungeon/view_slots.h"

#include "game/dungeon/floor_squares.h"
#include "runtime/values.h"

namespace kestrun::game {

namespace {

// The boundary codes that are a door, a one-side wall or an opening only as
// seen looking in one direction (indexed by that direction).
struct OneWayCodes {
  int door;
  int oneSideWall;
  int open;
};
constexpr OneWayCodes kOneWay[4] = {{6, 14, 10}, {4, 12, 8}, {7, 15, 11}, {5, 13, 9}};

constexpr int kDoorBoth = 2;
constexpr int kHiddenWall = 3;
constexpr int kOpenBoth = 0;
constexpr int kOpenToo = 16;

}  // namespace

int boundaryKind(int seenDirection, int code) {
  const OneWayCodes& oneWay = kOneWay[seenDirection];
  if (code == kDoorBoth || code == oneWay.door) return kDoor;
  if (code == kHiddenWall || code == oneWay.oneSideWall) return kOneSideWall;
  if (code == kOpenBoth || code == kOpenToo || code == oneWay.open) return kOpen;
  return kWall;
}

int casterOf(float effectWord) {
  return rt::toInt32(rt::INT(effectWord / 1000));
}

int sightDepth(int darkVision, float light) {
  if (darkVision >= 2 || rt::MOD(light, 10) >= 3) return 3;
  if (darkVision > 0 || rt::MOD(light, 1000) >= 1) return 2;
  return 1;
}

float ViewSight::darkSquareOf(int slot) const {
  const int depth = depthOf(slot);
  const int column = columnOf(slot);
  // A side wall beyond the party's square opens onto the neighbour square
  // that the slot one depth nearer leads to.
  if (depth == 0 || column < kLeftSide) return view_(kSquareOffset + slot);
  return view_(kSquareOffset + slotAt(depth - 1, column - 2));
}

// Every wall ahead on the way must be open and clear.
bool ViewSight::depthReached(int depth) const {
  if (depth > depth_) return false;
  for (int nearer = 0; nearer + 1 < depth; ++nearer) {
    if (!clear(slotAt(nearer, kAhead))) return false;
  }
  return true;
}

// A wall ahead of a side neighbour: seen along the centre path (straight on,
// then through the side wall) or the side path (through the side wall, then
// straight on); through one path only, only the half on that path's side.
Seen ViewSight::seenAhead(int depth, int column) const {
  const int nearer = depth - 1;
  const int side = column + 2;
  if (view_(kSquareOffset + slotAt(nearer, column)) == kDarkSquare) return Seen::Not;
  const bool centrePath = clear(slotAt(nearer, kAhead)) && open(slotAt(depth, side));
  const bool sidePath = open(slotAt(nearer, column)) && clear(slotAt(nearer, side));
  if (centrePath && sidePath) return Seen::Whole;
  if (sidePath) return Seen::SidePart;
  if (centrePath) return Seen::CentrePart;
  return Seen::Not;
}

Seen ViewSight::seen(int slot) const {
  const int depth = depthOf(slot);
  const int column = columnOf(slot);
  if (depth == 0) {
    if (column == kLeftAhead) return clear(kLeftSide) ? Seen::Whole : Seen::Not;
    if (column == kRightAhead) return clear(kRightSide) ? Seen::Whole : Seen::Not;
    return Seen::Whole;
  }
  if (!depthReached(depth)) return Seen::Not;
  if (column == kLeftAhead || column == kRightAhead) return seenAhead(depth, column);
  return clear(slotAt(depth - 1, kAhead)) ? Seen::Whole : Seen::Not;
}

}  // namespace kestrun::game
