#include "game/character/sheet.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "game/character/carried_items.h"
#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"
#include "runtime/strings.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kSheetColour = 7;

// The marching position (1-based) of slot c, if he is in the party.
std::optional<int> partyPosition(const Game& g, int c) {
  const int position = partyPositionOf(g, c);
  if (position == 0) return std::nullopt;
  return position;
}

bool isGone(float code) {
  return code == status::Lost || code == status::Spirit || code == status::Dead;
}

void showPlace(Game& g, int c, std::optional<int> position) {
  if (g.CharRec(c, Status) == status::Lost) return;
  if (position && g.GameState(FloorAndFacing) > 99) {
    printAt(g, 59, 0, "迷宮内"_sj);
  } else if (position || g.CharRec(c, LevelAndFloor) < 1000) {
    printAt(g, 59, 0, "街にいる"_sj);
  }
}

void showHeading(Game& g, int c, std::optional<int> position) {
  g.con.LOCATE(5, 0);
  g.con.PRINT("Character  No. ");
  g.con.PRINT(static_cast<float>(c + 1));
  printAt(g, 31, 0, "Name   " + g.CharName(c));
  showPlace(g, c, position);
}

void showSchools(Game& g, int c, int cls) {
  const int holy = digit(g.ClassTable(cls, ClassSkills), 3);
  const int magic = digit(g.ClassTable(cls, ClassSkills), 2);
  if (g.Setting(SpellSchools) == 0 || (holy == 0 && magic == 0)) return;
  printAt(g, 24, 1, "系統"_sj);
  if (holy > 0) {
    g.con.LOCATE(magic > 0 ? 29 : 31, 1);
    g.con.PRINT_USING(
        "@#", {"神 "_sj, static_cast<float>(digit(g.CharRec(c, ChecksumAndSchools), 3) + 1)});
  }
  if (magic > 0) {
    g.con.LOCATE(holy > 0 ? 34 : 31, 1);
    g.con.PRINT_USING(
        "@#", {"魔 "_sj, static_cast<float>(digit(g.CharRec(c, ChecksumAndSchools), 4) + 1)});
  }
}

void showIdentity(Game& g, int c) {
  const int cls = classOf(g, c);
  printAt(g, 1, 1, "クラス  "_sj + g.ClassName(cls));
  showSchools(g, c, cls);
  if (g.Setting(AlignmentsUsed) == 1)
    printAt(g, 41, 1, "性格  "_sj + g.AlignmentLetter(alignmentOf(g, c)));
  if (g.Setting(NoRaces) == 0) printAt(g, 52, 1, "種族  "_sj + g.RaceName(raceOf(g, c)));
  if (g.Setting(SexesUsed) == 1)
    printAt(g, 71, 1, "性別  "_sj + (sexOf(g, c) == 1 ? "Ｆ"_sj : "Ｍ"_sj));
}

void showLevelAndHitPoints(Game& g, int c) {
  rt::Console& con = g.con;
  con.LOCATE(1, 2);
  con.PRINT_USING("@####", {"レベル  "_sj, static_cast<float>(levelOf(g, c))});
  con.LOCATE(21, 2);
  con.PRINT_USING("@#####@", {"ＨＰ　"_sj, g.CharRec(c, HitPoints), std::string(" /")});
  printAt(g, 34, 2, g.CharRec(c, MaxHitPoints));
  printAt(g, 49, 2, "年齢　"_sj);
  con.PRINT(rt::toSingle(rt::INT((g.CharRec(c, AgeDays) + 32000.0) / 365) + 15));
}

void showState(Game& g, float code) {
  if (isGone(code)) {
    printAt(g, 65, 2, g.StatusName(code == status::Lost ? 8 : code == status::Spirit ? 7 : 6));
    return;
  }
  const bool poisoned = digit(code, 3) == 1;
  const bool petrified = code >= status::Petrified;
  const bool paralysed = digit(code, 2) == 1;
  g.con.LOCATE(65, 2);
  if (poisoned) {
    g.con.PRINT(g.StatusName(4));
    g.con.LOCATE(63, 2);
  }
  if (petrified) {
    g.con.PRINT(g.StatusName(5));
  } else if (paralysed) {
    g.con.PRINT(g.StatusName(3));
  } else if (code == status::Normal) {
    g.con.PRINT(g.StatusName(1));
  }
  if (poisoned && (petrified || paralysed)) printAt(g, 59, 2, g.StatusName(4));
}

