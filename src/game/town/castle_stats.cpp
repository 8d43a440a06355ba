#include <algorithm>
#include <optional>

#include "game/character/hit_dice.h"
#include "game/character/message_timing.h"
#include "game/character/screen_lines.h"
#include "game/character/stat_rules.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "game/town/castle_parts.h"
#include "game/town/program_end.h"
#include "game/town/retirement.h"
#include "runtime/sjis.h"
#include "runtime/strings.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

double rnd(Game& g) {
  return g.con.random().RND(1);
}

double bestHitDiceRoll(const HitDice& dice, int level) {
  return dice.base + dice.firstLevel + (level - 1) * std::max(dice.perLevel, 1.0);
}

// A healthy character may roll all his dice again when the roll would not
// raise his maximum.
double rerolledMaximum(Game& g, int c, int level) {
  const HitDice dice = hitDiceOf(g, c);
  const double old = g.CharRec(c, MaxHitPoints);
  const double health = statOf(g, c, Health);
  const double scale = g.SysWord(StatScale);
  // When the second chance is certain and no roll can be better, asking
  // again would never end.
  const bool hopeless = 2 * health >= 5 * scale && bestHitDiceRoll(dice, level) <= old;
  double rolled = rollAllHitDice(g, dice, level);
  while (rolled <= old && !hopeless && 2 * health > rnd(g) * 5 * scale) {
    rolled = rollAllHitDice(g, dice, level);
  }
  return rolled > old ? rolled : old + 1;
}

int changeRate(const Game& g) {
  return rt::MOD(g.Setting(StatChangeRate), 100);
}

void loseIfWeakened(Game& g, int c, int s) {
  if (statOf(g, c, s) < 1) g.CharRec(c, Status) = status::Lost;
}

void changeStat(Game& g, int c, int s, int by) {
  setStat(g, c, s, std::max(statOf(g, c, s) + by, 0));
  loseIfWeakened(g, c, s);
}

bool isAtLimit(const Game& g, int c, int s, double adjustment) {
  return statOf(g, c, s) >= levelUpStatLimit(g, c, s, adjustment);
}

// The stat a rule names, or its pair partner when the scenario does not
// use it.
int usedOr(const Game& g, int stat, int partner) {
  return isStatUsed(g, stat) ? stat : partner;
}

// Age in days and life span in days, both counted from the age of 15.
struct Ageing {
  double age;
  double life;
};

Ageing ageingOf(const Game& g, int c) {
  return {ageInDays(g, c), (lifeSpanYears(g, c) - 15) * 365.0};
}

// Rolls of 66..95 leave the stat alone; lower ones raise it, higher ones
// lower it. Age pushes the roll up.
void rollStatChange(Game& g, int c, int s, int row) {
  double roll = rt::INT(rnd(g) * 100) + 1;
  if (g.Setting(StatChangeMode) == 0) roll += classBias(g, c, s);
  const Ageing ageing = ageingOf(g, c);
  if (ageing.life > 0 && ageing.age > ageing.life / 2) {
    roll += rt::INT(ageing.age * 50 / ageing.life);
  }
  if (roll > 95) {
    changeStat(g, c, s, -1);
    printAt(g, 25, row, g.StatName(s) + "度が減少した"_sj);
  } else if (roll <= 65 && !isAtLimit(g, c, s, 0)) {
    changeStat(g, c, s, 1);
    printAt(g, 25, row, g.StatName(s) + "度が増加した"_sj);
  }
}

void randomStatChanges(Game& g, int c) {
  int considered = 0;
  for (int s = 0; s < StatCount; ++s) {
    if (!isStatUsed(g, s)) continue;
    if (rnd(g) * 10 >= changeRate(g)) continue;
    ++considered;
    rollStatChange(g, c, s, 6 + considered);
  }
}

// During a level up the adjustment words mark the stats already changed.
bool isMarked(const Game& g, int s) {
  return statAdjustment(g, s) != 0;
}

void showPoints(Game& g, int points) {
  printAt(g, 19, 8, "能力値の上昇 "_sj);
  g.con.PRINT(static_cast<int16_t>(points));
  g.con.PRINT("ポイント"_sj);
}

void showStats(Game& g, int c) {
  for (int s = 0; s < StatCount; ++s) {
    if (!isStatUsed(g, s)) continue;
    printAt(g, 25, 10 + s, static_cast<int16_t>(s + 1));
    g.con.PRINT("  ");
    g.con.PRINT(g.StatName(s) + "度  "_sj);
    g.con.PRINT(static_cast<int16_t>(statOf(g, c, s)));
  }
}

void askWhichStat(Game& g, int points) {
  printAt(g, 23, 21, "どの能力値を上げますか ?"_sj);
  if (points < 0) printAt(g, 35, 21, "下"_sj);
  printAt(g, 27, 23, "Hit 0 - 8 Key");
}

bool confirmsGivingUp(Game& g) {
  printAt(g, 23, 21, "終ってよろしいですか ?  "_sj);
  printAt(g, 27, 23, "Hit Y - N Key");
  YesNoKey(g);
  return g.KeyAnswer == "Y";
}

