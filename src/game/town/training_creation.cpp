#include <algorithm>
#include <optional>

#include "game/character/screen_lines.h"
#include "game/character/stat_rules.h"
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
// Rows below the character's heading that each question redraws.
constexpr int kQuestionTop = 5;

struct Creation {
  int slot = 0;
  int race = 0;
  int bonus = 0;
  bool rolled = false;
};

double RND(Game& g) {
  return g.con.random().RND(1);
}

void printNumberAt(Game& g, int column, int row, double number) {
  g.con.COLOR(kNumber);
  printAt(g, column, row, rt::toSingle(number));
  g.con.COLOR(kNormal);
}

std::optional<int> firstFreeSlot(const Game& g) {
  for (int c = 0; c < kRosterSlots; ++c) {
    if (isEmptySlot(g, c)) return c;
  }
  return std::nullopt;
}

void clearSlot(Game& g, int slot) {
  resetCharacterRecord(g, slot);
  g.CharRec(slot, Status) = status::Normal;
}

void showHeading(Game& g, int slot) {
  g.con.CLS();
  g.con.COLOR(kNormal);
  printAt(g, 23, 1, "キャラクター　"_sj);
  g.con.PRINT(static_cast<float>(slot + 1));
}

bool askName(Game& g, int slot) {
  printAt(g, 29, 11, "１２字（全角６字）以内"_sj);
  const std::string line = askFromColumn(g, 19, 9, "名前は何にしますか ?  "_sj);
  if (line.empty()) return false;
  g.CharName(slot) = nameFromLine(line);
  printAt(g, 19, 3, "Name   " + g.CharName(slot));
  return true;
}

void chooseAlignment(Game& g, int slot) {
  blankLines(g, kQuestionTop, 23);
  printAt(g, 23, 9, "性格は何にしますか ?"_sj);
  printAt(g, 29, 12, "１　善"_sj);
  printAt(g, 29, 14, "２　中立"_sj);
  printAt(g, 29, 16, "３　悪"_sj);
  printAt(g, 27, 20, "Hit 1 - 3 Key");
  const int alignment = readKeyNumber(g, 1, 3);
  g.CharRec(slot, Identity) = rt::toSingle(withDigit(g.CharRec(slot, Identity), 2, alignment));
  printAt(g, 26, 4, g.AlignmentLetter(alignment));
}

void chooseSex(Game& g, int slot) {
  blankLines(g, kQuestionTop, 23);
  printAt(g, 27, 9, "性別は何にしますか ?"_sj);
  printAt(g, 23, 14, "１　男性"_sj);
  printAt(g, 23, 16, "２　女性"_sj);
  for (int i = 0; i < StatCount; ++i) {
    if (!isStatUsed(g, i)) continue;
    printAt(g, 35 + 5 * i, 12, g.StatName(i));
    printAt(g, 35 + 5 * i, 14, static_cast<float>(sexAdjustment(g, 0, i)));
    printAt(g, 35 + 5 * i, 16, static_cast<float>(sexAdjustment(g, 1, i)));
  }
  printAt(g, 29, 19, "Hit 1 - 2 Key");
  const int sex = readKeyNumber(g, 1, 2) - 1;
  g.CharRec(slot, Identity) =
      rt::toSingle(sex * 10000.0 + rt::MOD(g.CharRec(slot, Identity), 10000));
  printAt(g, 31, 4, sex == 0 ? "男性"_sj : "女性"_sj);
  g.SysWord(ActingSlot) = static_cast<float>(slot);
  SEI(g);
}

int countUsedStats(const Game& g) {
  int used = 0;
  for (int i = 0; i < StatCount; ++i) used += isStatUsed(g, i) ? 1 : 0;
  return used;
}

// Stat s (1..8) of race r with the character's sex adjustment.
double raceBase(const Game& g, int race, int s) {
  return g.RaceTable(race, FirstRaceStat + s - 1) + statAdjustment(g, s - 1);
}

