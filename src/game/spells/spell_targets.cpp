#include <algorithm>

#include "game/character/carried_items.h"
#include "game/character/message_timing.h"
#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/spells/catalogue.h"
#include "game/spells/spell_effects.h"
#include "game/spells/spell_rules.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kGroups = 4;
constexpr int kPlaces = 9;
constexpr double kKillsHeldAt = 30001;
constexpr double kWardStrength = 50;
constexpr int kEveryone = 3;

int messageRow(const SpellCast& cast) {
  return cast.inBattle ? 10 : 16;
}

double rnd(Game& g) {
  return g.con.random().RND(1);
}

bool isLiving(const Game& g, MonsterRef m) {
  return g.BattleMonsters(m.group, m.place, MonsterHitPoints) > 0;
}

bool isGroupInPlay(const Game& g, int group) {
  return group >= 0 && group < kGroups && g.GroupMonster(group) >= 0;
}

void addLivingOfGroup(const Game& g, int group, std::vector<MonsterRef>& targets) {
  if (!isGroupInPlay(g, group)) return;
  for (int place = 0; place < kPlaces; ++place) {
    if (isLiving(g, {group, place})) targets.push_back({group, place});
  }
}

// Items that ward against spells: thousands digit of field 7.
int wardingItems(const Game& g, int slot) {
  int count = 0;
  for (int s = 1; s <= itemSlotCount(g); ++s) {
    const int item = itemNumber(itemSlot(g, slot, s));
    if (item != 0 && digit(g.ItemTable(item, ItemBonusStat), 3) == 1) ++count;
  }
  return count;
}

}  // namespace

SpellCast decodeCast(const Game& g) {
  const double code = g.SysWord(SpellCode);
  const double who = g.SysWord(SpellCasterTarget);
  SpellCast cast;
  cast.spell = rt::MOD(code, 100);
  cast.kind = spellKindOf(cast.spell);
  cast.effect = spellEffect(g, cast.spell);
  cast.inBattle = code > 90;
  cast.byMonster = code > 190;
  cast.target = rt::MOD(who, 100);
  if (cast.byMonster) {
    cast.casterGroup = rt::MOD(rt::INT(who / 100), 10);
    cast.casterPlace = rt::toInt32(rt::INT(who / 1000));
  } else {
    cast.caster = rt::toInt32(rt::INT(who / 100));
  }
  cast.scope = g.SpellTable(cast.spell, SpellScope);
  cast.a = g.SpellTable(cast.spell, SpellFaces);
  cast.b = g.SpellTable(cast.spell, SpellDice);
  return cast;
}

void printLine(Game& g, const SpellCast& cast, std::initializer_list<rt::PrintItem> items) {
  const int row = messageRow(cast);
  blankColumns(g, 24, row, 56);
  g.con.COLOR(cast.byMonster ? 3 : 5);
  g.con.LOCATE(24, row);
  for (const rt::PrintItem& item : items) g.con.PRINT(item);
}

void sayLine(Game& g, const SpellCast& cast, std::initializer_list<rt::PrintItem> items) {
  printLine(g, cast, items);
  TMWAIT(g);
}

std::vector<int> memberTargets(const Game& g, const SpellCast& cast) {
  std::vector<int> slots;
  // A monster aims at a marching position; a spell it casts on more than
  // one reaches the whole party.
  const bool everyone = cast.byMonster ? cast.scope > 1 : cast.scope >= kEveryone;
  if (everyone) {
    for (int p = 1; p <= partySize(g); ++p) slots.push_back(memberSlot(g, p));
  } else if (!cast.byMonster) {
    slots.push_back(cast.target);
  } else if (cast.target >= 1 && cast.target <= partySize(g)) {
    slots.push_back(memberSlot(g, cast.target));
  }
  return slots;
}

std::vector<MonsterRef> monsterTargets(const Game& g, const SpellCast& cast) {
  std::vector<MonsterRef> targets;
  const MonsterRef aimed{cast.target / 10, cast.target % 10};
  if (cast.scope >= kEveryone) {
    for (int group = 0; group < kGroups; ++group) addLivingOfGroup(g, group, targets);
  } else if (cast.scope == 2) {
    addLivingOfGroup(g, aimed.group, targets);
  } else if (isGroupInPlay(g, aimed.group) && isLiving(g, aimed)) {
    targets.push_back(aimed);
  }
  return targets;
}

int monsterNumber(const Game& g, int group) {
  return rt::toInt32(g.GroupMonster(group));
}

const std::string& monsterName(const Game& g, int group) {
  return g.MonsterName(monsterNumber(g, group), rt::toInt32(g.GroupUnknown(group)));
}

const std::string& casterName(const Game& g, const SpellCast& cast) {
  return cast.byMonster ? monsterName(g, cast.casterGroup) : g.CharName(cast.caster);
}

double monsterLevel(const Game& g, int monster) {
  return rt::INT(g.MonsterTable(monster, MonsterLevel) / 100);
}