double centred(float field) {
  return rt::MOD(field, 100) - 50;
}

// Armour class from the equipped items (natural armour for an unarmoured
// thief-fighter); stored in a member's battle row. Returns it with the sum
// of the regeneration values of everything carried.
struct Protection {
  double armourClass = 10;
  double regeneration = 0;
};

Protection computeProtection(Game& g, int c, std::optional<int> position) {
  Protection result;
  bool wearing = false;
  const int slots = rt::toInt32(g.Setting(ItemSlots));
  for (int j = 0; j < slots; ++j) {
    const float slot = g.CharRec(c, FirstItemSlot + j);
    const int item = itemNumber(slot);
    if (item == 0) continue;
    result.regeneration += centred(g.ItemTable(item, ItemRegeneration));
    if (!isEquipped(slot)) continue;
    wearing = true;
    result.armourClass += itemArmourChange(g, item);
  }
  const float skills = g.ClassTable(classOf(g, c), ClassSkills);
  if (!wearing && rt::INT(skills / 10000) == 1 && digit(skills, 1) == 1 &&
      g.Setting(ArmourAndTrapDamage) > 999) {
    result.armourClass =
        8 - rt::INT(levelOf(g, c) / rt::INT(g.Setting(ArmourAndTrapDamage) / 1000));
  }
  if (position) g.BattleParty(*position - 1, BattleArmourClass) = rt::toSingle(result.armourClass);
  return result;
}

void showRegenerationMark(Game& g, double regeneration) {
  if (regeneration < 0) printAt(g, 28, 2, "-");
  if (regeneration > 0) printAt(g, 28, 2, "+");
}

void showStats(Game& g, int c, std::optional<int> position) {
  int shown = 0;
  for (int i = 0; i < StatCount; ++i) {
    if (g.Setting(FirstStatUsed + i) == 0) continue;
    const int column = 9 * shown++;
    printAt(g, column + 2, 3, g.StatName(i));
    g.con.LOCATE(column + 7, 3);
    g.con.PRINT_USING("##", {static_cast<float>(statOf(g, c, i))});
    if (!position) continue;
    g.con.LOCATE(column + 6, 4);
    g.con.PRINT_USING("@##@", {std::string("("), g.BattleParty(*position - 1, FirstBattleStat + i),
                               std::string(")")});
  }
}

void showRecord(Game& g, int c, double armourClass) {
  rt::Console& con = g.con;
  printAt(g, 2, 5, "ＡＣ  "_sj);
  con.PRINT(rt::toSingle(armourClass - g.CharRec(c, ArmourModifier)));
  printAt(g, 14, 5, "経験値　"_sj);
  con.PRINT(g.CharLong(c, Experience));
  printAt(g, 35, 5, "所持金　"_sj);
  con.PRINT(g.CharLong(c, Gold));
  printAt(g, 56, 5, "倒したモンスター  "_sj);
  if (g.CharRec(c, Kills) >= 30001) {
    con.PRINT("GREAT");
  } else {
    con.PRINT(g.CharRec(c, Kills));
  }
}

void showSpellPoints(Game& g, int c) {
  rt::Console& con = g.con;
  if (g.Setting(SpellPointMode) == 2) {
    printAt(g, 9, 10, "ＭＰ    "_sj);
    con.PRINT(g.CharLong(c, HolyPoints));
    con.PRINT(" / ");
    con.PRINT(g.CharLong(c, HolyPointsMax));
    printAt(g, 45, 10, g.CharLong(c, MagicPoints));
    con.PRINT(" / ");
    con.PRINT(g.CharLong(c, MagicPointsMax));
    return;
  }
  printAt(g, 37, 10, "ＭＰ"_sj);
  for (int kind = 0; kind < 2; ++kind) {
    const int offset = kind == 0 ? rt::toInt32((9 - g.Setting(HolySpellLevels)) * 3) : 0;
    const int levels = rt::toInt32(g.Setting(HolySpellLevels + kind));
    for (int level = 0; level < levels; ++level) {
      const int x = 1 + 41 * kind + 4 * level + offset;
      printAt(g, x, 9, static_cast<float>(digit(g.CharLong(c, HolyPoints + 2 * kind), level)));
      printAt(g, x + 1, 10, "/");
      printAt(g, x, 11, static_cast<float>(digit(g.CharLong(c, HolyPointsMax + 2 * kind), level)));
    }
  }
}

