#pragma once

#include <optional>
#include <string>

#include "game/state/fields.h"
#include "game/state/tables.h"
#include "runtime/console.h"

namespace kestrun::game {

// The whole game state: the scenario, roster and floor tables, the control
// words and work tables every procedure reads and writes, and the console
// they run on.
struct Game : ScenarioTables, RosterTables, FloorTables {
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
  // The item numbers on the shop page being shown.
  Table<float, 16> ShopPage;
  // The party's battle rows, kept while the camp reorders the party.
  Table<float, 8, 33> PartySave;
  // Battle work tables: one row per party position, and groups x monsters.
  Table<float, 9, 34> BattleParty;
  Table<float, 4, 9, 12> BattleMonsters;
  // The monster groups of a battle, places 0..3: the monster (-1 no group),
  // the living count, 1 while unidentified, monster x 100 + kills, the next
  // monster a member aims at, and (g, 0) the count at the turn's start,
  // (g, 1) those called in this turn.
  Table<float, 4> GroupMonster;
  Table<float, 4> GroupCount;
  Table<float, 4> GroupUnknown;
  Table<float, 4> GroupKills;
  Table<float, 4> GroupAim;
  Table<float, 4, 2> GroupSlots;
  // Initiative(side, i): side 0 the party by position - 1, side g + 1 the
  // monsters of group g.
  Table<float, 5, 9> Initiative;
  Table<float, 4, 9> MonsterAgility;
  // The marching order GameState(FirstMember..) as the battle began.
  Table<float, 8> BattleOrder;
  // CALC's view of the walls: 0..19 the boundary of each view slot, 20..39
  // the square beyond it.
  Table<float, 40> View3D;
  // 32-bit work integers: 0 the experience threshold of LVCALC, 1 the
  // battle's experience pool.
  Table<int32_t, 2> WorkLong;
  // The battle's own words, shared by its pieces for one battle: who was
  // surprised (0 nobody, 1 the monsters had not noticed, 2 the party), how
  // the monsters came (SysWord(EncounterSource) on entry) and the encounter
  // column drawn from, the party's best level, Knowledge and Luck, 1 while
  // the party stands in mud, the members still standing this turn, whether
  // someone chose to run this turn, and the next front-rank victim of a
  // group's attacks.
  struct BattleWords {
    int Surprise = 0;
    int EncounterKind = 0;
    int EncounterColumn = 0;
    int TopLevel = 0;
    int TopKnowledge = 0;
    int TopLuck = 0;
    int MudPenalty = 0;
    int AliveCount = 0;
    bool RunChosen = false;
    int NextVictim = 1;
  };
  BattleWords Battle;

  // The last key or line the player gave.
  std::string KeyAnswer;
  // The scenario's one-character name; its files are named after it.
  std::string ScenarioLetter;
  // Which optional file is being read when an error strikes: 0 none,
  // 3 a square picture, 5 a square message file.
  int FileContext = 0;
  // Whether the camp may show the floor map.
  bool MapViewAllowed = false;
  // The exploration loop's own words: the floor it works on (kept equal to
  // INT(GameState(FloorAndFacing) / 100)); 1 after a move, a spinner's turn or a camp
  // visit until the square's events have been looked at; and running: 0
  // walking, 1 running, 2 the first square after a stop.
  int CurrentFloor = 0;
  int StepTaken = 0;
  int RunState = 0;
};

}  // namespace kestrun::game