double casterLevel(const Game& g, const SpellCast& cast) {
  if (cast.byMonster) return monsterLevel(g, monsterNumber(g, cast.casterGroup));
  return levelOf(g, cast.caster);
}

int battleRowOf(const Game& g, int slot) {
  return partyPositionOf(g, slot) - 1;
}

bool monsterResists(Game& g, const SpellCast& cast, MonsterRef m, double divisor) {
  const double resistance = g.BattleMonsters(m.group, m.place, MonsterSpellResistance);
  if (!spell_rules::beats(g.con.random(), resistance, divisor)) return false;
  sayLine(g, cast, {monsterName(g, m.group), " は呪文に抵抗した"_sj});
  return true;
}

void sayResisted(Game& g, const SpellCast& cast, int slot) {
  sayLine(g, cast, {g.CharName(slot), " は呪文に抵抗した"_sj});
}

bool memberResists(Game& g, const SpellCast& cast, int slot, double divisor) {
  double resistance = kWardStrength * wardingItems(g, slot);
  const int row = battleRowOf(g, slot);
  if (hasSoundStatus(g.CharRec(slot, Status)) && row >= 0) {
    resistance += g.BattleParty(row, SpellResistance);
  }
  if (!spell_rules::beats(g.con.random(), resistance, divisor)) return false;
  sayResisted(g, cast, slot);
  return true;
}

bool monsterEscapes(Game& g, const SpellCast& cast, MonsterRef m, double cap, double weight,
                    double base) {
  const double edge = spell_rules::monsterLevelEdge(monsterLevel(g, monsterNumber(g, m.group)),
                                                    casterLevel(g, cast), cap);
  return weight * edge + base > rnd(g) * 100;
}

bool memberEscapes(Game& g, const SpellCast& cast, int slot, double cap, double base) {
  const double edge = spell_rules::memberLevelEdge(levelOf(g, slot), casterLevel(g, cast),
                                                   statOf(g, slot, Strength), cap);
  return edge + base > rnd(g) * 100;
}

void killMonster(Game& g, const SpellCast& cast, MonsterRef m, const std::string& words) {
  g.BattleMonsters(m.group, m.place, MonsterHitPoints) = 0;
  sayLine(g, cast, {monsterName(g, m.group), words});
  if (!cast.byMonster) {
    float& kills = g.CharRec(cast.caster, Kills);
    kills = static_cast<float>(std::min(kills + 1.0, kKillsHeldAt));
  }
  const int monster = monsterNumber(g, m.group);
  g.WorkLong(ExpPool) += rt::toInt32(g.MonsterTable(monster, MonsterExperience) + 30000.0);
  g.GroupKills(m.group) += 1;
  g.GroupCount(m.group) = std::max(g.GroupCount(m.group) - 1.0f, 0.0f);
}

void hurtMonster(Game& g, const SpellCast& cast, MonsterRef m, double damage) {
  float& hp = g.BattleMonsters(m.group, m.place, MonsterHitPoints);
  hp = rt::toSingle(hp - damage);
  sayLine(g, cast,
          {monsterName(g, m.group), " は"_sj, static_cast<float>(damage), "のダメージ"_sj});
  if (hp <= 0) killMonster(g, cast, m, " は倒れた"_sj);
}

void killMember(Game& g, const SpellCast& cast, int slot, const std::string& words) {
  g.CharRec(slot, Status) = status::Dead;
  g.CharRec(slot, HitPoints) = 0;
  sayLine(g, cast, {g.CharName(slot), words});
}

void hurtMember(Game& g, const SpellCast& cast, int slot, double damage) {
  float& hp = g.CharRec(slot, HitPoints);
  damage = std::min<double>(damage, hp);
  hp = rt::toSingle(hp - damage);
  sayLine(g, cast, {g.CharName(slot), " は"_sj, static_cast<float>(damage), "のダメージ"_sj});
  if (hp < 1) killMember(g, cast, slot, " は死んだ"_sj);
}

double spellDamage(Game& g, const SpellCast& cast, double hp) {
  if (cast.a == 99) return spell_rules::nearDeathDamage(g.con.random(), hp, cast.b);
  return spell_rules::rollDice(g.con.random(), cast.a, cast.b);
}

void removeMemberAt(Game& g, int position) {
  const int size = partySize(g);
  leaveParty(g, position);
  for (int row = position - 1; row < size - 1; ++row) {
    for (int f = 0; f < BattlePartyFields; ++f) g.BattleParty(row, f) = g.BattleParty(row + 1, f);
  }
  for (int f = 0; f < BattlePartyFields; ++f) g.BattleParty(size - 1, f) = 0;
}

void removeLostMembers(Game& g) {
  for (int p = 1; p <= partySize(g);) {
    const int slot = memberSlot(g, p);
    if (g.CharRec(slot, Status) != status::Lost) {
      ++p;
      continue;
    }
    g.CharRec(slot, LevelAndFloor) = 0;
    g.CharRec(slot, LeftAt) = 0;
    removeMemberAt(g, p);
  }
}

}  // namespace kestrun::game
