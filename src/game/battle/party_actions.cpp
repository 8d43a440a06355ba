#include "game/battle/party_actions.h"

#include "game/battle/battle_common.h"
#include "game/battle/battle_rules.h"
#include "game/character/carried_items.h"
#include "game/character/levels.h"
#include "game/character/message_timing.h"
#include "game/character/party_members.h"
#include "game/spells/learning.h"
#include "game/spells/miracle.h"
#include "game/spells/spell_cast.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"
#include "runtime/values.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kMiracleEffect = 15;
constexpr int kSpellFreeSquare = 5;
constexpr int kDispellableType = 9;
constexpr int kLeftBattle = 2000;
constexpr int kWentHome = 2500;

struct Skills {
  bool combat;
  bool thief;
};

Skills skillsOf(const Game& g, int c) {
  return {classHasSkill(g, c, Skill::Combat), classHasSkill(g, c, Skill::Thief)};
}

// The monster a member aims at: group x 10 + place.
struct Aim {
  int group;
  int place;
};
Aim aimOf(const Game& g, int row) {
  const double target = g.BattleParty(row, CommandTarget);
  return {rt::toInt32(rt::INT(target / 10)), rt::MOD(target, 10)};
}

// The monster's armour value (armour class + 70) from its table.
double armourValueOf(const Game& g, int monster) {
  return rt::MOD(rt::INT(g.MonsterTable(monster, MonsterArmour) / 100), 100);
}

struct WeaponDice {
  double count;
  double sides;
  double bonus;
};
WeaponDice weaponDiceOf(const Game& g, int weapon, Skills skills) {
  if (weapon == 0) return {1, skills.combat && skills.thief ? 8.0 : 2.0, 0};
  const double damage = g.ItemTable(weapon, ItemDamage);
  return {static_cast<double>(rt::MOD(damage, 100)),
          static_cast<double>(rt::MOD(rt::INT(damage / 100), 100)),
          static_cast<double>(rt::MOD(rt::INT(g.ItemTable(weapon, ItemRegeneration) / 100), 100))};
}

// The walk over the member's items that decides a critical hit: every
// item but a worn one (cursed on or not) that does not suit him sets the
// factor to 2, and an item that gives critical hits tests at once; a
// fighting thief tests once more at the end.
bool criticalHit(Game& g, int c, Skills skills) {
  const int level = levelOf(g, c);
  int factor = 3;
  for (int slot = 1; slot <= itemSlotCount(g); ++slot) {
    const float value = itemSlot(g, c, slot);
    const int item = itemNumber(value);
    if (isWorn(value) && !itemSuitsAlignment(g, c, item)) continue;
    factor = 2;
    if (g.ItemTable(item, ItemBonus) >= 10000 &&
        criticalSucceeds(level, factor, randomDraw(g) * 100)) {
      return true;
    }
  }
  return skills.thief && skills.combat && criticalSucceeds(level, factor, randomDraw(g) * 100);
}

void killByBlow(Game& g, int c, Aim aim) {
  const int monster = groupMonsterOf(g, aim.group);
  printItemsAt(g, 26, 14, {shownGroupName(g, aim.group), " は倒れた"_sj});
  g.CharRec(c, Kills) += 1;
  g.WorkLong(ExpPool) += rt::toInt32(g.MonsterTable(monster, MonsterExperience) + 30000.0);
  g.GroupKills(aim.group) += 1;
  monsterLeavesGroup(g, aim.group, aim.place);
}

struct Blows {
  int attacks = 0;
  int hits = 0;
  double damage = 0;
  bool critical = false;
};