void chooseRace(Game& g, Creation& creation) {
  blankLines(g, kQuestionTop, 23);
  for (int i = 0; i < StatCount; ++i) {
    if (isStatUsed(g, i)) printAt(g, 25 + 5 * i, 7, g.StatName(i));
  }
  printAt(g, 69, 7, "寿命  暗視"_sj);
  int races[8];
  int count = 0;
  for (int r = 0; r < 8; ++r) {
    if (g.RaceTable(r, RaceExists) == 0) continue;
    const int row = 9 + 2 * count;
    races[count++] = r;
    printNumberAt(g, 3, row, count);
    g.con.PRINT(g.RaceName(r));
    for (int i = 0; i < StatCount; ++i) {
      if (!isStatUsed(g, i)) continue;
      g.con.LOCATE(26 + 5 * i, row);
      g.con.PRINT_USING("##", {rt::toSingle(raceBase(g, r, i + 1))});
    }
    g.con.LOCATE(70, row);
    g.con.PRINT_USING("###@#",
                      {g.RaceTable(r, LifeSpan), std::string(" "), g.RaceTable(r, DarkVision)});
  }
  printAt(g, 19, 5, "種族は何にしますか ?      Hit 1 -"_sj);
  g.con.PRINT(static_cast<float>(count));
  g.con.PRINT("Key");
  creation.race = races[readKeyNumber(g, 1, count) - 1];
  printAt(g, 39, 4, g.RaceName(creation.race));
  g.CharRec(creation.slot, Identity) =
      rt::toSingle(withDigit(g.CharRec(creation.slot, Identity), 3, creation.race));
}

void showStatValue(Game& g, const Creation& creation, int s) {
  g.con.LOCATE(28, s + 6);
  g.con.PRINT_USING("##", {static_cast<float>(statOf(g, creation.slot, s - 1))});
}

void setStartingStats(Game& g, const Creation& creation) {
  blankLines(g, kQuestionTop, 23);
  for (int s = 1; s <= StatCount; ++s) {
    if (!isStatUsed(g, s - 1)) continue;
    setStat(g, creation.slot, s - 1, rt::toInt32(raceBase(g, creation.race, s)));
    printNumberAt(g, 14, s + 6, s);
    g.con.LOCATE(19, s + 6);
    g.con.PRINT_USING("@@##", {g.StatName(s - 1), "度   "_sj,
                               static_cast<float>(statOf(g, creation.slot, s - 1))});
  }
}

int rollBonus(Game& g, int usedStats) {
  int extra = 0;
  while (RND(g) * 50.0 < 38 - extra) ++extra;
  int bonus = RND(g) * 10.0 > 5 ? usedStats + 3 + extra : usedStats + 3 - extra;
  if (bonus < usedStats - 1 || bonus > 5 * usedStats - 1) {
    bonus = usedStats - 1 + rt::toInt32(rt::INT(rt::INT(RND(g) * 11.0) / 2));
  }
  return bonus;
}

void drawClassList(Game& g, int slot) {
  for (int k = 0; k < 15; ++k) {
    if (!isClassDefined(g, k)) continue;
    g.con.LOCATE(53, k + 2);
    if (!qualifiesForClass(g, slot, k, StatsChecked::Used)) {
      g.con.PRINT(rt::SPACE(22));
      continue;
    }
    printNumberAt(g, 53, k + 2, k + 1);
    g.con.PRINT("  " + g.ClassName(k));
  }
}

bool anyClassOpen(const Game& g, int slot) {
  for (int k = 0; k < 15; ++k) {
    if (isClassDefined(g, k) && qualifiesForClass(g, slot, k, StatsChecked::Used)) return true;
  }
  return false;
}

// The highest value stat s (1..8) may be raised to at creation.
double statCap(const Game& g, const Creation& creation, int s) {
  if (g.Setting(CreationStatLimit) > 40 && g.Setting(NoRaces) == 0)
    return g.Setting(CreationStatLimit) - 50 + raceBase(g, creation.race, s);
  return g.Setting(CreationStatLimit);
}

// Key 1 raises the stat by one bonus point, key 2 gives a point back; a
// step that is not allowed changes nothing.
bool changeStat(Game& g, Creation& creation, int s, int key) {
  const int value = statOf(g, creation.slot, s - 1);
  int change = 0;
  if (key == 1 && creation.bonus > 0 && value < statCap(g, creation, s)) change = 1;
  if (key == 2 && value > raceBase(g, creation.race, s)) change = -1;
  if (change == 0) return false;
  setStat(g, creation.slot, s - 1, value + change);
  creation.bonus -= change;
  return true;
}

