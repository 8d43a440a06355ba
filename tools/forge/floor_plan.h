#pragma once

#include <array>
#include <string>
#include <vector>

#include "game/state/tables.h"

// A floor seen from above, as the map command draws it: what each boundary
// lets through in each direction, and what happens on each square, in words.
// The text, SVG and PNG pictures are all drawn from one plan.
namespace kestrun::forge::plan {

// What a boundary is for a party crossing it in one direction.
enum class Passage { Open, Door, Hidden, Wall };

struct Boundary {
  Passage forward = Passage::Open;   // crossing east (a west boundary) or north (a south one)
  Passage backward = Passage::Open;  // crossing west or south
  int code = 0;

  bool isOpen() const { return forward == Passage::Open && backward == Passage::Open; }
  bool isOneWay() const { return forward != backward; }
  // The easier of the two ways: what the boundary looks like on the plan.
  Passage kind() const;
};

// The groups of square events, each with its own colour on the pictures.
enum class Family { None, Stairs, Teleport, Battle, Trap, Message, Place, Item, Other };

struct Square {
  int code = 0;
  std::string symbol;  // one ASCII character, empty for nothing
  Family family = Family::None;
  bool dark = false;        // code 6, shaded
  bool rock = false;        // code 1, filled
  int encounterMark = 0;    // layer 3 code: 1 battle square, above 1 kind-2 encounters
  std::string description;  // the legend's words, empty for nothing
};

struct FloorPlan {
  int floor = 0;
  std::string title;  // UTF-8
  // [x][y]: the boundary on the west side of (x, y), and on its south side.
  std::array<std::array<Boundary, 20>, 20> west{}, south{};
  std::array<std::array<Square, 20>, 20> squares{};
  std::vector<std::string> notes;  // what the floor header says, in words
};

// Item and monster names for the legend (UTF-8), from the scenario.
struct Names {
  explicit Names(const game::ScenarioTables& scenario) : scenario_(scenario) {}
  std::string item(int number) const;
  std::string monster(int number) const;

 private:
  const game::ScenarioTables& scenario_;
};

FloorPlan makePlan(const game::FloorTables& floor, int number, const std::string& title,
                   const Names& names);

// One line of the symbol key: the symbol and its meaning.
struct KeyEntry {
  std::string symbol;
  Family family;
  std::string meaning;
};
// The symbols the plan uses, once each, in code order.
std::vector<KeyEntry> symbolKey(const FloorPlan& plan);

// "(x, y)" with the coordinates as the game prints them.
std::string placeText(int x, int y);

// The arrow of a one-way boundary's open direction: 0 north, 1 east, 2 south,
// 3 west.
int oneWayDirection(const Boundary& b, bool southBoundary);

// The words of the outer edges (the floor wraps), for every legend.
extern const char* const kWrapNote;

}  // namespace kestrun::forge::plan