Blows strike(Game& g, int row, int c, Aim aim) {
  const Skills skills = skillsOf(g, c);
  const int monster = groupMonsterOf(g, aim.group);
  const int level = levelOf(g, c);
  const bool disabled = g.BattleMonsters(aim.group, aim.place, MonsterState) != 0;
  Blows blows;
  blows.attacks = attackCount(level, skills.combat, g.Setting(StatChangeRate),
                              g.Setting(CarryFactor), attackBonusesOf(g, row));
  const double penalty = fightPenalty(g.Battle.MudPenalty == 1, skills.combat, disabled);
  const int weapon = rt::toInt32(g.BattleParty(row, EquippedWeapon));
  const WeaponDice dice = weaponDiceOf(g, weapon, skills);
  const double chance =
      hitChance(level, monsterArmourForBlows(g, aim.group, aim.place),
                battleStat(g, row + 1, Strength), g.BattleParty(row, HitBonus), penalty);
  const double armourValue = armourValueOf(g, monster);
  const bool slays =
      itemSuitsAlignment(g, c, weapon) && itemMarksType(g, weapon, monsterTypeOf(g, monster));
  for (int k = 1; k <= blows.attacks; ++k) {
    if (armourValue == 0) continue;
    if (!rollHits(rt::INT(randomDraw(g) * 100 + 1), chance)) continue;
    if (blows.hits == 0 && criticalHit(g, c, skills)) {
      blows.critical = true;
      return blows;
    }
    ++blows.hits;
    double damage =
        dice.bonus + g.BattleParty(row, DamageBonus) + diceRoll(g, dice.count, dice.sides);
    if (slays) damage *= 2;
    if (g.Setting(ArmourAffectsHits) != 1) damage = damageThroughArmour(damage, armourValue);
    blows.damage += damage;
  }
  if (disabled) blows.damage *= 2;
  return blows;
}

bool isSpellFree(const Game& g) {
  const double square = g.GameState(Square);
  const int x = rt::toInt32(rt::INT(square / 100));
  const int y = rt::MOD(square, 100);
  return g.FloorHeader(SpellsBlocked) == 1 ||
         rt::MOD(g.FloorMap(x, y, SquareLayer), 100) == kSpellFreeSquare;
}

bool isMiracle(const Game& g, int spell) {
  return g.SpellTable(spell, SpellEffect) == kMiracleEffect;
}

void announceMiracle(Game& g, int c, int spell) {
  g.con.COLOR(5);
  sayAt(g, 24, 8, {g.CharName(c), " は "_sj, g.SpellName(spell), " を唱えた"_sj});
  g.con.COLOR(6);
  g.SysWord(MiracleSpell) = static_cast<float>(spell);
  MRCH(g);
  blankActionRows(g);
}

// The spell's effect, unless the place keeps spells from working.
void castEffect(Game& g, int row, int c, int spell) {
  if (isSpellFree(g)) return;
  g.SysWord(SpellCasterTarget) = static_cast<float>(c * 100 + g.BattleParty(row, CommandTarget));
  if (isMiracle(g, spell)) {
    g.SysWord(MiracleTarget) = 0;
    MIRACLE(g);
    return;
  }
  g.SysWord(SpellCode) = static_cast<float>(spell + 100);
  SPL(g);
}

// The price of some spells beyond their points: a level's worth of
// experience, or the spell itself.
void spellAftermath(Game& g, int row, int c, int spell) {
  const float kind = g.SpellTable(spell, SpellKindAndListing);
  if (digit(kind, 4) % 2 == 1) g.BattleParty(row, LevelsLost) += 1001;
  if (kind >= 20000) setSpellKnown(g, c, spell, false);
}

}  // namespace

bool partyLeftBySpell(const Game& g) {
  const float outcome = g.SysWord(Outcome);
  return outcome == kLeftBattle || outcome == kWentHome;
}