void adjustStat(Game& g, Creation& creation, int s) {
  for (;;) {
    printAt(g, 35, 18, static_cast<float>(creation.bonus));
    blankLines(g, 21, 23);
    printAt(g, 15, 21, "増やしますか (1) 減らしますか (2) ?"_sj);
    printAt(g, 19, 23, "Hit 0 - 2 Key   他の能力値の変更は 0  "_sj);
    for (;;) {
      const int key = readKeyNumber(g, 0, 2);
      if (key == 0) return;
      if (changeStat(g, creation, s, key)) break;
    }
    showStatValue(g, creation, s);
    drawClassList(g, creation.slot);
  }
}

void allocateBonus(Game& g, Creation& creation) {
  printAt(g, 17, 18, "ボーナスポイント  "_sj);
  g.con.PRINT(static_cast<float>(creation.bonus));
  drawClassList(g, creation.slot);
  for (;;) {
    blankLines(g, 21, 23);
    printAt(g, 15, 21, "どの能力値を変えますか ?"_sj);
    printAt(g, 17, 23, "Hit 0 - 8 Key   クラス選択 あるいは 登録取り止め をするには 0"_sj);
    int s = 0;
    do {
      s = readKeyNumber(g, 0, 8);
    } while (s != 0 && !isStatUsed(g, s - 1));
    if (s == 0) return;
    adjustStat(g, creation, s);
  }
}

// 4 plus three draws of 0..4, drawn again until the adjusted value fits.
int rollStat(Game& g, double adjustment) {
  for (;;) {
    int value = 4;
    for (int d = 0; d < 3; ++d) value += rt::toInt32(rt::INT(RND(g) * 5.0));
    if (value + adjustment <= g.Setting(CreationStatLimit)) return rt::toInt32(value + adjustment);
  }
}

void showRolledStats(Game& g, int slot) {
  for (int s = 1; s <= StatCount; ++s) {
    if (!isStatUsed(g, s - 1)) continue;
    g.con.LOCATE(12, s + 6);
    g.con.PRINT(static_cast<float>(s));
    g.con.PRINT(" " + g.StatName(s - 1) + "度  "_sj);
    g.con.PRINT(static_cast<float>(statOf(g, slot, s - 1)));
  }
}

void rollStats(Game& g, const Creation& creation) {
  blankLines(g, kQuestionTop, 23);
  do {
    for (int s = 1; s <= 7; s += 2) {
      const int first = rollStat(g, statAdjustment(g, s - 1));
      const int second = rollStat(g, statAdjustment(g, s));
      setStat(g, creation.slot, s - 1, first);
      setStat(g, creation.slot, s, second);
    }
    showRolledStats(g, creation.slot);
    drawClassList(g, creation.slot);
  } while (!anyClassOpen(g, creation.slot));
}

bool confirmRegistration(Game& g) {
  blankLines(g, 18, 23);
  printAt(g, 31, 23, "Input Y or N");
  return askYesNoLine(g, 19, 21, "このキャラクターを登録しますか ?  "_sj);
}

// The class number typed, or nothing when the player goes back with 0.
std::optional<int> chooseClass(Game& g, int slot) {
  blankLines(g, 21, 23);
  for (;;) {
    const double n = askNumberFromColumn(g, 19, 21, "どのクラスにしますか ?  "_sj);
    if (n == 0) return std::nullopt;
    if (n < 1 || n > 15 || n != rt::INT(n)) continue;
    const int cls = rt::toInt32(n) - 1;
    if (isClassDefined(g, cls) && qualifiesForClass(g, slot, cls, StatsChecked::Used)) return cls;
  }
}

