#include "game/character/carried_items.h"

#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

bool isFree(float slotValue) {
  return itemNumber(slotValue) == 0;
}

bool alignmentMayUse(const Game& g, int c, int item) {
  if (g.Setting(AlignmentsUsed) != 1 || isCursedItem(g, item)) return true;
  const int code = digit(g.ItemTable(item, ItemKindAndArmour), 1);
  return !alignmentCodeRefuses(code, alignmentOf(g, c));
}

}  // namespace

bool classMayUse(const Game& g, int c, int item) {
  const int characterClass = classOf(g, c);
  const float field = g.ItemTable(item, FirstClassBar + characterClass / 5);
  return digit(field, 4 - characterClass % 5) == 0;
}

int itemSlotCount(const Game& g) {
  return rt::toInt32(g.Setting(ItemSlots));
}

float& itemSlot(Game& g, int c, int slot) {
  return g.CharRec(c, FirstItemSlot + slot - 1);
}

float itemSlot(const Game& g, int c, int slot) {
  return g.CharRec(c, FirstItemSlot + slot - 1);
}

int carriedItemCount(const Game& g, int c) {
  int count = 0;
  for (int slot = 1; slot <= itemSlotCount(g); ++slot) {
    if (!isFree(itemSlot(g, c, slot))) ++count;
  }
  return count;
}

bool hasRoomForItem(const Game& g, int c) {
  const int slots = itemSlotCount(g);
  return slots > 0 && isFree(itemSlot(g, c, slots));
}

bool addItem(Game& g, int c, float slotValue) {
  for (int slot = 1; slot <= itemSlotCount(g); ++slot) {
    if (isFree(itemSlot(g, c, slot))) {
      itemSlot(g, c, slot) = slotValue;
      return true;
    }
  }
  return false;
}

void removeItem(Game& g, int c, int slot) {
  const int slots = itemSlotCount(g);
  for (int s = slot; s < slots; ++s) itemSlot(g, c, s) = itemSlot(g, c, s + 1);
  itemSlot(g, c, slots) = 0;
}

bool identificationUsed(const Game& g) {
  return g.Setting(NoIdentification) != 1;
}

std::string itemKindName(const Game& g, int kind) {
  return kind == ShoesKind ? "靴"_sj : g.ScenarioText(kind + 6);
}

std::string itemLabel(const Game& g, float slotValue) {
  const int item = itemNumber(slotValue);
  if (isIdentified(slotValue) || !identificationUsed(g)) return g.ItemName(item, 0);
  return g.ItemName(item, 1) + "?";
}

bool alignmentCodeRefuses(int code, int alignment) {
  switch (alignment) {
    case 1:
      return code == 2 || code == 3 || code == 5;
    case 2:
      return code == 1 || code == 3 || code == 6;
    case 3:
      return code == 1 || code == 2 || code == 4;
    default:
      return false;
  }
}

bool canUseItem(const Game& g, int c, int item) {
  return classMayUse(g, c, item) && alignmentMayUse(g, c, item);
}

}  // namespace kestrun::game
