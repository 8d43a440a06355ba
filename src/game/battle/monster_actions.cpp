#include "game/battle/monster_actions.h"

#include <algorithm>
#include <string>

#include "game/battle/battle_common.h"
#include "game/battle/monster_action_parts.h"
#include "game/battle/monster_rules.h"
#include "game/character/carried_items.h"
#include "game/character/message_timing.h"
#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/spells/spell_cast.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"
#include "runtime/values.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr double kFlag = 10000;
constexpr double kPetrifyingStare = 20000;
constexpr int kGuard = 5;
constexpr int kThiefType = 3;
constexpr float kBreathReaches = 12000;

enum ActionKind { Attack = 0, Cast = 1, Breathe = 2, CallHelp = 3, Flee = 4, Stare = 5 };

double rnd(Game& g) {
  return randomDraw(g);
}

float& memberCommand(Game& g, int position) {
  return g.BattleParty(position - 1, Command);
}

bool isGuarding(Game& g, int position) {
  return memberCommand(g, position) == kGuard;
}

int sealedDigit(const MonsterActor& a, int k) {
  return digit(a.g.BattleMonsters(a.group, a.index, MonsterSealed), k);
}

const std::string& shownName(const MonsterActor& a) {
  return shownGroupName(a.g, a.group);
}

void castSpell(const MonsterActor& a, int position) {
  Game& g = a.g;
  const int spell = rt::toInt32(g.BattleMonsters(a.group, a.index, MonsterSpell));
  monster_rules::spendCharge(g, a.group, a.index, spell);
  g.SysWord(SpellCode) = static_cast<float>(spell + 200);
  g.SysWord(SpellCasterTarget) = static_cast<float>(a.index * 1000 + a.group * 100 + position);
  SPL(g);
}

double breathOn(const MonsterActor& a, int position, int element) {
  Game& g = a.g;
  const int c = memberSlot(g, position);
  double damage = monster_rules::breathDamage(g.BattleMonsters(a.group, a.index, MonsterHitPoints),
                                              g.Setting(BreathPercent));
  if (isAbleToAct(g, c)) {
    const double k = isGuarding(g, position) ? 8 : 6;
    if (battleStat(g, position, Luck) * k > rnd(g) * (g.SysWord(StatScale) * 10)) {
      damage = rt::INT(damage / 2);
    }
  }
  if (wearsWard(g, c, breathWard(element))) damage = rt::INT(damage / 2);
  return damage;
}

void breathe(const MonsterActor& a) {
  Game& g = a.g;
  printItemsAt(g, 24, 8, {shownName(a), " はブレスを吐いた"_sj});
  if (sealedDigit(a, 2) == 1) {
    sayAt(g, 24, 11, {"しかしブレスは封じられている"_sj});
    return;
  }
  const int element = digit(g.MonsterTable(a.monster, MonsterGroupBase), 3);
  for (int p = 1; p <= partySize(g); ++p) {
    const int c = memberSlot(g, p);
    if (g.CharRec(c, Status) > kBreathReaches) continue;
    const double damage = breathOn(a, p, element);
    g.con.COLOR(3);
    blankColumns(g, 24, 10, 50);
    sayAt(g, 24, 10, {g.CharName(c), " は "_sj, static_cast<float>(damage), " のダメージ"_sj});
    g.CharRec(c, HitPoints) -= static_cast<float>(damage);
    if (g.CharRec(c, HitPoints) < 1) {
      memberFalls(g, p);
      blankColumns(g, 24, 12, 40);
      sayAt(g, 24, 12, {g.CharName(c), " は死んだ"_sj});
      TMWAIT(g);
    }
    showMemberHitPoints(g, p);
  }
}

void callForHelp(const MonsterActor& a) {
  Game& g = a.g;
  sayAt(g, 24, 8, {shownName(a), " は仲間を呼んだ"_sj});
  const double taken =
      g.GroupSlots(a.group, SlotsAtTurnStart) + g.GroupSlots(a.group, SlotsCalledIn);
  if (rt::MOD(g.GroupKills(a.group), 100) > 88 || rnd(g) * 10 > 6 || taken > 8) {
    sayAt(g, 24, 10, {"しかし仲間は現れなかった"_sj});
    return;
  }
  sayAt(g, 24, 10, {"仲間が現れた"_sj});
  const int place = rt::toInt32(taken);
  buildMonster(g, a.group, place);
  g.BattleMonsters(a.group, place, MonsterState) = 0;
  g.BattleMonsters(a.group, place, MonsterAction) = 6;
  g.BattleMonsters(a.group, place, MonsterSealed) =
      g.BattleMonsters(a.group, a.index, MonsterSealed);
  g.GroupCount(a.group) += 1;
  g.GroupSlots(a.group, SlotsCalledIn) += 1;
}

// The last carried item that is not worn, searched from the last slot.
int unwornSlotFromTheEnd(const Game& g, int c) {
  for (int slot = itemSlotCount(g); slot >= 1; --slot) {
    const float value = itemSlot(g, c, slot);
    if (itemNumber(value) != 0 && !isWorn(value)) return slot;
  }
  return 0;
}

void steal(const MonsterActor& a) {
  Game& g = a.g;
  const int position = rt::toInt32(rt::INT(rnd(g) * partySize(g) + 1));
  const double agility = battleStat(g, position, Agility);
  if (agility * 3 > rnd(g) * (g.SysWord(StatScale) * 5 + 10)) return;
  const int c = memberSlot(g, position);
  const int slot = unwornSlotFromTheEnd(g, c);
  if (slot == 0) return;
  printItemsAt(g, 24, 12, {g.CharName(c), " の"_sj});
  printAt(g, 24, 14, "アイテムを盗んでいった"_sj);
  // The later items move up, so that the slots stay filled from the first.
  removeItem(g, c, slot);
  TMWAIT(g);
}

