#include <algorithm>
#include <optional>

#include "game/character/screen_lines.h"
#include "game/character/stat_rules.h"
#include "game/spells/learning.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "game/town/training_parts.h"
#include "runtime/sjis.h"
#include "runtime/strings.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kNormal = 6;
constexpr int kNumber = 7;

struct Place {
  int column;
  int row;
};

// Class k is listed on row k + 10; what does not fit above the last row
// continues in a second column.
Place listPlace(int cls) {
  const int row = cls + 10;
  if (row <= 23) return {14, row};
  return {44, row - 14};
}

void showClassChoices(Game& g, int slot) {
  rt::Console& con = g.con;
  showSheet(g, slot);
  blankLines(g, 9, 23);
  con.COLOR(kNumber);
  con.LOCATE(15, 9);
  con.PRINT("0");
  con.COLOR(kNormal);
  con.PRINT("  戻る"_sj);
  for (int k = 0; k < 15; ++k) {
    if (!isClassDefined(g, k) || !qualifiesForClass(g, slot, k, StatsChecked::All)) continue;
    const Place place = listPlace(k);
    con.LOCATE(place.column, place.row);
    con.COLOR(kNumber);
    con.PRINT_USING("##", {static_cast<float>(k + 1)});
    con.COLOR(kNormal);
    con.PRINT(" " + g.ClassName(k));
  }
}

std::optional<int> askNewClass(Game& g, int slot) {
  for (;;) {
    const double n = askNumberFromColumn(g, 39, 14, "新しいクラスは何にしますか ?  "_sj);
    if (n == 0) return std::nullopt;
    if (n < 1 || n > 15 || n != rt::INT(n)) continue;
    const int cls = rt::toInt32(n) - 1;
    if (cls == classOf(g, slot) || !isClassDefined(g, cls)) continue;
    if (qualifiesForClass(g, slot, cls, StatsChecked::Used)) return cls;
  }
}

// The maximum points per spell level become the number of spells known of
// that level.
void fitPointsToKnownSpells(Game& g, int slot, SpellKind kind) {
  int32_t maximum = 0;
  int32_t unit = 1;
  for (int level = 1; level <= 9; ++level, unit *= 10) {
    maximum += std::min(knownSpellsOfLevel(g, slot, static_cast<int>(kind), level), 9) * unit;
  }
  g.CharLong(slot, spellPointsMaxField(kind)) = maximum;
}

void carrySpellsOver(Game& g, int slot) {
  const float rule = g.Setting(MiracleOption);
  if (rule == 0) {
    for (int f = FirstSpellField; f < CharRecFields; ++f) g.CharRec(slot, f) = 0;
    for (int f = HolyPoints; f <= MagicPointsMax; ++f) g.CharLong(slot, f) = 0;
  } else if (rule == 1 && g.Setting(SpellPointMode) == 2) {
    for (int f = HolyPoints; f <= MagicPointsMax; ++f) g.CharLong(slot, f) /= 2;
  } else if (rule == 1) {
    fitPointsToKnownSpells(g, slot, SpellKind::Holy);
    fitPointsToKnownSpells(g, slot, SpellKind::Magic);
  }
}

void grantStartingPoints(Game& g, int slot, int cls, SpellKind kind) {
  int32_t& now = g.CharLong(slot, spellPointsNowField(kind));
  int32_t& maximum = g.CharLong(slot, spellPointsMaxField(kind));
  const int startsColumn = kind == SpellKind::Holy ? HolyStartLevel : MagicStartLevel;
  if (g.ClassTable(cls, startsColumn) == 1 && maximum < 2) {
    now = 2;
    maximum = 2;
  }
  if (!learnsFromFirstLevel(g, cls, kind)) return;
  const int offered = std::min(learnFirstLevelSpells(g, slot, kind, false), 2);
  maximum = std::max(maximum, offered);
  now = maximum;
}

void resetStatsToRace(Game& g, int slot) {
  loadSexAdjustments(g, slot);
  const int race = raceOf(g, slot);
  for (int s = 0; s < StatCount; ++s) {
    setStat(g, slot, s, rt::toInt32(g.RaceTable(race, FirstRaceStat + s) + statAdjustment(g, s)));
  }
}

void applyClassChange(Game& g, int slot, int cls) {
  g.CharRec(slot, Identity) = rt::toSingle(rt::INT(g.CharRec(slot, Identity) / 100) * 100 + cls);
  g.CharLong(slot, Experience) =
      rt::toInt32(rt::INT(g.CharLong(slot, Experience) / 100.0 * g.Setting(ClassChangeExperience)));
  g.CharRec(slot, LevelAndFloor) =
      rt::toSingle(rt::INT(g.CharRec(slot, LevelAndFloor) / 1000) * 1000 + 1);
  const int ageing = rt::MOD(g.Setting(AgeingAndChest), 100);
  if (ageing != 0) {
    const double days = rt::INT(g.con.random().RND(1) * 730.0) + (ageing - 1) * 365.0;
    g.CharRec(slot, AgeDays) = rt::toSingle(g.CharRec(slot, AgeDays) + days);
  }
  carrySpellsOver(g, slot);
  for (SpellKind kind : {SpellKind::Holy, SpellKind::Magic}) {
    if (castsSpells(cls, kind)) grantStartingPoints(g, slot, cls, kind);
  }
  for (int f = FirstItemSlot; f < FirstItemSlot + MaxItemSlots; ++f) {
    g.CharRec(slot, f) = rt::toSingle(withDigit(g.CharRec(slot, f), 3, 0));
  }
  if (g.Setting(ClassChangeResetsStats) != 0 && g.Setting(NoRaces) == 0) resetStatsToRace(g, slot);
  g.SysWord(ActingSlot) = static_cast<float>(slot);
  NCHEC(g);
}

}  // namespace

bool changeClass(Game& g, int slot) {
  showClassChoices(g, slot);
  const std::optional<int> cls = askNewClass(g, slot);
  if (!cls) return false;
  applyClassChange(g, slot, *cls);
  return true;
}

}  // namespace kestrun::game
