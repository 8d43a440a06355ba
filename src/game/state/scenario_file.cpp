#include "game/state/scenario_file.h"

#include "game/state/fields.h"
#include "game/state/record_io.h"
#include "game/state/scramble.h"

namespace kestrun::game {

namespace f = format::scenario;
using format::cycleOffset;
using format::fixedOffset;
using format::gridOffset;
using format::linearOffset;

namespace {

template <int32_t N>
void readTexts(rt::FileTable& files, int n, Table<std::string, N>& table, int first = 0) {
  for (int i = first; i < N; ++i) table(i) = readText(files, n);
}

template <int32_t R, int32_t C>
void readTextPairs(rt::FileTable& files, int n, Table<std::string, R, C>& table) {
  for (int i = 0; i < R; ++i) {
    for (int j = 0; j < C; ++j) table(i, j) = readText(files, n);
  }
}

template <int32_t R, int32_t C>
void readGrid(rt::FileTable& files, int n, Table<float, R, C>& table, int firstRow = 0) {
  for (int i = firstRow; i < R; ++i) {
    for (int j = 0; j < C; ++j) table(i, j) = readSingle(files, n);
  }
}

template <int32_t R, int32_t C>
void unscrambleGrid(Table<float, R, C>& table, const format::GridMask& mask, double key,
                    int firstRow = 0) {
  for (int i = firstRow; i < R; ++i) {
    for (int j = 0; j < C; ++j)
      table(i, j) = rt::toSingle(table(i, j) - gridOffset(mask, key, i, j));
  }
}

template <int32_t R, int32_t C>
void writeGrid(rt::FileTable& files, int n, const Table<float, R, C>& table,
               const format::GridMask& mask, double key, int firstRow = 0) {
  for (int i = firstRow; i < R; ++i) {
    for (int j = 0; j < C; ++j) writeNumber(files, n, table(i, j) + gridOffset(mask, key, i, j));
  }
}

}  // namespace

std::string scenarioFileName(const std::string& letter) {
  return letter + "-S.DAT";
}

void readScenarioTexts(rt::FileTable& files, int n, ScenarioTables& s) {
  readTexts(files, n, s.ScenarioText);
}

void readScenarioRest(rt::FileTable& files, int n, ScenarioTables& s) {
  readTexts(files, n, s.SpellName, 1);
  readTexts(files, n, s.RaceName);
  readTexts(files, n, s.ClassName);
  readTexts(files, n, s.TrapName);
  readTextPairs(files, n, s.ItemName);
  readTextPairs(files, n, s.MonsterName);
  for (int c = 0; c < 15; ++c) {
    for (int k = 0; k < 18; ++k) s.ClassTable(c, k) = readSingle(files, n);
    s.ClassExpPart(c, ExpPartA) = readSingle(files, n);
    s.ClassExpPart(c, ExpPartB) = readSingle(files, n);
  }
  readGrid(files, n, s.RaceTable);
  for (int i = 0; i < 74; ++i) s.Setting(i) = readSingle(files, n);
  readGrid(files, n, s.FloorEncounter);
  readGrid(files, n, s.TrapTable);
  readGrid(files, n, s.SpellTable);
  for (int i = 0; i < 3; ++i) s.ScenarioId(i) = readSingle(files, n);
  readGrid(files, n, s.TreasureTable);
  readGrid(files, n, s.FloorRule);
  readGrid(files, n, s.ItemTable);
  readGrid(files, n, s.MonsterTable);
  for (int i = 0; i < 121; ++i) s.InitialStock(i) = readSingle(files, n);
}

void unscrambleScenario(ScenarioTables& s) {
  const double key = s.Setting(ScrambleKey);
  s.ScenarioId(ScenarioNumber) =
      rt::toSingle(s.ScenarioId(ScenarioNumber) - fixedOffset(f::kScenarioId, key));
  unscrambleGrid(s.ClassTable, f::kClassTable, key);
  for (int c = 0; c < 15; ++c) {
    const double a = s.ClassExpPart(c, ExpPartA) - fixedOffset(f::kExpPartA, key);
    const double b = s.ClassExpPart(c, ExpPartB) - fixedOffset(f::kExpPartB, key);
    s.ClassExpPart(c, ExpPartA) = rt::toSingle(a);
    s.ClassExpPart(c, ExpPartB) = rt::toSingle(b);
    s.ClassExpFactor(c) = rt::toSingle((a * 1000 + b) / 1000000);
  }
  unscrambleGrid(s.RaceTable, f::kRaceTable, key);
  for (int i = 1; i < 74; ++i) {
    s.Setting(i) = rt::toSingle(s.Setting(i) - linearOffset(f::kSetting, key, i));
  }
  unscrambleGrid(s.FloorEncounter, f::kFloorEncounter, key);
  unscrambleGrid(s.TrapTable, f::kTrapTable, key);
  unscrambleGrid(s.SpellTable, f::kSpellTable, key);
  unscrambleGrid(s.TreasureTable, f::kTreasureTable, key);
  unscrambleGrid(s.FloorRule, f::kFloorRule, key);
  unscrambleGrid(s.ItemTable, f::kItemTable, key);
  unscrambleGrid(s.MonsterTable, f::kMonsterTable, key);
  for (int i = 0; i < 121; ++i) {
    s.InitialStock(i) = rt::toSingle(s.InitialStock(i) - cycleOffset(f::kInitialStock, key, i));
  }
}

void writeScenario(rt::FileTable& files, int n, const ScenarioTables& s) {
  const double key = s.Setting(ScrambleKey);
  for (int i = 0; i < 13; ++i) writeText(files, n, s.ScenarioText(i));
  for (int i = 1; i < 81; ++i) writeText(files, n, s.SpellName(i));
  for (int i = 0; i < 8; ++i) writeText(files, n, s.RaceName(i));
  for (int i = 0; i < 15; ++i) writeText(files, n, s.ClassName(i));
  for (int i = 0; i < 15; ++i) writeText(files, n, s.TrapName(i));
  for (int i = 0; i < 121; ++i) {
    for (int j = 0; j < 2; ++j) writeText(files, n, s.ItemName(i, j));
  }
  for (int i = 0; i < 120; ++i) {
    for (int j = 0; j < 2; ++j) writeText(files, n, s.MonsterName(i, j));
  }
  for (int c = 0; c < 15; ++c) {
    for (int k = 0; k < 18; ++k) {
      writeNumber(files, n, s.ClassTable(c, k) + gridOffset(f::kClassTable, key, c, k));
    }
    writeNumber(files, n, s.ClassExpPart(c, ExpPartA) + fixedOffset(f::kExpPartA, key));
    writeNumber(files, n, s.ClassExpPart(c, ExpPartB) + fixedOffset(f::kExpPartB, key));
  }
  writeGrid(files, n, s.RaceTable, f::kRaceTable, key);
  writeNumber(files, n, key);
  for (int i = 1; i < 74; ++i) {
    writeNumber(files, n, s.Setting(i) + linearOffset(f::kSetting, key, i));
  }
  writeGrid(files, n, s.FloorEncounter, f::kFloorEncounter, key);
  writeGrid(files, n, s.TrapTable, f::kTrapTable, key);
  writeGrid(files, n, s.SpellTable, f::kSpellTable, key);
  writeNumber(files, n, s.ScenarioId(ScenarioNumber) + fixedOffset(f::kScenarioId, key));
  writeNumber(files, n, s.ScenarioId(FirstScenarioIdExtra));
  writeNumber(files, n, s.ScenarioId(FirstScenarioIdExtra + 1));
  writeGrid(files, n, s.TreasureTable, f::kTreasureTable, key);
  writeGrid(files, n, s.FloorRule, f::kFloorRule, key);
  writeGrid(files, n, s.ItemTable, f::kItemTable, key);
  writeGrid(files, n, s.MonsterTable, f::kMonsterTable, key);
  for (int i = 0; i < 121; ++i) {
    writeNumber(files, n, s.InitialStock(i) + cycleOffset(f::kInitialStock, key, i));
  }
}

}  // namespace kestrun::game
