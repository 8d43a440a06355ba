#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

#include "game/battle/battle_common.h"
#include "game/battle/command_parts.h"
#include "game/character/carried_items.h"
#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/party/item_actions.h"
#include "game/spells/catalogue.h"
#include "game/spells/learning.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"
#include "runtime/strings.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kMiracle = 15;
constexpr int kLastBattleEffect = 16;
constexpr int kEveryone = 3;
constexpr int kOneTarget = 1;

int commandRow(int position) {
  return 15 + position;
}

// A line input at (column, row) that blanks only `width` columns first, so
// that what stands beside the question stays.
double askAt(Game& g, int column, int row, int width, std::string_view prompt) {
  blankColumns(g, column, row, width);
  g.con.LOCATE(column, row);
  g.KeyAnswer = g.con.inputString(prompt);
  return answerValue(g.KeyAnswer);
}

bool isWholeChoice(double answer, int highest) {
  return answer >= 1 && answer <= highest;
}

// Keys until one is a digit from 1 to `highest`.
int readChoiceKey(Game& g, int highest) {
  for (;;) {
    const std::optional<int> key = digitKey(g.con.waitKey(), highest);
    if (key && *key >= 1) return *key;
  }
}

void printChoice(Game& g, int position, int choice) {
  g.con.LOCATE(77, commandRow(position));
  g.con.PRINT_USING("##", {static_cast<int16_t>(choice)});
}

void printKeyRange(Game& g, int column, int row, int highest) {
  g.con.LOCATE(column, row);
  g.con.PRINT_USING("@#@",
                    {std::string("Hit 1 - "), static_cast<int16_t>(highest), std::string(" Key")});
}

bool hasLongRangeWeapon(const Game& g, int position) {
  const int weapon = rt::toInt32(g.BattleParty(position - 1, EquippedWeapon));
  return g.ItemTable(weapon, ItemRegeneration) >= 10000;
}

// The group places a member's blow can reach: with the range rule, only
// the first few unless he swings a long weapon from the front rank.
int reachableGroups(const Game& g, int position, int command) {
  int n = groupsInUse(g);
  if (command != kFight || g.Setting(WeaponRange) != 1) return n;
  const bool backRank = position > g.Setting(FrontRank);
  if (backRank || !hasLongRangeWeapon(g, position)) {
    n = std::min(n, rt::MOD(g.Setting(WeaponReach), 100));
  }
  return n;
}

int askGroupNumber(Game& g, int position, int command, int groups) {
  if (groups < 2) return 1;
  const std::string question = command == kDispel ? "解呪しますか ?"_sj : "攻撃しますか ?"_sj;
  printItemsAt(g, 19, 6, {"どのモンスターグループを"_sj, question});
  printKeyRange(g, 29, 9, groups);
  const int chosen = readChoiceKey(g, groups);
  printChoice(g, position, chosen);
  return chosen;
}

// The party member a spell is cast on, chosen by his position.
int askMemberTarget(Game& g, int position) {
  rt::Console& con = g.con;
  const int members = partySize(g);
  con.COLOR(7);
  for (int p = 1; p <= members; ++p) {
    con.LOCATE(9, 15 + p);
    con.PRINT_USING("##", {static_cast<int16_t>(p)});
  }
  con.COLOR(6);
  printAt(g, 19, 9, "呪文の対象はだれにしますか ?    "_sj);
  printKeyRange(g, 49, 12, members);
  const int chosen = readChoiceKey(g, members);
  printChoice(g, position, chosen);
  blankArea(g, 9, 16, 15 + rt::toInt32(g.Setting(PartySize)), 2);
  return memberSlot(g, chosen);
}

// Whom spell s is cast at: nobody in particular, the caster, a monster
// group or a member of the party.
void chooseSpellTarget(Game& g, int position, int spell) {
  rt::Console& con = g.con;
  con.LOCATE(69, commandRow(position));
  con.PRINT(rt::LEFT(g.SpellName(spell), 10));
  g.BattleParty(position - 1, CommandSpell) = static_cast<float>(spell);
  const bool holy = spellKindOf(spell) == kHolySpells;
  const double effect = g.SpellTable(spell, SpellEffect);
  const double area = g.SpellTable(spell, SpellScope);
  blankLines(g, 6, 15);
  float& target = g.BattleParty(position - 1, CommandTarget);
  if (effect == kMiracle || (holy && effect > 12) || (!holy && effect > 13) || area == kEveryone) {
    target = 0;
  } else if ((holy && effect < 6 && area == kOneTarget) ||
             (!holy && effect > 9 && area == kOneTarget)) {
    target = static_cast<float>(memberSlot(g, position));
  } else if ((holy && effect > 5) || (!holy && effect < 10)) {
    chooseGroup(g, position, kCast);
  } else {
    target = static_cast<float>(askMemberTarget(g, position));
  }
}

void listItems(Game& g, int c) {
  for (int j = 1; j <= itemSlotCount(g); ++j) {
    const float value = itemSlot(g, c, j);
    const int item = itemNumber(value);
    if (item == 0) continue;
    g.con.LOCATE(19, 6 + j);
    const int name = 1 - rt::toInt32(rt::INT(value / kIdentifiedMark));
    g.con.PRINT_USING("##@@", {static_cast<int16_t>(j), std::string(" "), g.ItemName(item, name)});
  }
}

