#include <algorithm>
#include <cmath>

#include "game/character/hit_dice.h"
#include "game/character/message_timing.h"
#include "game/character/stat_rules.h"
#include "game/dungeon/map_view.h"
#include "game/spells/catalogue.h"
#include "game/spells/learning.h"
#include "game/spells/spell_effects.h"
#include "game/spells/spell_rules.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr double kLastingProtection = 2;
constexpr double kBrightLight = 500;
constexpr double kShieldLimit = 80;
constexpr double kShieldStep = 20;
constexpr float kHighestMaxHitPoints = 9999;

double rnd(Game& g) {
  return g.con.random().RND(1);
}

void heal(Game& g, const SpellCast& cast) {
  for (int slot : memberTargets(g, cast)) {
    float& hp = g.CharRec(slot, HitPoints);
    const double amount = spell_rules::healingAmount(g.con.random(), cast.a, cast.b, hp,
                                                     g.CharRec(slot, MaxHitPoints));
    hp = rt::toSingle(hp + amount);
    sayLine(g, cast,
            {g.CharName(slot), " は HP が"_sj, static_cast<float>(amount), "だけ回復した"_sj});
  }
}

// --- cures ----------------------------------------------------------------

enum Cure {
  kPoison = 1,
  kParalysis,
  kStone,
  kSleep,
  kSleepOrParalysis,
  kAnyAilment,
  kFullRecovery,
  kRaiseDead,
  kRaiseDeadOrSpirit
};

bool isStone(float st) {
  return st >= status::Petrified && st < status::Dead;
}

// The status after a cure of the ailments; unchanged when the member does not
// suffer from it.
float curedStatus(float st, int cure) {
  switch (cure) {
    case kPoison:
      return static_cast<float>(withDigit(st, 3, 0));
    case kParalysis:
      return static_cast<float>(withDigit(st, 2, 0));
    case kStone:
      // A bare 10000 has no ailment left below it: he is simply well.
      return isStone(st) ? std::max<float>(rt::MOD(st, 10000), status::Normal) : st;
    case kSleep:
      return digit(st, 1) == 1 ? static_cast<float>(rt::INT(st / 100) * 100 + 1) : st;
    case kSleepOrParalysis:
      return digit(st, 1) == 1 || digit(st, 2) == 1
                 ? static_cast<float>(rt::INT(st / 1000) * 1000 + 1)
                 : st;
    case kAnyAilment:
      return st > status::Normal ? status::Normal : st;
    default:
      return st;
  }
}

bool canRaise(float st, int cure) {
  if (cure == kRaiseDead) return st == status::Dead;
  return st >= status::Dead && st <= status::Spirit;
}

// A raised member pays with a point of Health (both halves of the pair when
// one of them is not used).
void loseHealthOnRaising(Game& g, int slot) {
  const bool mirrored = !isStatUsed(g, Strength) || !isStatUsed(g, Health);
  setStat(g, slot, Health, std::max(statOf(g, slot, Health) - 1, 0));
  if (mirrored) setStat(g, slot, Strength, std::max(statOf(g, slot, Strength) - 1, 0));
  const int row = battleRowOf(g, slot);
  if (row >= 0) g.BattleParty(row, FirstBattleStat + Health) -= 1;
}

void raise(Game& g, const SpellCast& cast, int slot, int cure) {
  const double faith = statOf(g, cast.caster, Faith);
  const double chance = faith * 2 + statOf(g, slot, Health);
  if (faith > 1 && chance > rnd(g) * (g.SysWord(StatScale) * 3 + 6)) {
    g.CharRec(slot, Status) = status::Normal;
    g.CharRec(slot, HitPoints) = cure == kRaiseDead ? 1 : g.CharRec(slot, MaxHitPoints);
    loseHealthOnRaising(g, slot);
    sayLine(g, cast, {g.CharName(slot), " は回復した"_sj});
    return;
  }
  float& st = g.CharRec(slot, Status);
  st = st == status::Spirit ? status::Lost : status::Spirit;
  sayLine(g, cast, {g.CharName(slot), " は復活に失敗した !"_sj});
}

void cureMember(Game& g, const SpellCast& cast, int slot, int cure) {
  float& st = g.CharRec(slot, Status);
  if (cure >= kRaiseDead) {
    if (canRaise(st, cure)) raise(g, cast, slot, cure);
    return;
  }
  if (st > 12000) return;
  float& hp = g.CharRec(slot, HitPoints);
  const float maximum = g.CharRec(slot, MaxHitPoints);
  if (cure == kFullRecovery) {
    if (st == status::Normal && hp >= maximum) return;
    st = status::Normal;
    hp = maximum;
  } else {
    const float cured = curedStatus(st, cure);
    if (cured == st) return;
    st = cured;
  }
  sayLine(g, cast, {g.CharName(slot), " は回復した"_sj});
}

