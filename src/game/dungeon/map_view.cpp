#include "game/dungeon/map_view.h"

#include "game/dungeon/floor_squares.h"
#include "game/dungeon/view_geometry.h"
#include "game/dungeon/view_slots.h"
#include "game/state/fields.h"
#include "game/state/game.h"
#include "runtime/sjis.h"
#include "runtime/values.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr double kWhite = 15;
constexpr double kInvisible = 0;
constexpr double kPartyColour = 11;

// The pixel origin of square (x, y) on the map: row 19 at the top.
struct SquareOrigin {
  int left;
  int top;
};
SquareOrigin originOf(Place square) {
  return {16 * square.x, 18 * (21 - square.y)};
}

// How one edge of a square is drawn: as the party inside the square sees the
// boundary in that direction, open edges invisible and doors marked. Pixel
// offsets from the square's origin.
struct EdgeLook {
  int direction;
  view::Segment line;
  view::Box doorMark;
};
constexpr EdgeLook kWestEdge = {West, {{19, 0}, {19, 17}}, {{19, 3}, {21, 14}}};
constexpr EdgeLook kEastEdge = {East, {{34, 0}, {34, 17}}, {{32, 3}, {34, 14}}};
constexpr EdgeLook kSouthEdge = {South, {{20, 17}, {35, 17}}, {{23, 15}, {31, 17}}};
constexpr EdgeLook kNorthEdge = {North, {{20, 0}, {35, 0}}, {{23, 0}, {31, 2}}};

int edgeKind(const Game& g, Place square, const EdgeLook& edge) {
  return boundaryKind(edge.direction, boundaryCode(g, square, edge.direction));
}

void drawEdgeLine(Game& g, Place square, const EdgeLook& edge) {
  const SquareOrigin o = originOf(square);
  g.con.graphics().LINE(o.left + edge.line.from.x, o.top + edge.line.from.y,
                        o.left + edge.line.to.x, o.top + edge.line.to.y,
                        edgeKind(g, square, edge) == kOpen ? kInvisible : kWhite);
}

void drawDoorMark(Game& g, Place square, const EdgeLook& edge) {
  if (edgeKind(g, square, edge) != kDoor) return;
  const SquareOrigin o = originOf(square);
  const view::Box& mark = edge.doorMark;
  g.con.graphics().LINE(o.left + mark.topLeft.x, o.top + mark.topLeft.y,
                        o.left + mark.bottomRight.x, o.top + mark.bottomRight.y, kWhite,
                        rt::BoxMode::Outline);
}

// The letter of the stairs, elevators and pits.
const char* squareLetter(int kind) {
  switch (kind) {
    case 2:
      return "E";
    case 3:
      return "P";
    case 7:
      return "U";
    case 8:
      return "D";
    default:
      return nullptr;
  }
}

void drawSquare(Game& g, Place square, bool visited) {
  const SquareOrigin o = originOf(square);
  if (visited) g.con.graphics().PSET(o.left + 27, o.top + 9, kWhite);
  for (const auto& [first, second] : {std::pair{kWestEdge, kEastEdge}, {kSouthEdge, kNorthEdge}}) {
    drawEdgeLine(g, square, first);
    drawEdgeLine(g, square, second);
    drawDoorMark(g, square, first);
    drawDoorMark(g, square, second);
  }
  if (const char* letter = squareLetter(squareKind(g, square))) {
    g.con.LOCATE(2 * square.x + 3, 21 - square.y);
    g.con.PRINT(std::string(letter));
  }
}

// The coordinates along the four sides of the map.
void drawAxisLabels(Game& g) {
  for (int i = 0; i < kFloorSize; ++i) {
    for (int column : {0, 43}) {
      g.con.LOCATE(column, i + 2);
      g.con.PRINT_USING("##", {static_cast<float>(19 - i)});
    }
    for (int row : {1, 22}) {
      g.con.LOCATE(2 * i + 2, row);
      g.con.PRINT_USING("##", {static_cast<float>(i)});
    }
  }
}

// Mode 1 draws only the squares visited; any other mode every square, the
// visited ones with a dot.
void drawFloor(Game& g, bool visitedOnly) {
  const int floor = partyFloor(g);
  for (int y = 0; y < kFloorSize; ++y) {
    for (int x = 0; x < kFloorSize; ++x) {
      const bool visited = isVisited(g, floor, {x, y});
      if (visited || !visitedOnly) drawSquare(g, {x, y}, visited);
    }
  }
  const SquareOrigin o = originOf(partySquare(g));
  g.con.graphics().LINE(o.left + 25, o.top + 7, o.left + 29, o.top + 11, kPartyColour,
                        rt::BoxMode::Filled);
}

// The floor, the coordinates and the facing, from (column, row).
void showPosition(Game& g, int column, int row) {
  rt::Console& con = g.con;
  const Place square = partySquare(g);
  con.COLOR(6);
  con.LOCATE(column, row);
  con.PRINT("地下"_sj);
  con.PRINT(static_cast<float>(partyFloor(g)));
  con.PRINT("階"_sj);
  con.LOCATE(column, row + 2);
  con.PRINT("北に"_sj);
  con.PRINT(static_cast<float>(square.y));
  con.LOCATE(column, row + 3);
  con.PRINT("東に"_sj);
  con.PRINT(static_cast<float>(square.x));
  con.LOCATE(column + 8, row + 4);
  con.PRINT("の所にいます"_sj);
  con.LOCATE(column, row + 6);
  con.PRINT(g.DirectionName(partyFacing(g)) + "を向いています"_sj);
}

}  // namespace

void XMAP(Game& g) {
  if (g.FloorHeader(MapRule) == 2) return;
  const float mode = g.SysWord(MapAsked);
  if (mode == 0) {
    showPosition(g, 34, 16);
  } else {
    g.con.CLS();
    g.con.COLOR(6);
    drawAxisLabels(g);
    drawFloor(g, mode == 1);
    showPosition(g, 54, 8);
  }
  g.con.COLOR(4);
  g.con.LOCATE(51, 23);
  g.con.PRINT(std::string("Hit Any Key"));
  g.con.waitKey();
  g.con.CLS();
}

}  // namespace kestrun::game
