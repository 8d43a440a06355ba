#include <algorithm>

#include "game/character/carried_items.h"
#include "game/spells/catalogue.h"
#include "game/spells/spell_effects.h"
#include "game/spells/spell_rules.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"

// A monster's spells on the members of the party.
namespace kestrun::game {

using namespace rt::literals;

namespace {

using spell_rules::Element;

constexpr double kMarked = 10000;

// Members still standing or stoned; the dead are past a monster's spells.
std::vector<int> livingTargets(const Game& g, const SpellCast& cast) {
  std::vector<int> slots = memberTargets(g, cast);
  std::erase_if(slots, [&](int slot) { return g.CharRec(slot, Status) >= status::Dead; });
  return slots;
}

float& statusOf(Game& g, int slot) {
  return g.CharRec(slot, Status);
}

void say(Game& g, const SpellCast& cast, int slot, const std::string& words) {
  sayLine(g, cast, {g.CharName(slot), words});
}

// Worn items against fire and cold: field 15 from 10000 wards off fire,
// tens digit 1 of field 7 off cold.
double afterWornItems(const Game& g, int slot, Element element, double damage) {
  for (int s = 1; s <= itemSlotCount(g); ++s) {
    const float value = itemSlot(g, slot, s);
    if (itemNumber(value) == 0 || !isWorn(value)) continue;
    const int item = itemNumber(value);
    const bool fireWard = g.ItemTable(item, ItemPriceHigh) >= kMarked;
    const bool frostWard = digit(g.ItemTable(item, ItemBonusStat), 1) == 1;
    damage = spell_rules::wornItemOnDamage(element, damage, fireWard, frostWard);
  }
  return damage;
}

void damage(Game& g, const SpellCast& cast) {
  for (int slot : livingTargets(g, cast)) {
    double taken = spellDamage(g, cast, g.CharRec(slot, HitPoints));
    if (memberResists(g, cast, slot)) taken = spell_rules::resistedDamage(taken);
    if (cast.kind == kMagicSpells) {
      taken = afterWornItems(g, slot, static_cast<Element>(cast.effect - 1), taken);
    }
    hurtMember(g, cast, slot, taken);
  }
}

void drain(Game& g, const SpellCast& cast) {
  const MonsterRef caster{cast.casterGroup, cast.casterPlace};
  for (int slot : livingTargets(g, cast)) {
    if (memberResists(g, cast, slot)) continue;
    const double taken = spellDamage(g, cast, g.CharRec(slot, HitPoints));
    hurtMember(g, cast, slot, taken);
    float& hp = g.BattleMonsters(caster.group, caster.place, MonsterHitPoints);
    const float maximum = g.BattleMonsters(caster.group, caster.place, MonsterMaxHitPoints);
    hp = static_cast<float>(std::min<double>(hp + taken, maximum));
    sayLine(g, cast, {monsterName(g, caster.group), " はＨＰを回復した"_sj});
  }
}

// Resistance, then the level contest (edge capped, plus base); true when the
// spell takes hold.
bool takesHold(Game& g, const SpellCast& cast, int slot, double cap, double base) {
  return !memberResists(g, cast, slot) && !memberEscapes(g, cast, slot, cap, base);
}

void paralyse(Game& g, const SpellCast& cast) {
  for (int slot : livingTargets(g, cast)) {
    if (!takesHold(g, cast, slot, 60, 30)) continue;
    statusOf(g, slot) = static_cast<float>(withDigit(statusOf(g, slot), 2, 1));
    say(g, cast, slot, " は麻痺してしまった"_sj);
  }
}

void slay(Game& g, const SpellCast& cast) {
  for (int slot : livingTargets(g, cast)) {
    if (takesHold(g, cast, slot, 50, 40)) killMember(g, cast, slot, " は倒れた"_sj);
  }
}

void sealSpells(Game& g, const SpellCast& cast) {
  for (int slot : livingTargets(g, cast)) {
    const int row = battleRowOf(g, slot);
    if (row < 0 || !takesHold(g, cast, slot, 40, 30)) continue;
    g.BattleParty(row, SpellsSealed) = 1;
    say(g, cast, slot, " は呪文を封じられた"_sj);
  }
}

void stealSpells(Game& g, const SpellCast& cast) {
  for (int slot : livingTargets(g, cast)) {
    const int row = battleRowOf(g, slot);
    if (row < 0 || memberResists(g, cast, slot)) continue;
    const double knowledge = g.BattleParty(row, FirstBattleStat + Knowledge);
    if (knowledge > g.con.random().RND(1) * (g.SysWord(StatScale) + 3)) continue;
    stealFromMember(g, cast, slot);
    say(g, cast, slot, " は呪文を奪い取られた"_sj);
  }
}

void changeState(Game& g, const SpellCast& cast) {
  for (int slot : livingTargets(g, cast)) {
    if (statusOf(g, slot) > 12000 || !takesHold(g, cast, slot, 55, 40)) continue;
    int state = 0;
    if (cast.a < 4) {
      state = rt::toInt32(cast.a);
    } else if (cast.a == 4) {
      state = rt::toInt32(rt::INT(g.con.random().RND(1) * 2 + 1));
    }
    float& st = statusOf(g, slot);
    switch (state) {
      case 1:
        st = static_cast<float>(rt::INT(st / 100) * 100 + 11);
        say(g, cast, slot, " は眠ってしまった"_sj);
        break;
      case 2:
        st = static_cast<float>(withDigit(st, 2, 1));
        say(g, cast, slot, " は麻痺してしまった"_sj);
        break;
      case 3:
        st = static_cast<float>(rt::MOD(st, 10000) + 10000.0);
        say(g, cast, slot, " は石化してしまった"_sj);
        break;
      default:
        sayResisted(g, cast, slot);
        break;
    }
  }
}

void raiseArmourClass(Game& g, const SpellCast& cast) {
  for (int slot : livingTargets(g, cast)) {
    const int row = battleRowOf(g, slot);
    if (row < 0 || memberResists(g, cast, slot, 400)) continue;
    g.BattleParty(row, BattleArmourClass) += static_cast<float>(cast.a);
    say(g, cast, slot, " はＡＣを上昇させられた"_sj);
  }
}

bool castHoly(Game& g, const SpellCast& cast) {
  switch (cast.effect) {
    case 5:
      // The hit boost reaches the members it names, whoever casts it.
      return castPartyEffect(g, cast);
    case 6:
      damage(g, cast);
      return true;
    case 7:
      drain(g, cast);
      return true;
    case 8:
      paralyse(g, cast);
      return true;
    case 9:
      slay(g, cast);
      return true;
    case 10:
      sealSpells(g, cast);
      return true;
    case 11:
      stealSpells(g, cast);
      return true;
    default:
      return false;
  }
}

bool castMagic(Game& g, const SpellCast& cast) {
  switch (cast.effect) {
    case 1:
    case 2:
    case 3:
      damage(g, cast);
      return true;
    case 6:
      slay(g, cast);
      return true;
    case 7:
      changeState(g, cast);
      return true;
    case 9:
      raiseArmourClass(g, cast);
      return true;
    default:
      return false;
  }
}

}  // namespace

bool castMemberEffect(Game& g, const SpellCast& cast) {
  return cast.kind == kHolySpells ? castHoly(g, cast) : castMagic(g, cast);
}

}  // namespace kestrun::game
