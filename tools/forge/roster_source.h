#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "game/state/tables.h"
#include "packing.h"
#include "source_file.h"

namespace kestrun::forge {

// The key of a roster built without one in its source.
inline constexpr int32_t kDefaultRosterKey = 5000;
inline constexpr float kDefaultMessageTime = 777;

struct RosterSource {
  game::RosterTables tables;
  int32_t key = kDefaultRosterKey;
  // For checking that the floors the party and characters are on exist.
  Place partyPlace;
  std::vector<std::pair<Place, int>> leftOn;  // a character and the floor it was left on
};

// A roster with no characters, the shop stocked as the scenario starts it
// and the default message time.
RosterSource newRoster(const game::ScenarioTables& scenario);

// Reads roster.toml against its scenario.
RosterSource readRosterSource(const SourceFile& file, const game::ScenarioTables& scenario,
                              const Vocabularies& words, Problems& problems);

// roster.toml for a loaded roster (its character checksums are left out: the
// build seals the characters again).
std::string writeRosterSource(const game::RosterTables& tables, int32_t key,
                              const game::ScenarioTables& scenario, const Vocabularies& words);

}  // namespace kestrun::forge
