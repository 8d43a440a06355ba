#include "game/battle/opening.h"

#include <algorithm>

#include "game/battle/battle_common.h"
#include "game/battle/battle_rules.h"
#include "game/battle/monster_picture.h"
#include "game/character/battle_values.h"
#include "game/character/carried_items.h"
#include "game/character/message_timing.h"
#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/character/status_panel.h"
#include "game/character/upkeep.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"
#include "runtime/values.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kSquareMonster = 4;
constexpr int kRaisedByEvent = 3;
constexpr int kGroupSizeHeldAt = 9;
constexpr int kPictureFirstMode = 2;
constexpr int kPictureFirstInBattle = 5;
constexpr int kGood = 1;
constexpr int kEvil = 3;

int currentFloor(const Game& g) {
  return rt::toInt32(rt::INT(g.GameState(FloorAndFacing) / 100));
}

double encounterBound(const Game& g, int which) {
  return g.FloorEncounter(currentFloor(g) - 1, 2 * g.Battle.EncounterColumn - 1 + which);
}

// The highest monster of the column the battle draws from.
double highestOfColumn(const Game& g) {
  return encounterBound(g, 1);
}

void announceEncounter(Game& g) {
  g.con.graphics().LINE(200, 135, 440, 242, 13, rt::BoxMode::Outline);
  g.con.COLOR(7);
  printAt(g, 29, 10, "モンスターと遭遇した"_sj);
  g.con.COLOR(6);
  if (g.Setting(MonsterPictures) == 0 || g.SysWord(PictureGroups) == 0) TMWAIT(g);
}

void clearBattleTables(Game& g) {
  g.WorkLong(ExpPool) = 0;
  for (int group = 0; group < kGroupPlaces; ++group) {
    g.GroupMonster(group) = 0;
    g.GroupCount(group) = 0;
    for (int place = 0; place < kMonsterPlaces; ++place) {
      g.MonsterAgility(group, place) = 0;
      for (int f = 0; f < BattleMonsterFields; ++f) g.BattleMonsters(group, place, f) = 0;
    }
  }
  for (int side = 0; side <= kGroupPlaces; ++side) {
    for (int i = 0; i < kMonsterPlaces; ++i) g.Initiative(side, i) = 0;
  }
  const bool known = g.GameState(IdentifyEffect) > 0 || g.Setting(MonstersKnown) == 1;
  for (int group = 0; group < kGroupPlaces; ++group) g.GroupUnknown(group) = known ? 0 : 1;
  for (int p = 0; p < 8; ++p) {
    g.BattleOrder(p) = g.GameState(FirstMember + p);
    for (int f = LevelsLost; f <= HitBonus; ++f) g.BattleParty(p, f) = 0;
  }
}

int squareMonster(const Game& g) {
  const double square = g.GameState(Square);
  const int x = rt::toInt32(rt::INT(square / 100));
  const int y = rt::MOD(square, 100);
  return rt::toInt32(rt::INT(g.FloorMap(x, y, SquareLayer) / 100));
}

// The encounter column fitted to the party's strength against the floor.
void fitColumnToParty(Game& g) {
  const int floor = currentFloor(g);
  int& column = g.Battle.EncounterColumn;
  if (g.Battle.TopLevel < floor + 4) column = 2;
  if (g.Battle.TopLevel < floor + 2) column = 1;
  if (g.Battle.TopLevel > floor + 5) column = 3;
}

void rollGroupSize(Game& g, int group) {
  rollGroupIdentification(g, group);
  const int m = groupMonsterOf(g, group);
  const double base = digit(g.MonsterTable(m, MonsterGroupBase), 2);
  const double dice = digit(g.MonsterTable(m, MonsterGroupDice), 2);
  const double sides = digit(g.MonsterTable(m, MonsterGroupSides), 2);
  const double count = base + diceRoll(g, dice, sides);
  g.GroupCount(group) = static_cast<float>(std::min<double>(count, kGroupSizeHeldAt));
}