void finishCharacter(Game& g, int slot, int cls) {
  g.CharRec(slot, Identity) = rt::toSingle(rt::INT(g.CharRec(slot, Identity) / 100) * 100 + cls);
  const float dice = g.ClassTable(cls, HitPointDice);
  const double hitPoints =
      rt::MOD(rt::INT(dice / 10), 10) + rt::INT(RND(g) * rt::INT(dice / 100)) + 1;
  g.CharRec(slot, MaxHitPoints) = rt::toSingle(hitPoints);
  g.CharRec(slot, HitPoints) = g.CharRec(slot, MaxHitPoints);
  const float goldRule = g.Setting(StartingGold);
  g.CharLong(slot, Gold) =
      rt::toInt32(rt::INT(RND(g) * rt::MOD(goldRule, 100)) + rt::INT(goldRule / 100));
  g.CharRec(slot, LevelAndFloor) = 1;
  double days = 0;
  for (int year = 0; year < 3; ++year) days += rt::INT(RND(g) * 365.0);
  g.CharRec(slot, AgeDays) = rt::toSingle(days - 32000);
  g.SysWord(ActingSlot) = static_cast<float>(slot);
  NCHEC(g);
}

int chooseSchool(Game& g, SpellKind kind) {
  const std::string& prompt = kind == SpellKind::Holy
                                  ? "使用できる神聖呪文の系統はどれにしますか ?  "_sj
                                  : "使用できる魔法呪文の系統はどれにしますか ?  "_sj;
  blankLines(g, 21, 23);
  printAt(g, 27, 23, "Input 1 - 3");
  for (;;) {
    const double n = askNumberFromColumn(g, 19, 21, prompt);
    if (n == 1 || n == 2 || n == 3) return rt::toInt32(n);
  }
}

void learnFirstSpells(Game& g, int slot, int cls, SpellKind kind) {
  if (g.Setting(SpellSchools) != 0) {
    const int schoolDigit = kind == SpellKind::Holy ? 3 : 4;
    const int school = chooseSchool(g, kind);
    g.CharRec(slot, ChecksumAndSchools) =
        rt::toSingle(withDigit(g.CharRec(slot, ChecksumAndSchools), schoolDigit, school - 1));
  }
  if (!learnsFromFirstLevel(g, cls, kind)) return;
  const int points = std::min(learnFirstLevelSpells(g, slot, kind, true), 2);
  g.CharLong(slot, spellPointsNowField(kind)) = points;
  g.CharLong(slot, spellPointsMaxField(kind)) = points;
}

void decline(Game& g, int slot) {
  g.CharName(slot).clear();
  g.CharRec(slot, Status) = 0;
}

// Stats by bonus points or by rolls, then the confirmation and the class;
// returns the class, or nothing when the player declines.
std::optional<int> settleStatsAndClass(Game& g, Creation& creation) {
  for (;;) {
    if (!creation.rolled) allocateBonus(g, creation);
    for (;;) {
      if (!confirmRegistration(g)) return std::nullopt;
      if (creation.bonus > 0 || !anyClassOpen(g, creation.slot)) break;
      if (const std::optional<int> cls = chooseClass(g, creation.slot)) return cls;
    }
  }
}

}  // namespace

void createCharacter(Game& g) {
  const std::optional<int> free = firstFreeSlot(g);
  if (!free) {
    printAt(g, 19, 9, "これ以上つくれません"_sj);
    g.con.WAIT(30);
    return;
  }
  Creation creation;
  creation.slot = *free;
  do {
    clearSlot(g, creation.slot);
    showHeading(g, creation.slot);
  } while (!askName(g, creation.slot));
  if (g.Setting(AlignmentsUsed) != 0) chooseAlignment(g, creation.slot);
  if (g.Setting(SexesUsed) != 0) {
    chooseSex(g, creation.slot);
  } else {
    clearStatAdjustments(g);
  }
  creation.rolled = g.Setting(NoRaces) == 1;
  if (creation.rolled) {
    rollStats(g, creation);
  } else {
    chooseRace(g, creation);
    setStartingStats(g, creation);
    creation.bonus = rollBonus(g, countUsedStats(g));
  }
  const std::optional<int> cls = settleStatsAndClass(g, creation);
  if (!cls) {
    decline(g, creation.slot);
    return;
  }
  finishCharacter(g, creation.slot, *cls);
  for (SpellKind kind : {SpellKind::Holy, SpellKind::Magic}) {
    if (castsSpells(*cls, kind)) learnFirstSpells(g, creation.slot, *cls, kind);
  }
}

}  // namespace kestrun::game