// The spell the item in slot j casts, or 0 when it cannot be used now (a
// refusal the player must read is shown).
int usableItemSpell(Game& g, int c, int j) {
  const float value = itemSlot(g, c, j);
  const int item = itemNumber(value);
  if (item == 0) return 0;
  const int spell = rt::MOD(g.ItemTable(item, ItemSpell), 100);
  if (spell == 0) return 0;
  if (itemKind(g, item) != UsedWithoutEquippingKind && equipDigit(value) == 0) {
    refuse(g, 19, 6, "このアイテムは装備していないと使えません"_sj);
    return 0;
  }
  if (g.SpellTable(spell, SpellKindAndListing) == 0) return 0;
  return spell;
}

// The points left, per spell level or in one pool, beside the casting list.
void showSpellPoints(Game& g, int c, int kind) {
  rt::Console& con = g.con;
  con.COLOR(7);
  printAt(g, 55, 6, "ＭＰ"_sj);
  const int32_t points = g.CharLong(c, 2 * kind + HolyPoints);
  if (usesSpellPool(g)) {
    printAt(g, 63, 6, points);
    return;
  }
  const int levels = std::min(9, rt::toInt32(g.Setting(HolySpellLevels + kind)));
  for (int level = 1; level <= levels; ++level) {
    con.LOCATE(60 + 2 * level, 6);
    con.PRINT_USING("#", {static_cast<int16_t>(digit(points, level - 1))});
  }
}

// A spell whose effect belongs to the dungeon only.
bool isCastInBattle(const Game& g, int spell) {
  const double effect = g.SpellTable(spell, SpellEffect);
  if (effect > kLastBattleEffect) return false;
  return !(spellKindOf(spell) == kMagicSpells && effect == kLastBattleEffect);
}

// Entry `entry` of the casting list as a spell the member can cast now, or 0.
int castableSpell(Game& g, int c, int kind, int entry) {
  g.SysWord(ActingSlot) = static_cast<float>(c);
  g.SysWord(SpellKindChosen) = static_cast<float>(kind);
  g.SysWord(SpellEntry) = static_cast<float>(entry);
  SPK(g);
  const int spell = rt::toInt32(g.SysWord(SpellEntry));
  if (spell == 0 || !isCastInBattle(g, spell)) return 0;
  return spell;
}

void showCastingList(Game& g, int c) {
  g.SysWord(ActingSlot) = static_cast<float>(c);
  g.SysWord(SpellMenuRow) = 10;
  g.SysWord(SpellListRow) = 9;
  rt::GraphicsPlane& plane = g.con.graphics();
  plane.LINE(10, 140, 135, 270, 0, rt::BoxMode::Filled);
  plane.LINE(510, 1, 638, 270, 0, rt::BoxMode::Filled);
  SPS(g);
}

}  // namespace

void chooseGroup(Game& g, int position, int command) {
  const int group = askGroupNumber(g, position, command, reachableGroups(g, position, command)) - 1;
  float& aim = g.GroupAim(group);
  g.BattleParty(position - 1, CommandTarget) = static_cast<float>(group * 10) + aim;
  aim += 1;
  if (aim >= g.GroupCount(group)) aim = 0;
}

bool chooseItem(Game& g, int position) {
  const int c = memberSlot(g, position);
  listItems(g, c);
  const int count = carriedItemCount(g, c);
  printItemsAt(g, 49, 8, {"0 -", static_cast<int16_t>(count)});
  for (;;) {
    const double answer = askAt(g, 19, 6, 45, "どのアイテムを使いますか ?  "_sj);
    if (answer == 0) {
      blankColumns(g, 70, commandRow(position), 8);
      return false;
    }
    if (!isWholeChoice(answer, count)) continue;
    const int j = rt::toInt32(rt::INT(answer));
    const int spell = usableItemSpell(g, c, j);
    if (spell == 0) continue;
    g.BattleParty(position - 1, Command) = static_cast<float>(j * 10 + kUseItem);
    chooseSpellTarget(g, position, spell);
    return true;
  }
}

bool chooseSpell(Game& g, int position) {
  rt::Console& con = g.con;
  const int c = memberSlot(g, position);
  showCastingList(g, c);
  const int kind = rt::toInt32(g.SysWord(SpellKindChosen));
  const int count = rt::toInt32(g.SysWord(SpellEntries));
  showSpellPoints(g, c, kind);
  for (;;) {
    con.COLOR(6);
    printItemsAt(g, 25, 7, {"1 -", static_cast<int16_t>(count), "     0 で戻る"_sj});
    const double answer = askAt(g, 19, 6, 35, "どの呪文を唱えますか ?  "_sj);
    if (answer == 0) {
      blankLines(g, 6, 15);
      return false;
    }
    if (!isWholeChoice(answer, count)) continue;
    const int spell = castableSpell(g, c, kind, rt::toInt32(rt::INT(answer)));
    if (spell == 0) continue;
    chooseSpellTarget(g, position, spell);
    return true;
  }
}

}  // namespace kestrun::game
