#include <algorithm>
#include <string>

#include "game/battle/battle_common.h"
#include "game/battle/monster_action_parts.h"
#include "game/battle/monster_rules.h"
#include "game/character/hit_dice.h"
#include "game/character/message_timing.h"
#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/spells/learning.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"
#include "runtime/strings.h"
#include "runtime/values.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr double kFlag = 10000;
constexpr int kGuard = 5;
constexpr int kResultRow = 14;

// What the blows did besides their damage.
struct Touches {
  int drainedLevels = 0;
  bool poison = false;
  bool paralysis = false;
  bool petrification = false;
  bool deadly = false;
};

struct Blows {
  int hits = 0;
  double damage = 0;
};

struct Victim {
  int position;
  int slot;
  float& command;
};

double rnd(Game& g) {
  return randomDraw(g);
}

double monsterRow(const MonsterActor& a, int f) {
  return a.g.MonsterTable(a.monster, f);
}

// The target's armour class as the battle panel shows it.
double shownArmour(const Game& g, int position, int slot) {
  return g.BattleParty(position - 1, BattleArmourClass) - g.CharRec(slot, ArmourModifier);
}

double hitChanceOn(const MonsterActor& a, const Victim& v) {
  Game& g = a.g;
  double penalty = v.command == kGuard ? 10 : 0;
  if (!hasSoundStatus(g.CharRec(v.slot, Status))) penalty -= 20;
  const double armourTerm = g.Setting(ArmourAffectsHits) >= 2
                                ? rt::INT(levelOf(g, v.slot) / 2.0) - 5
                                : -shownArmour(g, v.position, v.slot);
  return monster_rules::hitChance(monsterLevelOf(g, a.monster), armourTerm, penalty);
}

Blows strike(const MonsterActor& a, const Victim& v) {
  Game& g = a.g;
  const double chance = hitChanceOn(a, v);
  Blows blows;
  for (int k = 1; k <= monster_rules::attackCount(g, a.monster); ++k) {
    const int roll = rt::toInt32(rt::INT(rnd(g) * 100 + 1));
    if (!monster_rules::rollHits(roll, chance)) continue;
    const monster_rules::AttackDice dice = monster_rules::attackDice(g, a.monster, k);
    double damage = dice.bonus + diceRoll(g, dice.dice, dice.sides);
    if (g.Setting(ArmourAffectsHits) != 1) {
      damage = monster_rules::damageAfterArmour(damage, shownArmour(g, v.position, v.slot));
    }
    ++blows.hits;
    blows.damage += damage;
  }
  return blows;
}

bool sealedTouches(const MonsterActor& a) {
  return digit(a.g.BattleMonsters(a.group, a.index, MonsterSealed), 1) == 1;
}

// The touches that get through the member's Health and Luck, in their
// order; a deadly touch ends the list.
Touches touch(const MonsterActor& a, const Victim& v) {
  Game& g = a.g;
  Touches t;
  const bool sound = hasSoundStatus(g.CharRec(v.slot, Status));
  const double luck = battleStat(g, v.position, Luck);
  const double resistance = sound ? battleStat(g, v.position, Health) * 2 + luck : 0;
  const double scale = g.SysWord(StatScale) * 2 + 5;
  const int drain = digit(monsterRow(a, MonsterDrain), 2);
  if (drain > 0 && luck < rnd(g) * scale) t.drainedLevels = drain;
  auto overcomes = [&] { return resistance < rnd(g) * scale * 3; };
  t.poison = monsterRow(a, MonsterHitSides) >= kFlag && overcomes();
  t.paralysis = digit(monsterRow(a, MonsterDrain), 3) > 0 && overcomes();
  t.petrification = monsterRow(a, MonsterGroupSides) >= kFlag && overcomes();
  if (monsterRow(a, MonsterGroupDice) >= kFlag && monsterLevelOf(g, a.monster) > rnd(g) * 100) {
    t.deadly = true;
    return t;
  }
  if (carriesWard(g, v.slot, Ward::Drain)) t.drainedLevels = 0;
  if (carriesWard(g, v.slot, Ward::Poison)) t.poison = false;
  if (carriesWard(g, v.slot, Ward::Petrification)) t.petrification = false;
  return t;
}

void showResult(Game& g, std::initializer_list<rt::PrintItem> items) {
  blankColumns(g, 24, kResultRow, 45);
  printItemsAt(g, 24, kResultRow, items);
}

void sayResult(Game& g, std::initializer_list<rt::PrintItem> items) {
  showResult(g, items);
  TMWAIT(g);
}

// The maximum hit points a member keeps after losing levels.
double maximumAfterDrain(Game& g, int slot, int newLevel) {
  const double maximum = g.CharRec(slot, MaxHitPoints);
  const HitDice dice = hitDiceOf(g, slot);
  if (g.Setting(HitPointMode) == 0) return maximum - die(g, dice.perLevel);
  return rollAllHitDice(g, dice, newLevel);
}