void chooseFirstGroup(Game& g) {
  g.SysWord(BattleKind) = static_cast<float>(g.Battle.EncounterKind);
  g.Battle.EncounterColumn = g.Battle.EncounterKind;
  bool fixed = false;
  if (g.Battle.EncounterKind > 3) {
    g.Battle.EncounterColumn = 3;
    fixed = g.SysWord(BattleChain) == 0;
  }
  if (fixed) {
    g.GroupMonster(LeadGroup) = static_cast<float>(squareMonster(g));
  } else {
    fitColumnToParty(g);
    const double low = encounterBound(g, 0);
    const double high = encounterBound(g, 1);
    g.GroupMonster(LeadGroup) = static_cast<float>(low + rt::INT(randomDraw(g) * (high - low + 1)));
  }
  rollGroupSize(g, 0);
  if (g.Battle.TopLevel < currentFloor(g) + 1 && g.GroupCount(LeadGroup) > 2 &&
      g.SysWord(BattleKind) < kSquareMonster) {
    g.GroupCount(LeadGroup) = static_cast<float>(rt::INT((g.GroupCount(LeadGroup) + 1) / 2));
  }
}

void drawBattleFrame(Game& g) {
  rt::GraphicsPlane& plane = g.con.graphics();
  plane.LINE(200, 135, 440, 242, 0, rt::BoxMode::Outline);
  blankColumns(g, 29, 10, 20);
  plane.LINE(140, 14, 500, 93, 15, rt::BoxMode::Outline);
  plane.LINE(62, 286, 639, g.Setting(PartySize) * 18 + 287, 15, rt::BoxMode::Outline);
  const double rankLine = g.Setting(FrontRank) * 18 + 287;
  plane.LINE(62, rankLine, 639, rankLine, 15);
  const int reach = rt::MOD(g.Setting(WeaponReach), 100);
  if (g.Setting(WeaponRange) == 1 && reach < 4) {
    plane.LINE(140, reach * 18 + 18, 500, reach * 18 + 18, 15);
  }
  if (g.SysWord(DisplayMode) == kPictureFirstMode) {
    g.SysWord(DisplayMode) = kPictureFirstInBattle;
    CCHEC2(g);
  }
}

void setUpGroup(Game& g, int group) {
  showGroupPicture(g, group);
  g.con.COLOR(7);
  printAt(g, 20, group + 1, static_cast<float>(group + 1));
  g.con.COLOR(6);
  printAt(g, 24, group + 1, shownGroupName(g, group));
  printAt(g, 44, group + 1, g.GroupCount(group));
  for (int place = 0; place < g.GroupCount(group); ++place) buildMonster(g, group, place);
}

// --- surprise ---------------------------------------------------------------------

bool monstersOverlookInvisible(const Game& g) {
  if (g.SysWord(BattleKind) >= 3 || g.GameState(InvisibilityEffect) <= 0) return false;
  const int m = groupMonsterOf(g, 0);
  const int type = monsterTypeOf(g, m);
  constexpr int kBlindTypes[] = {0, 3, 4, 7, 8, 11, 12, 13};
  return monsterLevelOf(g, m) * 3 < g.Battle.TopLevel ||
         std::find(std::begin(kBlindTypes), std::end(kBlindTypes), type) != std::end(kBlindTypes);
}

bool partyHasWardAgainst(const Game& g, int type) {
  for (int p = 1; p <= partySize(g); ++p) {
    const int c = memberSlot(g, p);
    if (!hasSoundStatus(g.CharRec(c, Status))) continue;
    for (int slot = 1; slot <= itemSlotCount(g); ++slot) {
      const float value = itemSlot(g, c, slot);
      if (value == 0) continue;
      const int item = itemNumber(value);
      if (!itemSuitsAlignment(g, c, item)) continue;
      if (itemMarksType(g, item, type)) return true;
    }
  }
  return false;
}

void decideSurprise(Game& g) {
  g.Battle.Surprise = 0;
  bool overlooked = monstersOverlookInvisible(g);
  if (!overlooked) {
    if (randomDraw(g) * 100 > 10) return;
    const double luck = 300 + g.Battle.TopLuck * 3 - g.SysWord(StatScale) * 2;
    overlooked = !(randomDraw(g) * 600 > luck);
  }
  const std::string& name = shownGroupName(g, 0);
  if (overlooked) {
    sayAt(g, 24, 10, {name, " はまだ気づかない"_sj});
    g.Battle.Surprise = 1;
    return;
  }
  if (partyHasWardAgainst(g, monsterTypeOf(g, groupMonsterOf(g, 0)))) return;
  sayAt(g, 24, 10, {name, " に不意討ちされた"_sj});
  g.Battle.Surprise = 2;
}

// --- negotiation -------------------------------------------------------------------

bool alignmentsUsed(const Game& g) {
  return g.Setting(AlignmentsUsed) != 0;
}

double negotiationValue(const Game& g) {
  if (!alignmentsUsed(g)) return 26;
  double value = 26;
  for (int p = 1; p <= partySize(g); ++p) value -= alignmentOf(g, memberSlot(g, p)) - 2;
  return value;
}

