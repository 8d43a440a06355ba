#include "game/party/item_actions.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "game/character/battle_values.h"
#include "game/character/carried_items.h"
#include "game/character/message_timing.h"
#include "game/character/screen_lines.h"
#include "game/character/sheet.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"
#include "runtime/strings.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kWaitForKey = 10000;
// The order in which the kinds of equipment are offered.
constexpr int kEquipOrder[] = {0, 1, 2, 3, 4, ShoesKind, 5};

// After a curse strikes the message stays a second longer, unless the
// player reads at his own pace.
void lingerAfterCurse(Game& g) {
  TMWAIT(g);
  if (g.SysWord(MessageTime) != kWaitForKey) g.con.WAIT(100);
}

void setEquipDigit(Game& g, int actor, int slot, int equip) {
  float& value = itemSlot(g, actor, slot);
  value = rt::toSingle(withDigit(value, 3, equip));
}

std::vector<int> slotsOfType(const Game& g, int actor, int type) {
  std::vector<int> slots;
  for (int slot = 1; slot <= itemSlotCount(g); ++slot) {
    const int item = itemNumber(itemSlot(g, actor, slot));
    if (item != 0 && itemKind(g, item) == type) slots.push_back(slot);
  }
  return slots;
}

// Takes off every usable item of the type and lists it; returns their slots.
std::vector<int> takeOffUsable(Game& g, int actor, const std::vector<int>& slots) {
  std::vector<int> listed;
  for (int slot : slots) {
    const float value = itemSlot(g, actor, slot);
    if (!canUseItem(g, actor, itemNumber(value))) continue;
    setEquipDigit(g, actor, slot, 0);
    listed.push_back(slot);
    g.con.LOCATE(19, 11 + static_cast<int>(listed.size()));
    g.con.PRINT(static_cast<int16_t>(listed.size()));
    g.con.PRINT("  ");
    g.con.PRINT(itemLabel(g, value));
  }
  IHYJ(g);
  return listed;
}

// One kind of equipment: nothing changes while a cursed item of it is worn.
void equipKind(Game& g, int actor, int type) {
  blankLines(g, 10, 23);
  const std::vector<int> slots = slotsOfType(g, actor, type);
  for (int slot : slots) {
    const float value = itemSlot(g, actor, slot);
    if (!isCursedOn(value)) continue;
    g.con.COLOR(3);
    printAt(g, 19, 21, "アイテム ("_sj + itemLabel(g, value) + ") は呪われている !"_sj);
    lingerAfterCurse(g);
    g.con.COLOR(6);
    return;
  }
  const std::vector<int> listed = takeOffUsable(g, actor, slots);
  if (listed.empty()) return;
  printAt(g, 19, 21, itemKindName(g, type) + " はどれを使用しますか ?"_sj);
  printAt(g, 29, 23, "Hit 0 -");
  g.con.PRINT(static_cast<int16_t>(listed.size()));
  g.con.PRINT("Key    (何も使用しない時は 0)"_sj);
  std::optional<int> choice;
  while (!(choice = digitKey(g.con.waitKey(), static_cast<int>(listed.size())))) {
  }
  if (*choice == 0) return;
  setEquipDigit(g, actor, listed[*choice - 1], 1);
  IHYJ(g);
}

// The worn load is above what the actor's Strength carries. A load of
// cursed items alone cannot be changed, so it never counts as too heavy.
bool isOverloaded(const Game& g, int actor) {
  if (g.Setting(ItemWeight) == 0 || g.Setting(WeightOption) == 2) return false;
  double weight = 0;
  bool changeable = false;
  for (int slot = 1; slot <= itemSlotCount(g); ++slot) {
    const float value = itemSlot(g, actor, slot);
    if (itemNumber(value) == 0 || !isWorn(value)) continue;
    weight += rt::MOD(g.ItemTable(itemNumber(value), ItemWeightAndBreak), 100);
    changeable = changeable || !isCursedOn(value);
  }
  return changeable && weight > statOf(g, actor, 0) * rt::MOD(g.Setting(CarryFactor), 100);
}

bool confirmDiscard(Game& g, int actor, int slot) {
  g.con.COLOR(3);
  printAt(g, 28, 9 + slot, itemLabel(g, itemSlot(g, actor, slot)));
  g.con.COLOR(6);
  printAt(g, 27, 23, "  Input Y - N            ");
  for (;;) {
    const std::string answer = askLine(g, 23, 22, "本当に捨ててもいいですか ?  "_sj);
    if (answer == "Y" || answer == "y") return true;
    if (answer == "N" || answer == "n") return false;
  }
}