void cure(Game& g, const SpellCast& cast) {
  const int kind = rt::toInt32(cast.a);
  if (cast.inBattle && kind > kFullRecovery) return;
  for (int slot : memberTargets(g, cast)) cureMember(g, cast, slot, kind);
  removeLostMembers(g);
}

// --- armour, stats and battle bonuses ----------------------------------------

bool refusesArmourSpell(const Game& g, const SpellCast& cast) {
  if (cast.inBattle) return false;
  return cast.b < kLastingProtection ||
         (cast.b == kLastingProtection && g.GameState(ProtectionEffect) > 0);
}

// Lasting protection: only members less protected than the spell gain it.
bool protect(Game& g, const SpellCast& cast, int slot) {
  float& modifier = g.CharRec(slot, ArmourModifier);
  if (modifier >= cast.a) return false;
  modifier = static_cast<float>(cast.a);
  g.GameState(ProtectionEffect) = static_cast<float>(cast.caster * 1000 + cast.a);
  return true;
}

void lowerArmourClass(Game& g, const SpellCast& cast) {
  if (refusesArmourSpell(g, cast)) return;
  const bool wholeParty = cast.scope >= 3;
  bool said = false;
  for (int slot : memberTargets(g, cast)) {
    if (cast.b == kLastingProtection) {
      if (!protect(g, cast, slot)) continue;
    } else if (const int row = battleRowOf(g, slot); row >= 0) {
      g.BattleParty(row, BattleArmourClass) -= static_cast<float>(cast.a);
    }
    const std::string& who = wholeParty ? "パーティー"_sj : g.CharName(slot);
    printLine(g, cast, {who, " は AC が "_sj, static_cast<float>(cast.a), " 低下した"_sj});
    said = true;
    if (!wholeParty) TMWAIT(g);
  }
  if (wholeParty && said) TMWAIT(g);
}

// The columns of stat s (1..8) in a battle row: its bonus and current value.
void raiseBattleStat(Game& g, int row, int s, double by) {
  g.BattleParty(row, FirstStatBonus + s - 1) += static_cast<float>(by);
  g.BattleParty(row, FirstBattleStat + s - 1) += static_cast<float>(by);
}

void boostStat(Game& g, const SpellCast& cast) {
  const int s = rt::toInt32(cast.b);
  if (s < 1 || s > StatCount) return;
  // Stats pair up (1 with 2, 3 with 4, ...); an unused partner follows.
  const int partner = s % 2 == 1 ? s + 1 : s - 1;
  const bool agilityCounts = s == Agility + 1 || (s == Dexterity + 1 && !isStatUsed(g, Agility));
  for (int slot : memberTargets(g, cast)) {
    const int row = battleRowOf(g, slot);
    if (row < 0) continue;
    raiseBattleStat(g, row, s, cast.a);
    if (!isStatUsed(g, partner - 1)) raiseBattleStat(g, row, partner, cast.a);
    if (agilityCounts) g.Initiative(0, row) += static_cast<float>(2 * cast.a);
    sayLine(g, cast,
            {g.CharName(slot), " は "_sj, g.StatName(s - 1), "度が"_sj, static_cast<float>(cast.a),
             "だけ増加した"_sj});
  }
}

// Adds to one battle column of each target and says so.
void raiseBattleColumn(Game& g, const SpellCast& cast, int column, const std::string& words) {
  for (int slot : memberTargets(g, cast)) {
    const int row = battleRowOf(g, slot);
    if (row < 0) continue;
    g.BattleParty(row, column) += static_cast<float>(cast.a);
    sayLine(g, cast, {g.CharName(slot), words});
  }
}

void shieldFromSpells(Game& g, const SpellCast& cast) {
  for (int slot : memberTargets(g, cast)) {
    const int row = battleRowOf(g, slot);
    if (row < 0) continue;
    float& resistance = g.BattleParty(row, SpellResistance);
    if (resistance < kShieldLimit) resistance += static_cast<float>(kShieldStep);
    sayLine(g, cast, {g.CharName(slot), " は呪文への抵抗力が増した"_sj});
  }
}

// --- lasting effects of the dungeon ------------------------------------------

void identifyMonsters(Game& g, const SpellCast& cast) {
  if (!cast.inBattle && cast.a == 1) return;
  g.GameState(IdentifyEffect) = static_cast<float>(cast.caster * 1000 + cast.a);
}

