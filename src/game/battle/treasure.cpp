#include "game/battle/battle_common.h"
#include "game/battle/chest_parts.h"
#include "game/battle/treasure_rules.h"
#include "game/character/carried_items.h"
#include "game/character/money.h"
#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/dungeon/position.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"

// What the chest holds and the gold of the battle.
namespace kestrun::game {

using namespace rt::literals;
using namespace treasure_rules;

namespace {

constexpr int kGuardian = 4;
constexpr int kFlaggedSquare = 23;
constexpr int kSingleItemSquares = 28;
constexpr int kItemsOfAChest = 3;

// The first member, in marching order, with a free slot and able to act
// when `ableOnly`; 0 when nobody has room.
int memberWithRoom(const Game& g, bool ableOnly) {
  for (int p = 1; p <= partySize(g); ++p) {
    const int c = memberSlot(g, p);
    if (ableOnly && !isAbleToAct(g, c)) continue;
    if (hasRoomForItem(g, c)) return p;
  }
  return 0;
}

// Item i goes to the member found for it; false when nobody has room.
bool giveItem(Game& g, int item, bool ableOnly) {
  const int p = memberWithRoom(g, ableOnly);
  if (p == 0) return false;
  const int c = memberSlot(g, p);
  const bool known = g.Setting(NoIdentification) == 1;
  blankColumns(g, 19, 9, 50);
  blankColumns(g, 19, 11, 50);
  printAt(g, 28, 9, g.CharName(c) + "は"_sj);
  sayAt(g, 26, 11, {g.ItemName(item, known ? 0 : 1) + " を手にいれた"_sj});
  blankColumns(g, 19, 9, 50);
  blankColumns(g, 19, 11, 50);
  addItem(g, c, static_cast<float>(known ? item + kIdentifiedMark : item));
  return true;
}

// The items the square's own monster guarded, kept in the square's layers.
void handOutGuardedItems(Game& g) {
  const Place at = partySquare(g);
  const int code = squareCode(g);
  for (int layer : {WestBoundary, SouthBoundary, ExtraLayer}) {
    const int item = rt::toInt32(rt::INT(g.FloorMap(at.x, at.y, layer) / 100));
    if (item != 0) {
      if (!giveItem(g, item, false)) return;
      if (code == kFlaggedSquare) {
        float& flags = g.CharRec(partyFloor(g) - 1, FloorFlags);
        flags = static_cast<float>(withDigit(flags, 4, 1));
      }
    }
    if (code > kSingleItemSquares) return;
  }
}

// The chance in percent of the n-th item (0..2) of treasure class k.
double itemChance(const Game& g, int k, int n) {
  if (n == 0) return rt::INT(g.TreasureTable(k, TreasureItems) / 100);
  return rt::INT(g.TrapTable(k - kFirstChestClass, n == 1 ? TrapExists : TrapDifficulty) / 10);
}

int itemRarity(const Game& g, int item) {
  return digit(g.ItemTable(item, FirstSlayingField), 3);
}

// An item of the class's range; the rarer ones are often drawn again, the
// more so on shallow floors and after weak monsters.
int drawItem(Game& g, int k, int monster) {
  const double first = rt::INT(g.TreasureTable(k, TreasureFirstItem) / 100);
  const double range = rt::MOD(g.TreasureTable(k, TreasureItems), 100);
  for (;;) {
    const int item = rt::toInt32(first + rt::INT(randomDraw(g) * range));
    const int rarity = itemRarity(g, item);
    if (rarity == 0) return item;
    const double draw90 = randomDraw(g);
    const double draw200 = randomDraw(g);
    if (!rarityRedraws(g, rarity, partyFloor(g), monster, draw90, draw200)) return item;
  }
}

void handOutFoundItems(Game& g, int monster) {
  const int k = treasureClass(g, monster, MonsterTreasure);
  if (k < kFirstChestClass) return;
  for (int n = 0; n < kItemsOfAChest; ++n) {
    if (!(itemChance(g, k, n) >= randomDraw(g) * 100)) return;
    if (!giveItem(g, drawItem(g, k, monster), true)) return;
  }
}

}  // namespace

void handOutItems(Game& g, const Chest& chest) {
  blankArea(g, 9, 6, 15, 60);
  if (chest.kind == kGuardian) {
    handOutGuardedItems(g);
  } else {
    handOutFoundItems(g, chest.monster);
  }
}

void handOutGold(Game& g, const Chest& chest) {
  const bool chestClass = chest.kind == 3 && g.SysWord(DoorKeyUsed) == 1;
  const int k = treasureClass(g, chest.monster, chestClass ? MonsterTreasure : MonsterGold);
  rt::Random& random = g.con.random();
  const double share = goldShare(rollGold(g, random, k), chest.members, random);
  blankArea(g, 4, 0, 15, 70);
  printAt(g, 28, 9, "パーティーのメンバーは"_sj);
  sayAt(g, 26, 11, {"それぞれ "_sj, static_cast<float>(share), " の金を手にいれた"_sj});
  for (int p = 1; p <= partySize(g); ++p) addGold(g, memberSlot(g, p), share);
}

}  // namespace kestrun::game
