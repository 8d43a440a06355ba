#pragma once

#include <optional>
#include <string>

#include "runtime/console.h"
#include "runtime/table.h"

namespace kestrun::game {

using rt::Table;

// The whole game state: the tables every procedure reads and writes, and the
// console they run on.
struct Game {
  explicit Game(rt::Console& console) : con(console) {}

  rt::Console& con;

  // The number used in place of the clock's seconds to seed the generator,
  // so that a session can be replayed.
  std::optional<int32_t> seedOverride;

  // Fixed texts, filled each time the title is shown.
  Table<std::string, 10> StatusName;
  Table<std::string, 4> DirectionName;
  Table<std::string, 4> AlignmentLetter;
  Table<std::string, 8> StatName;

  // Control words passing arguments and settings between procedures.
  Table<float, 32> SysWord;

  // The last key or line the player gave.
  std::string KeyAnswer;
  // The scenario's one-character name; its files are named after it.
  std::string ScenarioLetter;
  // Which optional file is being read when an error strikes: 0 none,
  // 3 a square picture, 5 a square message file.
  int FileContext = 0;
};

}  // namespace kestrun::game