void flee(const MonsterActor& a) {
  Game& g = a.g;
  sayAt(g, 24, 8, {shownName(a), " は逃げだした"_sj});
  monsterLeavesGroup(g, a.group, a.index);
  if (g.Setting(MonstersSteal) != 0 && monsterTypeOf(g, a.monster) == kThiefType) steal(a);
}

bool stareFails(const MonsterActor& a, int position, int c) {
  Game& g = a.g;
  if (sealedDigit(a, 3) == 1 || g.CharRec(c, Status) > 9999) return true;
  const double k = isGuarding(g, position) ? 5 : 7;
  const double dodge = battleStat(g, position, Agility) * 2 + battleStat(g, position, Luck);
  return dodge > rnd(g) * (g.SysWord(StatScale) * k);
}

void stare(const MonsterActor& a, int position) {
  Game& g = a.g;
  const int c = memberSlot(g, position);
  printItemsAt(g, 24, 8, {shownName(a), " は "_sj, g.CharName(c), " を"_sj});
  printAt(g, 24, 10, "睨みつけた"_sj);
  if (stareFails(a, position, c)) {
    printAt(g, 30, 12, "しかし　効果は無かった"_sj);
  } else {
    printItemsAt(g, 24, 12, {g.CharName(c), " は動けなくなった"_sj});
    float& code = g.CharRec(c, Status);
    const bool petrifies = g.MonsterTable(a.monster, MonsterHitBase) >= kPetrifyingStare;
    code = static_cast<float>(petrifies ? 10000 + rt::MOD(code, 10000)
                                        : rt::INT(code / 100) * 100 + 11);
  }
  memberCommand(g, position) = 0;
  TMWAIT(g);
}

// A sleeping monster may wake, and does nothing else this turn; one held
// by a spell does nothing at all.
bool isReady(const MonsterActor& a) {
  Game& g = a.g;
  float& state = g.BattleMonsters(a.group, a.index, MonsterState);
  if (state >= 2) return false;
  if (state == 1) {
    if (2 * monsterLevelOf(g, a.monster) + 40 > rnd(g) * 100) state = 0;
    return false;
  }
  return true;
}

void carryOut(const MonsterActor& a, int kind, int position) {
  switch (kind) {
    case Attack:
      attackMember(a, position);
      break;
    case Cast:
      castSpell(a, position);
      break;
    case Breathe:
      breathe(a);
      break;
    case CallHelp:
      callForHelp(a);
      break;
    case Flee:
      flee(a);
      break;
    case Stare:
      stare(a, position);
      break;
    default:
      break;
  }
}

}  // namespace

Ward breathWard(int element) {
  switch (element) {
    case 2:
      return Ward::Frost;
    case 3:
      return Ward::Acid;
    case 4:
      return Ward::Stone;
    case 5:
      return Ward::Life;
    default:
      return Ward::Fire;
  }
}

bool itemWards(const Game& g, int item, Ward ward) {
  const float bonus = g.ItemTable(item, ItemBonusStat);
  switch (ward) {
    case Ward::Drain:
    case Ward::Life:
      return bonus >= kFlag;
    case Ward::Frost:
      return digit(bonus, 1) == 1;
    case Ward::Poison:
    case Ward::Acid:
      return digit(bonus, 2) == 1;
    case Ward::Petrification:
    case Ward::Stone:
      return g.ItemTable(item, FirstSlayingField) >= kFlag;
    case Ward::Fire:
      return g.ItemTable(item, ItemPriceHigh) >= kFlag;
  }
  return false;
}

bool carriesWard(const Game& g, int c, Ward ward) {
  for (int slot = 1; slot <= itemSlotCount(g); ++slot) {
    const int item = itemNumber(itemSlot(g, c, slot));
    if (item != 0 && itemWards(g, item, ward)) return true;
  }
  return false;
}

bool wearsWard(const Game& g, int c, Ward ward) {
  for (int slot = 1; slot <= itemSlotCount(g); ++slot) {
    const float value = itemSlot(g, c, slot);
    if (itemNumber(value) != 0 && isWorn(value) && itemWards(g, itemNumber(value), ward)) {
      return true;
    }
  }
  return false;
}

void memberFalls(Game& g, int position) {
  const int c = memberSlot(g, position);
  g.CharRec(c, HitPoints) = 0;
  // A member already dead or lost keeps what he is.
  if (g.CharRec(c, Status) < status::Dead) g.CharRec(c, Status) = status::Dead;
  memberCommand(g, position) = 0;
}

void showMemberHitPoints(Game& g, int position) {
  g.con.COLOR(6);
  g.con.LOCATE(55, 15 + position);
  g.con.PRINT_USING("####", {g.CharRec(memberSlot(g, position), HitPoints)});
  g.con.COLOR(3);
}

void actMonster(Game& g, int group, int index) {
  if (!isGroupInUse(g, group) || !isMonsterAlive(g, group, index)) return;
  const MonsterActor actor{g, group, index, rt::toInt32(g.GroupMonster(group))};
  if (!isReady(actor)) return;
  const float action = g.BattleMonsters(group, index, MonsterAction);
  const int kind = rt::MOD(action, 10);
  const int position = rt::toInt32(rt::INT(action / 10));
  blankArea(g, 12, 7, 15, 56);
  const bool aimsAtMember = kind == Attack || kind == Stare;
  if (aimsAtMember && (position < 1 || position > partySize(g))) return;
  g.con.COLOR(3);
  carryOut(actor, kind, position);
  g.con.COLOR(6);
}

}  // namespace kestrun::game
