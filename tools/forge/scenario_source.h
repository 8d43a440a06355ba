#pragma once

#include <map>
#include <optional>
#include <string>

#include "game/state/tables.h"
#include "packing.h"
#include "source_file.h"

namespace kestrun::forge {

// The longest texts, in Shift-JIS bytes.
namespace limits {
inline constexpr size_t kTitle = 60;
inline constexpr size_t kFacility = 24;
inline constexpr size_t kItemType = 10;
inline constexpr size_t kSpell = 18;
inline constexpr size_t kRace = 10;
inline constexpr size_t kClass = 12;
inline constexpr size_t kTrap = 20;
inline constexpr size_t kItem = 16;
inline constexpr size_t kMonster = 16;
inline constexpr size_t kCharacter = 12;
}  // namespace limits

// A scenario as its source gives it: the letter of its files, its tables,
// and the words by which floors and rosters may name its items, classes ...
struct ScenarioSource {
  std::string letter;
  game::ScenarioTables tables;
  Vocabularies words;
  // Where things are given, for later checks: "settings.KEY" for a setting,
  // "KIND NUMBER" for a record ("monster 5", "encounter 2").
  std::map<std::string, Place> places;
  Place file;
};

// Reads scenario.toml; every problem is reported.
ScenarioSource readScenarioSource(const SourceFile& file, Problems& problems);

// The words of a loaded scenario's tables, as a dump names things: only
// records the dump writes are defined.
Vocabularies wordsOfTables(const game::ScenarioTables& tables);

// scenario.toml for these tables.
std::string writeScenarioSource(const game::ScenarioTables& tables, const std::string& letter);

}  // namespace kestrun::forge