void memberFights(Game& g, int position) {
  const int row = position - 1;
  const int c = memberSlot(g, position);
  const Aim aim = aimOf(g, row);
  g.BattleParty(row, Command) = 0;
  if (!isMonsterAlive(g, aim.group, aim.place)) return;
  g.con.COLOR(5);
  printItemsAt(g, 24, 8, {g.CharName(c), " は "_sj, shownGroupName(g, aim.group), " を"_sj});
  const Blows blows = strike(g, row, c, aim);
  if (blows.critical) {
    printItemsAt(g, 24, 10, {"攻撃して致命傷を与えた"_sj});
    killByBlow(g, c, aim);
  } else {
    printItemsAt(g, 26, 10, {static_cast<float>(blows.attacks), " 回攻撃して"_sj});
    if (blows.hits == 0) {
      printItemsAt(g, 30, 12, {"はずれた !"_sj});
    } else {
      printItemsAt(g, 28, 12, {static_cast<float>(blows.damage), " のダメージを与えた"_sj});
      float& hp = g.BattleMonsters(aim.group, aim.place, MonsterHitPoints);
      hp = rt::toSingle(hp - blows.damage);
      if (hp <= 0) killByBlow(g, c, aim);
    }
  }
  TMWAIT(g);
  g.con.COLOR(6);
}

void memberCasts(Game& g, int position) {
  const int row = position - 1;
  const int c = memberSlot(g, position);
  const int spell = rt::toInt32(g.BattleParty(row, CommandSpell));
  if (isMiracle(g, spell)) announceMiracle(g, c, spell);
  g.SysWord(ActingSlot) = static_cast<float>(c);
  g.SysWord(SpellCode) = static_cast<float>(spell);
  SPU(g);
  castEffect(g, row, c, spell);
  spellAftermath(g, row, c, spell);
  g.BattleParty(row, Command) = 0;
}

void memberUsesItem(Game& g, int position) {
  const int row = position - 1;
  const int c = memberSlot(g, position);
  const int slot = rt::toInt32(rt::INT(g.BattleParty(row, Command) / 10));
  const int item = itemNumber(itemSlot(g, c, slot));
  const int spell = rt::toInt32(g.BattleParty(row, CommandSpell));
  g.SysWord(ActingSlot) = static_cast<float>(c);
  g.SysWord(BreakingSlot) = static_cast<float>(slot);
  if (rt::INT(g.ItemTable(item, ItemSpell) / 100) > randomDraw(g) * 100) ITBR(g);
  if (!isSpellFree(g) && isMiracle(g, spell)) announceMiracle(g, c, spell);
  castEffect(g, row, c, spell);
  g.BattleParty(row, Command) = 0;
}

void memberDispels(Game& g, int position) {
  const int row = position - 1;
  const int c = memberSlot(g, position);
  const int group = aimOf(g, row).group;
  const int monster = groupMonsterOf(g, group);
  g.con.COLOR(5);
  printItemsAt(g, 24, 8, {g.CharName(c), " は "_sj});
  printItemsAt(g, 26, 10, {shownGroupName(g, group), " の 解呪を行った"_sj});
  int destroyed = 0;
  if (monsterTypeOf(g, monster) == kDispellableType && g.GroupCount(group) > 0 &&
      g.GroupUnknown(group) == 0) {
    const double value = dispelValue(levelOf(g, c), monsterLevelOf(g, monster),
                                     battleStat(g, position, Faith), g.SysWord(StatScale));
    for (int place = 0; place < kMonsterPlaces; ++place) {
      if (!isMonsterAlive(g, group, place) || value < randomDraw(g) * 100) continue;
      monsterLeavesGroup(g, group, place);
      ++destroyed;
    }
  }
  if (destroyed == 0) {
    printItemsAt(g, 30, 12, {"しかし　効果は無かった"_sj});
  } else {
    printItemsAt(g, 26, 12,
                 {static_cast<float>(destroyed), " 匹の "_sj, g.MonsterName(monster, 0),
                  " の呪いを解いた"_sj});
    if (g.Setting(DispelExperience) != 0) {
      g.WorkLong(ExpPool) +=
          rt::toInt32((g.MonsterTable(monster, MonsterExperience) + 30000.0) * destroyed);
    }
  }
  TMWAIT(g);
  g.con.COLOR(6);
  g.BattleParty(row, Command) = 0;
}

}  // namespace kestrun::game
