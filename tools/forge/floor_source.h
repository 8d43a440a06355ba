#pragma once

#include <array>
#include <set>
#include <string>
#include <vector>

#include "game/state/floor_file.h"
#include "game/state/tables.h"
#include "packing.h"
#include "source_file.h"

namespace kestrun::forge {

// Where a square of a floor leads, checked once every floor is known.
struct FloorLink {
  Place where;
  int floor;  // 0 is the town
  std::string what;
};

// A file a square shows: a picture (code 22) or a message file (code 31).
struct SquareFile {
  Place where;
  int number;
  bool isPicture;
};

// Something the game can run but an author most likely did not mean: a
// problem for check, a warning for build.
struct Finding {
  Place where;
  std::string sentence;
};

struct FloorSource {
  int number = 0;
  game::FloorTables tables;
  game::FloorSeal seal;  // plain: seed, scenario identity, floor number
  std::vector<FloorLink> links;
  std::vector<SquareFile> files;
  bool drawn = false;  // the drawing parsed (square checks were made)
  bool hasUpStairs = false;
  Place place;  // the file, for problems of the floor as a whole
  int textCount = 0;
  // Where each square is given: its [[square]] entry, else its drawn line.
  std::array<std::array<Place, 20>, 20> squarePlaces;
  // Squares whose entry gives their destination (or all parameters).
  std::set<std::pair<int, int>> destinationGiven;
  std::vector<Finding> findings;
};

// The seed a floor gets when its source gives none.
inline int defaultSeed(int floor) {
  return 2000 + floor;
}

// Reads floor-N.toml of floor `number`; `scenarioId` is the default identity.
FloorSource readFloorSource(const SourceFile& file, int number, float scenarioId,
                            const Vocabularies& words, Problems& problems);

// floor-N.toml for a loaded floor.
std::string writeFloorSource(const game::FloorTables& tables, const game::FloorSeal& seal,
                             int number, float scenarioId, const Vocabularies& words);

}  // namespace kestrun::forge