// 50 and the level, moved by how far Knowledge lies from the middle of the
// stat scale.
double identifyChance(const Game& g, int actor) {
  const double scale = g.SysWord(StatScale);
  const double knowledge = statOf(g, actor, 2);
  return 50 + 2 * rt::INT(rt::divide((knowledge * 2 - scale) * 10, scale)) + levelOf(g, actor);
}

// The item is put on, cursed; the first item of its type in slot order is
// taken off to make room (a later one worn stays on).
void curse(Game& g, int actor, int slot) {
  printAt(g, 29, 22, "アイテムの呪いにかかった"_sj);
  lingerAfterCurse(g);
  const int item = itemNumber(itemSlot(g, actor, slot));
  setEquipDigit(g, actor, slotsOfType(g, actor, itemKind(g, item)).front(), 0);
  itemSlot(g, actor, slot) = static_cast<float>(12000 + item);
}

void failIdentification(Game& g) {
  printAt(g, 29, 22, "鑑別の試みは失敗した"_sj);
  TMWAIT(g);
}

}  // namespace

// The item list with the range of answers below it.
void showItemChoice(Game& g, int actor, std::string_view rangeLabel) {
  showItemList(g, actor);
  printAt(g, 27, 23, std::string(rangeLabel));
  g.con.PRINT(static_cast<int16_t>(carriedItemCount(g, actor)));
  g.con.PRINT("    0 で戻る"_sj);
}

// A slot holding an item, or 0 when the player goes back.
int askItemSlot(Game& g, int actor, int column, std::string_view prompt) {
  const int count = carriedItemCount(g, actor);
  for (;;) {
    const double answer = askNumber(g, column, 22, prompt);
    if (answer >= 0 && answer <= count) return rt::toInt32(rt::INT(answer));
  }
}

void refuse(Game& g, int column, int row, const std::string& text) {
  g.con.COLOR(3);
  printAt(g, column, row, text);
  TMWAIT(g);
  g.con.COLOR(6);
}

void showItemList(Game& g, int actor) {
  rt::Console& con = g.con;
  for (int slot = 1; slot <= itemSlotCount(g); ++slot) {
    const float value = itemSlot(g, actor, slot);
    if (itemNumber(value) == 0) continue;
    con.COLOR(7);
    con.LOCATE(24, 9 + slot);
    con.PRINT_USING("##@", {static_cast<int16_t>(slot), std::string("  ")});
    con.COLOR(6);
    con.PRINT(itemLabel(g, value));
    if (isWorn(value)) printAt(g, 27, 9 + slot, "*");
  }
}

void equipItems(Game& g, int actor) {
  for (;;) {
    for (int type : kEquipOrder) equipKind(g, actor, type);
    CCHEC3(g);
    if (!isOverloaded(g, actor)) return;
    blankLines(g, 10, 23);
    printAt(g, 29, 12, "装備が重すぎます"_sj);
    TMWAIT(g);
  }
}

void discardItem(Game& g, int actor) {
  showItemChoice(g, actor, "1  - ");
  for (;;) {
    const int slot = askItemSlot(g, actor, 23, "どのアイテムを捨てますか ?  "_sj);
    if (slot == 0) return;
    if (isWorn(itemSlot(g, actor, slot))) {
      refuse(g, 21, 22, "装備しているアイテムは捨てられません"_sj);
      continue;
    }
    if (g.SysWord(DiscardWithoutAsking) != 1 && !confirmDiscard(g, actor, slot)) return;
    removeItem(g, actor, slot);
    return;
  }
}

void identifyItem(Game& g, int actor) {
  if (carriedItemCount(g, actor) == 0) return;
  showItemChoice(g, actor, "1  - ");
  int slot = 0;
  do {
    slot = askItemSlot(g, actor, 23, "どのアイテムを鑑別しますか ?  "_sj);
    if (slot == 0) return;
  } while (isIdentified(itemSlot(g, actor, slot)));
  blankLines(g, 22, 23);
  const double draw = g.con.random().RND(1) * 100.0;
  const double chance = identifyChance(g, actor);
  float& value = itemSlot(g, actor, slot);
  // A draw above 95 never succeeds, however good the chance.
  if (draw <= 95) {
    if (draw < chance) {
      value = static_cast<float>(10000 + rt::MOD(value, 10000));
      return;
    }
    if (draw < chance + 20) {
      failIdentification(g);
      return;
    }
  }
  const int item = itemNumber(value);
  if (!isCursedItem(g, item) || itemKind(g, item) == UsedWithoutEquippingKind) {
    failIdentification(g);
    return;
  }
  curse(g, actor, slot);
}

}  // namespace kestrun::game
