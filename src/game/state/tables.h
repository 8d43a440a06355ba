#pragma once

#include <cstdint>
#include <string>

#include "runtime/table.h"

namespace kestrun::game {

using rt::Table;

// The rule tables of a scenario, filled from its scenario file and read-only
// in play (apart from the fixes made right after loading).
struct ScenarioTables {
  Table<std::string, 13> ScenarioText;  // 0 title, 1..5 facilities, 6..12 item types
  Table<std::string, 81> SpellName;     // spells 1..80
  Table<std::string, 8> RaceName;
  Table<std::string, 15> ClassName;
  Table<std::string, 15> TrapName;
  Table<std::string, 121, 2> ItemName;     // true name, name while unidentified
  Table<std::string, 120, 2> MonsterName;  // two names per monster
  Table<float, 15, 18> ClassTable;
  // The two whole-number parts A and B of each class's experience factor, as
  // the scenario file holds them.
  Table<float, 15, 2> ClassExpPart;
  Table<float, 15> ClassExpFactor;  // (A x 1000 + B) / 1000000
  Table<float, 8, 11> RaceTable;
  Table<float, 74> Setting;
  Table<float, 15, 7> FloorEncounter;
  Table<float, 15, 2> TrapTable;
  Table<float, 81, 6> SpellTable;
  Table<float, 3> ScenarioId;
  Table<float, 30, 12> TreasureTable;
  Table<float, 15, 2> FloorRule;
  Table<float, 121, 16> ItemTable;
  Table<float, 120, 20> MonsterTable;
  Table<float, 121> InitialStock;
};

inline constexpr int kRosterSlots = 20;

// Everything of a scenario that changes in play: the twenty character slots,
// the party and its position, the map memory and the shop stock.
struct RosterTables {
  Table<std::string, kRosterSlots> CharName;
  Table<float, kRosterSlots, 40> CharRec;
  Table<int32_t, kRosterSlots, 6> CharLong;  // experience, gold, spell points
  Table<float, 19> GameState;
  Table<float, 20, 20, 3> AutoMap;
  Table<float, 121> ShopStock;  // element 0 carries the message time
};

// The dungeon floor the party is on.
struct FloorTables {
  Table<float, 20, 20, 4> FloorMap;  // x, y, layer
  Table<float, 4> FloorHeader;
  Table<std::string, 5> FloorText;  // 28 bytes each
};

}  // namespace kestrun::game
