#include <algorithm>

#include "game/battle/battle_common.h"
#include "game/battle/monster_actions.h"
#include "game/battle/monster_rules.h"
#include "game/character/party_members.h"
#include "game/dungeon/floor_squares.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/values.h"

namespace kestrun::game {

namespace {

constexpr double kFlag = 10000;
constexpr int kSpells = 80;
constexpr int kNoSpellSquare = 5;
constexpr float kOutOfReach = 12000;

enum ActionKind { Attack = 0, Cast = 1, Breathe = 2, CallHelp = 3, Flee = 4, Stare = 5, Idle = 6 };

// The monster being decided for, with its row and the values its choice
// weighs.
struct Chooser {
  Game& g;
  int group;
  int index;
  int monster;
  double breathValue = 0;

  float& value(int f) { return g.BattleMonsters(group, index, f); }
  double row(int f) const { return g.MonsterTable(monster, f); }
  double rnd() { return randomDraw(g); }
  void act(int target, ActionKind kind) {
    value(MonsterAction) = static_cast<float>(target * 10 + kind);
  }
};

bool isAtFull(Chooser& c) {
  return c.value(MonsterHitPoints) == c.value(MonsterMaxHitPoints);
}

// A marching position for a stare or a spell: members out of the fight
// are drawn again, though one draw in a hundred keeps them.
int randomTarget(Chooser& c) {
  const int members = partySize(c.g);
  auto draw = [&] { return rt::toInt32(rt::INT(c.rnd() * members + 1)); };
  int position = draw();
  while (c.g.CharRec(memberSlot(c.g, position), Status) > kOutOfReach && c.rnd() * 100 > 1) {
    position = draw();
  }
  return position;
}

// The first member with hit points, drawn at random; position 0 when the
// whole party is down, which the caller never lets happen.
int randomStandingMember(Chooser& c) {
  const int members = partySize(c.g);
  bool anyone = false;
  for (int p = 1; p <= members; ++p)
    anyone = anyone || c.g.CharRec(memberSlot(c.g, p), HitPoints) >= 1;
  if (!anyone) return 0;
  for (;;) {
    const int p = rt::toInt32(rt::INT(c.rnd() * members + 1));
    if (c.g.CharRec(memberSlot(c.g, p), HitPoints) >= 1) return p;
  }
}

bool spellsAreOff(const Game& g) {
  const bool surprisedParty = g.Battle.Surprise == 2 && g.Setting(SurpriseStopsSpells) == 1;
  return surprisedParty || squareKind(g, partySquare(g)) == kNoSpellSquare;
}

struct BestSpell {
  int spell = 0;
  double score = 0;
};

BestSpell bestSpell(Chooser& c) {
  BestSpell best;
  if (spellsAreOff(c.g)) return best;
  for (int s = 1; s <= kSpells; ++s) {
    if (!monster_rules::knowsMonsterSpell(c.g, c.monster, s)) continue;
    if (!monster_rules::hasCharge(c.g, c.group, c.index, s)) continue;
    const double score = monster_rules::spellScore(c.g, s);
    if (score > best.score) best = {s, score};
  }
  return best;
}

bool choosesBreath(Chooser& c, double attack, double score) {
  const double bv = c.breathValue;
  const bool prefersBlows = 2 * attack > 3 * bv && c.rnd() * 10 > 4;
  if (prefersBlows || bv < 1) return false;
  if (2 * bv > score) return true;
  return 5 * bv > score && (c.rnd() * 10 > 7 || isAtFull(c));
}

// Spell, breath or weapons; true when a spell or the breath was chosen.
bool choosesSpellOrBreath(Chooser& c) {
  const BestSpell best = bestSpell(c);
  const double attack = monster_rules::attackValue(c.g, c.monster);
  if (choosesBreath(c, attack, best.score)) {
    c.act(0, Breathe);
    return true;
  }
  if (best.spell == 0 || attack > 2 * best.spell) return false;
  c.value(MonsterSpell) = static_cast<float>(best.spell);
  const bool needsTarget = c.g.SpellTable(best.spell, SpellScope) <= 1;
  c.act(needsTarget ? randomTarget(c) : 0, Cast);
  return true;
}

// The member the blow goes to; false when the monster, out of reach, goes
// back to weighing its spells.
bool aimsBlow(Chooser& c) {
  Game& g = c.g;
  const bool rangeRule = g.Setting(WeaponRange) == 1;
  const int frontRank = rt::toInt32(g.Setting(FrontRank));
  int target = c.g.Battle.NextVictim;
  if (rangeRule) {
    const int reach = rt::MOD(g.Setting(WeaponReach), 100);
    const bool longReach = c.row(MonsterArmour) >= kFlag;
    if (!longReach && c.group >= reach) {
      if (c.rnd() * 25 > 1) return false;
      c.act(0, Idle);
      return true;
    }
    const int standing = longReach && c.group < reach ? randomStandingMember(c) : 0;
    if (standing > 0) {
      target = standing;
    } else if (target > frontRank) {
      target = 1;
    }
  }
  c.act(target, Attack);
  const int last = rangeRule ? partySize(g) : frontRank;
  c.g.Battle.NextVictim = monster_rules::nextVictimAfter(target, last, g.Battle.AliveCount);
  return true;
}

bool canBreathe(const Chooser& c) {
  return digit(c.row(MonsterGroupBase), 3) > 0;
}

bool fleesNow(Chooser& c) {
  if (c.row(MonsterAgilityDice) < kFlag) return false;
  if (c.value(MonsterHitPoints) < 0.2 * c.value(MonsterMaxHitPoints)) return true;
  const double level = monsterLevelOf(c.g, c.monster);
  const int top = c.g.Battle.TopLevel;
  return top - level - 2 > c.rnd() * 10 && top > level;
}

// The quick choices before any weighing: a stare, a call, flight, or
// weapons at once. True when one of them was taken.
bool takesQuickChoice(Chooser& c, bool& attacksAtOnce) {
  if (c.row(MonsterHitBase) >= kFlag && c.rnd() * 10 > 6) {
    c.act(randomTarget(c), Stare);
    return true;
  }
  const double count = c.g.GroupCount(c.group);
  if (count < 6 && c.row(MonsterAgilityBase) >= kFlag && c.rnd() * 10 > count + 3) {
    c.act(0, CallHelp);
    return true;
  }
  if (fleesNow(c)) {
    c.act(0, Flee);
    return true;
  }
  attacksAtOnce = c.rnd() * 10 > 8 || monster_rules::hasNoCharges(c.g, c.group, c.index);
  return false;
}

void chooseFor(Chooser& c) {
  bool weighNow = false;
  const bool breathStopped = c.g.Battle.Surprise == 2 && c.g.Setting(SurpriseStopsBreath) == 1;
  if (!breathStopped && canBreathe(c)) {
    c.breathValue = c.value(MonsterHitPoints);
    weighNow = isAtFull(c) || c.rnd() * 10 > 8;
  }
  bool attacksAtOnce = false;
  if (!weighNow && takesQuickChoice(c, attacksAtOnce)) return;
  for (;;) {
    if (!attacksAtOnce && choosesSpellOrBreath(c)) return;
    attacksAtOnce = false;
    if (aimsBlow(c)) return;
  }
}

bool choosesThisTurn(const Game& g, int group, int index) {
  return isMonsterAlive(g, group, index) && g.BattleMonsters(group, index, MonsterState) == 0;
}

}  // namespace

void chooseMonsterActions(Game& g) {
  if (g.Battle.Surprise == 1) {
    g.Battle.Surprise = 0;
    for (int group = 0; group < kGroupPlaces; ++group) {
      for (int i = 0; i < kMonsterPlaces; ++i) g.BattleMonsters(group, i, MonsterAction) = Idle;
    }
    return;
  }
  for (int group = 0; group < kGroupPlaces; ++group) {
    if (!isGroupInUse(g, group)) continue;
    // Each group's blows go to the front rank in turn, from the first.
    g.Battle.NextVictim = 1;
    const int monster = rt::toInt32(g.GroupMonster(group));
    for (int i = 0; i < kMonsterPlaces; ++i) {
      if (!choosesThisTurn(g, group, i)) continue;
      Chooser c{g, group, i, monster};
      chooseFor(c);
    }
  }
  if (g.Battle.Surprise == 2) g.Battle.Surprise = 0;
}

}  // namespace kestrun::game