bool anyStatLeftToChange(const Game& g) {
  for (int s = 0; s < StatCount; ++s) {
    if (isStatUsed(g, s) && !isMarked(g, s)) return true;
  }
  return false;
}

// Waits for a stat the player may change; nothing when he ends the changes.
std::optional<int> waitForStatKey(Game& g, int c, int points) {
  for (;;) {
    g.KeyAnswer = g.con.waitKey();
    const std::optional<int> key = digitKey(g.KeyAnswer, StatCount);
    if (!key) continue;
    if (*key == 0) {
      if (points == 0) return std::nullopt;
      // Lowering cannot be refused.
      if (points < 0) {
        askWhichStat(g, points);
        continue;
      }
      if (confirmsGivingUp(g)) return std::nullopt;
      askWhichStat(g, points);
      continue;
    }
    const int s = *key - 1;
    if (!isStatUsed(g, s) || isMarked(g, s)) continue;
    if (points > 0 && isAtLimit(g, c, s, 0)) continue;
    return s;
  }
}

}  // namespace

void placeStatPoints(Game& g, int c, int points) {
  clearStatAdjustments(g);
  showPoints(g, points);
  if (points == 0) {
    TMWAIT(g);
    return;
  }
  for (;;) {
    showStats(g, c);
    askWhichStat(g, points);
    const std::optional<int> s = waitForStatKey(g, c, points);
    if (!s) return;
    const int step = points > 0 ? 1 : -1;
    changeStat(g, c, *s, step);
    points -= step;
    statAdjustment(g, *s) = 1;
    printAt(g, 38, 10 + *s, static_cast<int16_t>(statOf(g, c, *s)));
    if (g.CharRec(c, Status) == status::Lost) return;
    if (points == 0 || !anyStatLeftToChange(g)) {
      blankColumns(g, 19, 8, 58);
      return;
    }
    showPoints(g, points);
  }
}

// Each class skill favours one stat (a lower roll, so it rises more often)
// and disfavours another; the first skill of the class naming the stat
// decides.
int classBias(const Game& g, int c, int s) {
  struct BiasRule {
    int skillDigit;
    int favoured, favouredPartner;
    int disfavoured, disfavouredPartner;
  };
  constexpr BiasRule kRules[] = {
      {1, Dexterity, Agility, Faith, Knowledge},  // thief skill
      {2, Knowledge, Faith, Strength, Health},    // magic spells
      {3, Faith, Knowledge, Dexterity, Agility},  // holy spells
      {4, Strength, Health, Knowledge, Faith},    // combat skill
  };
  const float skills = g.ClassTable(classOf(g, c), ClassSkills);
  for (const BiasRule& rule : kRules) {
    if (digit(skills, rule.skillDigit) == 0) continue;
    if (s == usedOr(g, rule.favoured, rule.favouredPartner)) return -10;
    if (s == usedOr(g, rule.disfavoured, rule.disfavouredPartner)) return 10;
  }
  return 0;
}

double raisedHitPointMaximum(Game& g, int c, int newLevel) {
  if (g.Setting(HitPointMode) == 1) return rerolledMaximum(g, c, newLevel);
  return g.CharRec(c, MaxHitPoints) + die(g, hitDiceOf(g, c).perLevel);
}

double levelUpStatLimit(const Game& g, int c, int s, double adjustment) {
  if (g.Setting(CreationStatLimit) > 40)
    return g.RaceTable(raceOf(g, c), FirstRaceStat + s) + adjustment +
           g.Setting(CreationStatLimit) - 50;
  return g.Setting(CreationStatLimit);
}

int placedPoints(Game& g, int c) {
  loadSexAdjustments(g, c);
  int used = 0;
  int belowLimit = 0;
  for (int s = 0; s < StatCount; ++s) {
    if (!isStatUsed(g, s)) continue;
    ++used;
    if (!isAtLimit(g, c, s, statAdjustment(g, s))) ++belowLimit;
  }
  const double n = used;
  const Ageing a = ageingOf(g, c);
  double points = 0;
  if (a.age < a.life / 3) {
    points = rt::INT(rnd(g) * n);
  } else if (a.age > 2 * a.life / 3) {
    points = rt::INT(n / 2 - rnd(g) * n * 1.3);
  } else if (a.age > a.life / 2) {
    points = rt::INT(n / 2 - rnd(g) * n);
  } else {
    points = rt::INT(rnd(g) * n - n / 3);
  }
  points = std::max(points, -rt::INT(n / 2));
  points = rt::INT(points * (changeRate(g) + 2) / 12);
  // Each stat changes once at most, so no more can be lowered than there are
  // stats.
  return rt::toInt32(std::clamp(points, -n, static_cast<double>(belowLimit)));
}

void changeStatsAtLevelUp(Game& g, int c) {
  if (changeRate(g) == 0) return;
  if (g.Setting(StatChangeMode) < 2) {
    randomStatChanges(g, c);
  } else {
    placeStatPoints(g, c, placedPoints(g, c));
  }
}

}  // namespace kestrun::game
