#pragma once

#include "game/dungeon/floor_squares.h"
#include "game/state/tables.h"

// The slots of the 3-D view and what the party can see of them. Slot
// k = 5 x depth + column for depths 0..3 (0 the party's own square); View3D(k)
// is the kind of the slot's boundary, View3D(20 + k) the square beyond it.
namespace kestrun::game {

using ViewTable = Table<float, 40>;

inline constexpr int kSlots = 20;
inline constexpr int kSquareOffset = 20;
// A square the light reaches: never dark.
inline constexpr float kLitSquare = 30;

// Columns of a depth: the wall ahead of the square, of its left and of its
// right neighbour, then its own left and right side walls.
inline constexpr int kAhead = 0;
inline constexpr int kLeftAhead = 1;
inline constexpr int kRightAhead = 2;
inline constexpr int kLeftSide = 3;
inline constexpr int kRightSide = 4;

// Kinds of a boundary as seen in the viewing direction.
inline constexpr int kDoor = 0;
inline constexpr int kOneSideWall = 1;
inline constexpr int kOpen = 2;
inline constexpr int kWall = 3;

inline int depthOf(int slot) {
  return slot / 5;
}
inline int columnOf(int slot) {
  return slot % 5;
}
inline int slotAt(int depth, int column) {
  return 5 * depth + column;
}

// The kind of a boundary with code (MOD 100) `code` seen looking in the
// direction: doors, one-way doors and openings, one-side and hidden walls.
int boundaryKind(int seenDirection, int code);

// The caster's roster slot in an effect word: INT(v / 1000).
int casterOf(float effectWord);

// How deep the party sees: 1, 2 with any dark vision or light, 3 with dark
// vision of 2 or a light reaching three rows.
int sightDepth(int darkVision, float light);

// How much of a slot is drawn.
enum class Seen { Not, Whole, SidePart, CentrePart };

// The visibility rules over the evaluated slots: what is open, what is dark,
// and through which sight paths each slot is seen.
class ViewSight {
 public:
  ViewSight(const ViewTable& view, int depth) : view_(view), depth_(depth) {}

  int kind(int slot) const { return static_cast<int>(view_(slot)); }
  bool open(int slot) const { return kind(slot) == kOpen; }
  // The square whose darkness a slot shows when it is open.
  float darkSquareOf(int slot) const;
  bool isDark(int slot) const { return darkSquareOf(slot) == kDarkSquare; }
  // Open, and the square it leads to is not dark.
  bool clear(int slot) const { return open(slot) && !isDark(slot); }
  Seen seen(int slot) const;

 private:
  bool depthReached(int depth) const;
  Seen seenAhead(int depth, int column) const;

  const ViewTable& view_;
  int depth_;
};

}  // namespace kestrun::game