void loseMember(Game& g, const Victim& v) {
  v.command = 0;
  g.CharRec(v.slot, HitPoints) = 0;
  g.CharLong(v.slot, Experience) = 0;
  g.CharRec(v.slot, Status) = status::Lost;
  showResult(g, {g.CharName(v.slot), " は消失した !"_sj});
}

// Levels drained: the message names the levels the blow took, then they are
// cut to the member's level. The hit points and spells follow the new level
// even for a member drained to nothing; false when he is then lost.
bool drainLevels(Game& g, const Victim& v, int levels) {
  sayResult(
      g, {g.CharName(v.slot), " はレベルを "_sj, static_cast<int16_t>(levels), " 下げられた"_sj});
  const int level = levelOf(g, v.slot);
  levels = std::min(levels, level);
  g.CharRec(v.slot, LevelAndFloor) -= static_cast<float>(levels);
  g.BattleParty(v.position - 1, LevelsLost) += static_cast<float>(levels);
  const int newLevel = level - levels;
  const double loss =
      std::max(1.0, g.CharRec(v.slot, MaxHitPoints) - maximumAfterDrain(g, v.slot, newLevel));
  g.CharRec(v.slot, HitPoints) -= static_cast<float>(loss);
  g.CharRec(v.slot, MaxHitPoints) -= static_cast<float>(loss);
  g.SysWord(ActingSlot) = static_cast<float>(v.slot);
  g.SysWord(LearningMode) = 1;
  g.SysWord(NewLevel) = static_cast<float>(newLevel);
  SPM(g);
  if (newLevel < 1) {
    loseMember(g, v);
    return false;
  }
  return true;
}

// How the results of a blow ended.
enum class Aftermath { Shown, Waited, Died };

// What the blows leave behind, in their order.
Aftermath applyResults(Game& g, const Victim& v, const Touches& t) {
  if (t.drainedLevels > 0 && !drainLevels(g, v, t.drainedLevels)) return Aftermath::Shown;
  if (g.CharRec(v.slot, HitPoints) < 1) {
    memberFalls(g, v.position);
    sayResult(g, {g.CharName(v.slot), " は死んだ"_sj});
    return Aftermath::Died;
  }
  float& code = g.CharRec(v.slot, Status);
  Aftermath last = t.drainedLevels > 0 ? Aftermath::Waited : Aftermath::Shown;
  if (t.poison) {
    code = static_cast<float>(rt::MOD(code, 1000) + 1000 + rt::INT(code / 10000) * 10000);
    sayResult(g, {g.CharName(v.slot), " は毒に侵された"_sj});
    last = Aftermath::Waited;
  }
  if (t.paralysis) {
    v.command = 0;
    code = static_cast<float>(rt::MOD(code, 100) + 100 + rt::INT(code / 1000) * 1000);
    sayResult(g, {g.CharName(v.slot), " は麻痺した"_sj});
    last = Aftermath::Waited;
  }
  if (t.petrification) {
    v.command = 0;
    code = static_cast<float>(rt::MOD(code, 10000) + 10000);
    showResult(g, {g.CharName(v.slot), " は石化した"_sj});
    last = Aftermath::Shown;
  }
  return last;
}

}  // namespace

void attackMember(const MonsterActor& a, int position) {
  Game& g = a.g;
  const Victim v{position, memberSlot(g, position), g.BattleParty(position - 1, Command)};
  printItemsAt(g, 24, 8, {shownGroupName(g, a.group), " は "_sj, g.CharName(v.slot), " を"_sj});
  const Blows blows = strike(a, v);
  const int16_t attacks = static_cast<int16_t>(monster_rules::attackCount(g, a.monster));
  if (blows.hits == 0) {
    printItemsAt(g, 26, 10, {attacks, " 回攻撃して"_sj});
    sayAt(g, 30, 12, {"はずれた !"_sj});
    return;
  }
  const Touches touches = sealedTouches(a) ? Touches{} : touch(a, v);
  if (touches.deadly) {
    printAt(g, 24, 10, "攻撃して致命傷を与えた"_sj);
    g.CharRec(v.slot, HitPoints) = 0;
  } else {
    printItemsAt(g, 26, 10, {attacks, " 回攻撃して"_sj});
    printItemsAt(g, 28, 12, {static_cast<float>(blows.damage), " のダメージを与えた"_sj});
    g.CharRec(v.slot, HitPoints) -= static_cast<float>(blows.damage);
  }
  const Aftermath aftermath = applyResults(g, v, touches);
  if (aftermath == Aftermath::Died) return;
  showMemberHitPoints(g, position);
  if (aftermath == Aftermath::Shown) TMWAIT(g);
}

}  // namespace kestrun::game