bool isListedSpell(const Game& g, int c, int spell) {
  const float head = g.SpellTable(spell, SpellKindAndListing);
  return rt::MOD(head, 10) != 0 && rt::MOD(rt::INT(head / 10), 1000) != 0 &&
         knowsSpell(g, c, spell);
}

// The places of one side of the spell list: an empty place before each
// level, then the known spells of that level in number order (0 = empty).
std::vector<int> spellPlaces(const Game& g, int c, int firstSpell) {
  std::vector<int> places;
  for (int level = 1; level <= 9; ++level) {
    places.push_back(0);
    for (int s = firstSpell; s < firstSpell + 40; ++s) {
      if (rt::MOD(g.SpellTable(s, SpellLevel), 10) == level && isListedSpell(g, c, s))
        places.push_back(s);
    }
  }
  return places;
}

int spellColumnWidth(size_t longestSide) {
  if (longestSide > 44) return 6;
  if (longestSide > 35) return 8;
  return 10;
}

void showKnownSpells(Game& g, int c) {
  const std::vector<int> sides[2] = {spellPlaces(g, c, 1), spellPlaces(g, c, 41)};
  const int width = spellColumnWidth(std::max(sides[0].size(), sides[1].size()));
  for (int kind = 0; kind < 2; ++kind) {
    for (size_t q = 0; q < sides[kind].size(); ++q) {
      const int spell = sides[kind][q];
      if (spell == 0) continue;
      const int column = static_cast<int>(q / 9) * width + 40 * kind;
      printAt(g, column, static_cast<int>(q % 9) + 12, rt::LEFT(g.SpellName(spell), width));
    }
  }
}

struct ItemLayout {
  int perRow;
  int step;
  int margin;
};

// Five to a row use the narrow columns; fewer leave a margin. An odd count
// puts the extra item on the first row.
ItemLayout itemLayout(int slots) {
  const int perRow = std::max(1, (slots + 1) / 2);
  if (perRow >= 5) return {perRow, 16, 0};
  return {perRow, 18, 6};
}

}  // namespace

void IHYJ(Game& g) {
  rt::Console& con = g.con;
  const int c = rt::toInt32(g.SysWord(ActingSlot));
  const int slots = rt::toInt32(g.Setting(ItemSlots));
  const ItemLayout layout = itemLayout(slots);
  printAt(g, 0, 7, rt::SPACE(80));
  printAt(g, 0, 8, rt::SPACE(80));
  con.COLOR(kSheetColour);
  double weight = 0;
  for (int j = 0; j < slots; ++j) {
    const float slot = g.CharRec(c, FirstItemSlot + j);
    if (slot < 1) continue;
    const int item = itemNumber(slot);
    const bool trueName = isIdentified(slot) || !identificationUsed(g);
    const int column = layout.margin + 1 + layout.step * (j % layout.perRow);
    const int row = 7 + j / layout.perRow;
    printAt(g, column, row, rt::LEFT(g.ItemName(item, trueName ? 0 : 1), layout.step - 2));
    if (!trueName) con.PRINT("?");
    if (!isWorn(slot)) continue;
    printAt(g, column - 1, row, "*");
    if (g.Setting(ItemWeight) == 1) weight += rt::MOD(g.ItemTable(item, ItemWeightAndBreak), 100);
  }
  if (g.Setting(ItemWeight) != 1) return;
  printAt(g, 17, 6, "装備アイテム重量  "_sj);
  con.PRINT(rt::toSingle(weight));
  con.PRINT("    装備可能重量   "_sj);
  con.PRINT(rt::toSingle(statOf(g, c, 0) * rt::MOD(g.Setting(CarryFactor), 100)));
}

void LOOK(Game& g) {
  const int c = rt::toInt32(g.SysWord(ActingSlot));
  const std::optional<int> position = partyPosition(g, c);
  g.con.CLS();
  g.con.COLOR(kSheetColour);
  showHeading(g, c, position);
  showIdentity(g, c);
  showLevelAndHitPoints(g, c);
  const float code = g.CharRec(c, Status);
  showState(g, code);
  double armourClass = 10;
  if (!isGone(code)) {
    const Protection protection = computeProtection(g, c, position);
    armourClass = protection.armourClass;
    showRegenerationMark(g, protection.regeneration);
  }
  showStats(g, c, position);
  showRecord(g, c, armourClass);
  IHYJ(g);
  showSpellPoints(g, c);
  showKnownSpells(g, c);
}

}  // namespace kestrun::game