void light(Game& g, const SpellCast& cast) {
  if (cast.a >= kBrightLight) {
    g.GameState(LightEffect) = static_cast<float>(cast.caster * 1000 + cast.scope * 10 + cast.b);
  } else {
    g.GameState(TimedEffect) = static_cast<float>(cast.a + cast.scope * 10000 + cast.b * 1000);
  }
}

void moveSpecially(Game& g, const SpellCast& cast) {
  if (cast.inBattle || (cast.scope != 1 && cast.scope != 2)) return;
  const int effect = cast.scope == 1 ? LevitationEffect : InvisibilityEffect;
  g.GameState(effect) = cast.a == 2 ? 2 : 1;
}

void locate(Game& g, const SpellCast& cast) {
  if (cast.inBattle) return;
  const bool wholeFloor = cast.scope > 1 && g.FloorHeader(MapRule) == 0;
  g.SysWord(MapAsked) = static_cast<float>(wholeFloor ? cast.scope - 1 : 0);
  XMAP(g);
}

// --- lost levels ----------------------------------------------------------------

// The maximum hit points rolled afresh for the restored level; at least one
// more than before.
double hitPointGain(Game& g, int slot) {
  const double rolled = std::min<double>(rollAllHitDice(g, hitDiceOf(g, slot), levelOf(g, slot)),
                                         kHighestMaxHitPoints);
  return std::max(rolled - g.CharRec(slot, MaxHitPoints), 1.0);
}

// SPM fits the spell points to the level; it takes its arguments in the
// words the spell itself was handed in.
void fitSpellPoints(Game& g, int slot) {
  const float acting = g.SysWord(ActingSlot);
  const float code = g.SysWord(SpellCode);
  const float mode = g.SysWord(LearningMode);
  g.SysWord(ActingSlot) = static_cast<float>(slot);
  g.SysWord(NewLevel) = static_cast<float>(levelOf(g, slot));
  g.SysWord(LearningMode) = 1;
  SPM(g);
  g.SysWord(ActingSlot) = acting;
  g.SysWord(SpellCode) = code;
  g.SysWord(LearningMode) = mode;
}

void restoreLevels(Game& g, const SpellCast& cast) {
  const int slot = cast.target;
  if (g.CharRec(slot, Status) > 18000) return;
  const int row = battleRowOf(g, slot);
  const double record = row >= 0 ? g.BattleParty(row, LevelsLost) : 0;
  const double lost = rt::MOD(record, 1000) - rt::INT(record / 1000);
  if (cast.inBattle || lost < 1) {
    sayLine(g, cast, {g.CharName(slot), " のレベル回復はできなかった"_sj});
    return;
  }
  sayLine(g, cast, {g.CharName(slot), " は失ったレベルを回復した"_sj});
  g.CharRec(slot, LevelAndFloor) += static_cast<float>(lost);
  // Once given back, the same levels cannot be restored again.
  g.BattleParty(row, LevelsLost) = 0;
  fitSpellPoints(g, slot);
  const double gain = hitPointGain(g, slot);
  g.CharRec(slot, HitPoints) += static_cast<float>(gain);
  g.CharRec(slot, MaxHitPoints) += static_cast<float>(gain);
}

bool castHolyPartyEffect(Game& g, const SpellCast& cast) {
  switch (cast.effect) {
    case 1:
      heal(g, cast);
      return true;
    case 2:
      cure(g, cast);
      return true;
    case 3:
      lowerArmourClass(g, cast);
      return true;
    case 4:
      boostStat(g, cast);
      return true;
    case 5:
      raiseBattleColumn(g, cast, HitBonus, " は攻撃の命中率が増した"_sj);
      return true;
    case 13:
      identifyMonsters(g, cast);
      return true;
    case 16:
      light(g, cast);
      return true;
    case 17:
      return true;
    case 18:
      restoreLevels(g, cast);
      return true;
    default:
      return false;
  }
}

bool castMagicPartyEffect(Game& g, const SpellCast& cast) {
  switch (cast.effect) {
    case 10:
      lowerArmourClass(g, cast);
      return true;
    case 11:
      boostStat(g, cast);
      return true;
    case 12:
      raiseBattleColumn(g, cast, DamageBonus, " は攻撃ダメージが増した"_sj);
      return true;
    case 13:
      shieldFromSpells(g, cast);
      return true;
    case 16:
      moveSpecially(g, cast);
      return true;
    case 17:
      locate(g, cast);
      return true;
    case 18:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool castPartyEffect(Game& g, const SpellCast& cast) {
  return cast.kind == kHolySpells ? castHolyPartyEffect(g, cast) : castMagicPartyEffect(g, cast);
}

}  // namespace kestrun::game