// Each member of alignment `from` turns to `to` with chance 3 in 20.
void swayAlignments(Game& g, int from, int to) {
  if (!alignmentsUsed(g)) return;
  for (int p = 1; p <= partySize(g); ++p) {
    const int c = memberSlot(g, p);
    if (alignmentOf(g, c) != from) continue;
    if (randomDraw(g) * 20 < 3) {
      g.CharRec(c, Identity) = static_cast<float>(withDigit(g.CharRec(c, Identity), 2, to));
    }
  }
}

int askFightOrTalk(Game& g) {
  for (;;) {
    const std::optional<int> key = digitKey(g.con.waitKey(), 2);
    if (key && *key >= 1) return *key;
  }
}

// True when the monsters agreed to let the party go.
bool negotiate(Game& g) {
  if (rt::INT(g.MonsterTable(groupMonsterOf(g, 0), MonsterNegotiation) / 10000) == 1) return false;
  if (randomDraw(g) * 200 > negotiationValue(g) - currentFloor(g)) return false;
  printItemsAt(g, 24, 8, {shownGroupName(g, 0), " は交渉を求めています"_sj});
  printAt(g, 24, 10, "どうしますか ?       Hit 1 - 2 Key"_sj);
  printAt(g, 29, 12, "１　戦う"_sj);
  printAt(g, 29, 13, "２　交渉する"_sj);
  if (askFightOrTalk(g) == 1) {
    swayAlignments(g, kGood, kEvil);
    return false;
  }
  for (int row = 8; row <= 13; ++row) blankColumns(g, 14, row, 50);
  swayAlignments(g, kEvil, kGood);
  if (g.Setting(NegotiationChance) > randomDraw(g) * 100) {
    sayAt(g, 24, 10, {"交渉がうまくいった"_sj});
    return true;
  }
  sayAt(g, 24, 10, {"交渉は決裂した"_sj});
  blankColumns(g, 24, 10, 30);
  return false;
}

// --- the other groups -----------------------------------------------------------------

void endGroupsFrom(Game& g, int group) {
  for (int later = group; later < kGroupPlaces; ++later) g.GroupMonster(later) = -1;
}

void addCompanionGroups(Game& g) {
  const double high = highestOfColumn(g);
  for (int group = 1; group < kGroupPlaces; ++group) {
    const int previous = groupMonsterOf(g, group - 1);
    const double companion = rt::INT(g.MonsterTable(previous, MonsterCompanion) / 100);
    if (g.SysWord(BattleKind) < kSquareMonster &&
        (g.Battle.TopLevel < 4 + group || companion > high)) {
      endGroupsFrom(g, group);
      break;
    }
    const double chance = rt::INT(g.MonsterTable(previous, MonsterCompanionChance) / 100);
    const bool comes = chance > randomDraw(g) * 100;
    if (!comes || g.FloorEncounter(currentFloor(g) - 1, EncounterGroups) <= group) {
      endGroupsFrom(g, group);
      break;
    }
    g.GroupMonster(group) = static_cast<float>(companion);
    rollGroupSize(g, group);
    setUpGroup(g, group);
  }
  for (int group = 0; group < kGroupPlaces; ++group) {
    g.GroupKills(group) = g.GroupMonster(group) > 0 ? g.GroupMonster(group) * 100 : 0;
  }
  CCHEC3(g);
}

}  // namespace

OpeningResult openBattle(Game& g) {
  if (g.SysWord(BattleChain) == 1) {
    g.Battle.EncounterKind = kRaisedByEvent;
  } else {
    g.con.CLS();
    g.SysWord(PanelRow) = 15;
    HYOJI(g);
    g.Battle.EncounterKind = rt::toInt32(g.SysWord(EncounterSource));
  }
  g.Battle.RunChosen = false;
  announceEncounter(g);
  clearBattleTables(g);
  takePartyBest(g);
  chooseFirstGroup(g);
  drawBattleFrame(g);
  setUpGroup(g, 0);
  decideSurprise(g);
  if (g.Battle.Surprise != 1 && negotiate(g)) return OpeningResult::Negotiated;
  addCompanionGroups(g);
  if (g.Battle.Surprise == 1) return OpeningResult::MonstersSurprised;
  if (g.Battle.Surprise == 2) return OpeningResult::PartySurprised;
  return OpeningResult::Fight;
}

}  // namespace kestrun::game
