#include <algorithm>

#include "game/spells/catalogue.h"
#include "game/spells/spell_effects.h"
#include "game/spells/spell_rules.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"

// A party caster's spells on the monsters of the battle.
namespace kestrun::game {

using namespace rt::literals;

namespace {

using spell_rules::Element;

constexpr float kAsleep = 1;
constexpr float kDisabled = 2;
constexpr double kMarked = 10000;
constexpr double kHighestRadiation = 9999;

double rnd(Game& g) {
  return g.con.random().RND(1);
}

float& monsterValue(Game& g, MonsterRef m, int field) {
  return g.BattleMonsters(m.group, m.place, field);
}

double monsterTableValue(const Game& g, MonsterRef m, int field) {
  return g.MonsterTable(monsterNumber(g, m.group), field);
}

bool isImmuneToDisabling(const Game& g, MonsterRef m) {
  return monsterTableValue(g, m, MonsterImmunity) >= kMarked;
}

double monsterFamily(const Game& g, MonsterRef m) {
  return rt::INT(monsterTableValue(g, m, MonsterType) / 1000);
}

void say(Game& g, const SpellCast& cast, MonsterRef m, const std::string& words) {
  sayLine(g, cast, {monsterName(g, m.group), words});
}

// --- holy --------------------------------------------------------------------

void damage(Game& g, const SpellCast& cast) {
  for (MonsterRef m : monsterTargets(g, cast)) {
    if (monsterResists(g, cast, m)) continue;
    hurtMonster(g, cast, m, spellDamage(g, cast, monsterValue(g, m, MonsterHitPoints)));
  }
}

void drain(Game& g, const SpellCast& cast) {
  for (MonsterRef m : monsterTargets(g, cast)) {
    if (monsterResists(g, cast, m)) continue;
    const double taken = spellDamage(g, cast, monsterValue(g, m, MonsterHitPoints));
    hurtMonster(g, cast, m, taken);
    float& hp = g.CharRec(cast.caster, HitPoints);
    const double gain = std::clamp<double>(g.CharRec(cast.caster, MaxHitPoints) - hp, 0.0, taken);
    hp = rt::toSingle(hp + gain);
    sayLine(g, cast,
            {g.CharName(cast.caster), " は HP が"_sj, static_cast<float>(gain), "だけ回復した"_sj});
  }
}

void paralyse(Game& g, const SpellCast& cast) {
  for (MonsterRef m : monsterTargets(g, cast)) {
    if (monsterResists(g, cast, m)) continue;
    if (isImmuneToDisabling(g, m) && rnd(g) * 20 > 1) continue;
    if (monsterEscapes(g, cast, m, 25, 2, 25)) continue;
    monsterValue(g, m, MonsterState) = kAsleep;
    say(g, cast, m, " は麻痺してしまった"_sj);
  }
}

// Resistance and the level contest (weight x edge + base); the survivors die.
void slay(Game& g, const SpellCast& cast, double cap, double weight, double base) {
  for (MonsterRef m : monsterTargets(g, cast)) {
    if (cast.kind == kMagicSpells && monsterFamily(g, m) == cast.a) continue;
    if (monsterResists(g, cast, m)) continue;
    if (monsterEscapes(g, cast, m, cap, weight, base)) continue;
    killMonster(g, cast, m, " は倒れた"_sj);
  }
}

void sealSpells(Game& g, const SpellCast& cast) {
  for (MonsterRef m : monsterTargets(g, cast)) {
    if (monsterResists(g, cast, m)) continue;
    if (monsterEscapes(g, cast, m, 10, 2, 20)) continue;
    float& sealed = monsterValue(g, m, MonsterSealed);
    sealed = static_cast<float>(withDigit(sealed, 0, 1));
    say(g, cast, m, " は呪文を封じられた"_sj);
  }
}

void stealSpells(Game& g, const SpellCast& cast) {
  for (MonsterRef m : monsterTargets(g, cast)) {
    if (monsterResists(g, cast, m)) continue;
    if (monsterEscapes(g, cast, m, 25, 2, 40)) continue;
    sayLine(g, cast, {monsterName(g, m.group), " から呪文を奪い取った"_sj});
    stealFromMonster(g, cast, m);
  }
}

void lowerResistance(Game& g, const SpellCast& cast) {
  for (MonsterRef m : monsterTargets(g, cast)) {
    float& resistance = monsterValue(g, m, MonsterSpellResistance);
    resistance = static_cast<float>(std::max(resistance - cast.a, 0.0));
    say(g, cast, m, " は呪文抵抗力を減らされた"_sj);
  }
}

// --- magic -----------------------------------------------------------------------

// Radiation: the caster's Strength, Knowledge, Faith or Luck (a = 1..4)
// times his level, in hundredths of b; a fraction is kept.
double radiation(const Game& g, const SpellCast& cast) {
  static constexpr int kStats[] = {Strength, Knowledge, Faith, Luck};
  const int choice = rt::toInt32(cast.a);
  if (choice < 1 || choice > 4) return 0;
  const double amount =
      statOf(g, cast.caster, kStats[choice - 1]) * casterLevel(g, cast) * cast.b / 100;
  return std::min(amount, kHighestRadiation);
}

void elementalDamage(Game& g, const SpellCast& cast) {
  const Element element = static_cast<Element>(cast.effect - 1);
  for (MonsterRef m : monsterTargets(g, cast)) {
    if (monsterResists(g, cast, m)) continue;
    const double rolled = element == Element::Radiation
                              ? radiation(g, cast)
                              : spellDamage(g, cast, monsterValue(g, m, MonsterHitPoints));
    const bool fire = monsterTableValue(g, m, MonsterGroupBase) >= kMarked;
    const bool cold = monsterTableValue(g, m, MonsterDrain) >= kMarked;
    hurtMonster(g, cast, m, spell_rules::elementalDamageOnMonster(element, rolled, fire, cold));
  }
}

void banish(Game& g, const SpellCast& cast) {
  for (MonsterRef m : monsterTargets(g, cast)) {
    if (cast.a == 1) {
      if (monsterFamily(g, m) != cast.b || monsterResists(g, cast, m, 200)) continue;
    } else if (cast.a != 2 || monsterLevel(g, monsterNumber(g, m.group)) > cast.b) {
      continue;
    }
    killMonster(g, cast, m, " は消滅した"_sj);
  }
}

void changeState(Game& g, const SpellCast& cast) {
  for (MonsterRef m : monsterTargets(g, cast)) {
    const int state =
        cast.a < 4 ? rt::toInt32(cast.a) : rt::toInt32(rt::INT(rnd(g) * (cast.a - 2) + 1));
    if (state == 1 && isImmuneToDisabling(g, m)) continue;
    if (monsterResists(g, cast, m)) continue;
    const double edge = spell_rules::monsterLevelEdge(monsterLevel(g, monsterNumber(g, m.group)),
                                                      casterLevel(g, cast), 18);
    if ((20 - edge) * cast.b < rnd(g) * 1000) continue;
    monsterValue(g, m, MonsterState) = state == 1 ? kAsleep : kDisabled;
    if (state == 1) {
      say(g, cast, m, " は眠ってしまった"_sj);
    } else if (state == 2) {
      say(g, cast, m, " は麻痺してしまった"_sj);
    } else {
      say(g, cast, m, " は石化してしまった"_sj);
    }
  }
}

// Which ability digits (1 touches, 2 breath, 3 stare) a spell of strength a
// seals.
std::vector<int> sealedAbilities(int a) {
  switch (a) {
    case 1:
      return {2, 3};
    case 2:
      return {1, 3};
    case 3:
      return {1, 2};
    case 4:
      return {3};
    case 5:
      return {2};
    case 6:
      return {1};
    default:
      return {};
  }
}

void sealAbilities(Game& g, const SpellCast& cast) {
  for (MonsterRef m : monsterTargets(g, cast)) {
    if (monsterResists(g, cast, m)) continue;
    if (monsterEscapes(g, cast, m, 20, 2, 30)) continue;
    float& sealed = monsterValue(g, m, MonsterSealed);
    for (int ability : sealedAbilities(rt::toInt32(cast.a))) {
      // The stare is the highest digit: sealing it drops anything above.
      const double value =
          ability == 3 ? rt::MOD(sealed, 1000) + 1000.0 : withDigit(sealed, ability, 1);
      sealed = static_cast<float>(value);
    }
    say(g, cast, m, " は特殊能力を封じられた"_sj);
  }
}

void raiseArmourClass(Game& g, const SpellCast& cast) {
  for (MonsterRef m : monsterTargets(g, cast)) {
    if (monsterResists(g, cast, m, 500)) continue;
    monsterValue(g, m, MonsterArmourClass) += static_cast<float>(cast.a);
    say(g, cast, m, " はＡＣを上昇させられた"_sj);
  }
}

bool castHoly(Game& g, const SpellCast& cast) {
  switch (cast.effect) {
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
      slay(g, cast, 13, 4, 43);
      return true;
    case 10:
      sealSpells(g, cast);
      return true;
    case 11:
      stealSpells(g, cast);
      return true;
    case 12:
      lowerResistance(g, cast);
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
    case 4:
      elementalDamage(g, cast);
      return true;
    case 5:
      banish(g, cast);
      return true;
    case 6:
      slay(g, cast, 20, 3, 30);
      return true;
    case 7:
      changeState(g, cast);
      return true;
    case 8:
      sealAbilities(g, cast);
      return true;
    case 9:
      raiseArmourClass(g, cast);
      return true;
    default:
      return false;
  }
}

}  // namespace

bool castMonsterEffect(Game& g, const SpellCast& cast) {
  return cast.kind == kHolySpells ? castHoly(g, cast) : castMagic(g, cast);
}

}  // namespace kestrun::game
