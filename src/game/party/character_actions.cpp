#include "game/party/character_actions.h"

#include <array>
#include <cctype>
#include <optional>
#include <string>
#include <string_view>

#include "game/character/carried_items.h"
#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/character/sheet.h"
#include "game/character/status_panel.h"
#include "game/party/item_actions.h"
#include "game/party/spell_actions.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"
#include "runtime/strings.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

enum Action {
  kBack = 0,
  kCast = 1,
  kGiveGold = 2,
  kGiveItem = 3,
  kEquip = 4,
  kUse = 5,
  kSpecialPower = 6,
  kDiscard = 7,
  kIdentify = 8
};

struct MenuEntry {
  Action action;
  int column;
  int row;
  const char* text;
};

// Use and special power share one line and one availability.
constexpr std::array<MenuEntry, 7> kMenu{{
    {kCast, 2, 21, "1 呪文を唱える (S)"},
    {kGiveGold, 25, 21, "2 金を渡す (G)"},
    {kGiveItem, 46, 21, "3 アイテムを渡す (T)"},
    {kEquip, 2, 22, "4 アイテムの装備 (E)"},
    {kUse, 25, 22, "5 アイテムを使う (U) 6 アイテムの特殊能力を使う (W)"},
    {kDiscard, 2, 23, "7 アイテムを捨てる (D)"},
    {kIdentify, 25, 23, "8 アイテムの鑑別 (I)"},
}};

bool canCastSpells(const Game& g, int c) {
  const float skills = g.ClassTable(classOf(g, c), ClassSkills);
  return digit(skills, 3) != 0 || digit(skills, 2) != 0;
}

bool isPossible(const Game& g, int actor, Action action) {
  const bool sound = hasSoundStatus(g.CharRec(actor, Status));
  const bool items = carriedItemCount(g, actor) > 0;
  const bool company = partySize(g) > 1;
  switch (action) {
    case kCast:
      return sound &&
             (g.CharLong(actor, HolyPointsMax) != 0 || g.CharLong(actor, MagicPointsMax) != 0);
    case kGiveGold:
      return company && g.CharLong(actor, Gold) > 0;
    case kGiveItem:
      return company && items;
    case kEquip:
    case kDiscard:
      return items;
    case kUse:
    case kSpecialPower:
      return sound && items;
    case kIdentify:
      return identificationUsed(g) && sound && canCastSpells(g, actor);
    case kBack:
      return true;
  }
  return false;
}

void drawActionMenu(Game& g, int actor) {
  rt::Console& con = g.con;
  blankLines(g, 21, 23);
  for (const MenuEntry& entry : kMenu) {
    if (entry.action == kIdentify && !identificationUsed(g)) continue;
    con.COLOR(isPossible(g, actor, entry.action) ? 6 : 2);
    printAt(g, entry.column, entry.row, rt::toShiftJis(entry.text));
  }
  con.COLOR(6);
  printAt(g, identificationUsed(g) ? 46 : 25, 23, "0 キャラクター選択に戻る (B)"_sj);
  con.COLOR(4);
  if (identificationUsed(g)) {
    printAt(g, 67, 21, "Hit 0 - 8 Key");
  } else {
    printAt(g, 66, 21, "Hit 0 - 7 Key");
  }
  con.COLOR(6);
}

std::optional<Action> actionOfKey(const std::string& key) {
  if (const std::optional<int> n = digitKey(key, 8)) return static_cast<Action>(*n);
  if (key.size() != 1) return std::nullopt;
  constexpr std::string_view kLetters = "BSGTEUWDI";
  const size_t n =
      kLetters.find(static_cast<char>(std::toupper(static_cast<unsigned char>(key[0]))));
  if (n == std::string_view::npos) return std::nullopt;
  return static_cast<Action>(n);
}

Action readAction(Game& g, int actor) {
  for (;;) {
    g.KeyAnswer = g.con.waitKey();
    const std::optional<Action> action = actionOfKey(g.KeyAnswer);
    if (action && isPossible(g, actor, *action)) return *action;
  }
}

// The members listed for giving, the actor in red.
void showMembers(Game& g, int actor, bool withItemCounts) {
  rt::Console& con = g.con;
  for (int k = 1; k <= partySize(g); ++k) {
    const int c = memberSlot(g, k);
    con.COLOR(c == actor ? 2 : 6);
    con.LOCATE(withItemCounts ? 25 : 27, 10 + k);
    con.PRINT(static_cast<int16_t>(k));
    if (withItemCounts) con.PRINT("  ");
    con.PRINT(g.CharName(c));
    if (!withItemCounts) continue;
    con.LOCATE(49, 10 + k);
    con.PRINT(static_cast<int16_t>(carriedItemCount(g, c)));
    con.PRINT(" / ");
    con.PRINT(g.Setting(ItemSlots));
  }
  con.COLOR(6);
  printAt(g, 27, 23, "1 - ");
  con.PRINT(static_cast<int16_t>(partySize(g)));
  con.PRINT("    0 で戻る"_sj);
}

// The slot of the member who receives, or -1 when the player goes back.
int askReceiver(Game& g, int actor, bool needsRoom) {
  for (;;) {
    const double answer = askNumber(g, 21, 22, "誰に渡しますか ?  "_sj);
    if (answer < 0 || answer > partySize(g)) continue;
    const int k = rt::toInt32(rt::INT(answer));
    if (k == 0) return -1;
    const int receiver = memberSlot(g, k);
    if (receiver == actor) continue;
    if (needsRoom && !hasRoomForItem(g, receiver)) {
      printAt(g, 21, 22, "そのキャラクターはこれ以上持てません"_sj);
      g.con.WAIT(30);
      continue;
    }
    return receiver;
  }
}

void giveGold(Game& g, int actor) {
  showMembers(g, actor, false);
  const int receiver = askReceiver(g, actor, false);
  if (receiver < 0) return;
  blankLines(g, 22, 23);
  const double gold = g.CharLong(actor, Gold);
  const double held = g.CharLong(receiver, Gold);
  for (;;) {
    const double amount = askNumber(g, 21, 22, "いくら渡しますか ?  "_sj);
    if (amount < 0 || amount > gold || held + amount > kExperienceAndGoldCap) continue;
    const int32_t given = rt::toInt32(amount);
    g.CharLong(receiver, Gold) += given;
    g.CharLong(actor, Gold) -= given;
    return;
  }
}

void giveItem(Game& g, int actor) {
  showMembers(g, actor, true);
  const int receiver = askReceiver(g, actor, true);
  if (receiver < 0) return;
  blankLines(g, 10, 23);
  showItemList(g, actor);
  printAt(g, 27, 23, "1 - ");
  g.con.PRINT(static_cast<int16_t>(carriedItemCount(g, actor)));
  g.con.PRINT("    0 で戻る"_sj);
  for (;;) {
    const double answer = askNumber(g, 21, 22, "どれを渡しますか ?  "_sj);
    if (answer < 0 || answer > carriedItemCount(g, actor)) continue;
    const int slot = rt::toInt32(rt::INT(answer));
    if (slot == 0) return;
    const float value = itemSlot(g, actor, slot);
    if (isWorn(value)) {
      g.con.COLOR(3);
      printAt(g, 21, 22, "装備しているアイテムは渡せません"_sj);
      g.con.WAIT(30);
      g.con.COLOR(6);
      continue;
    }
    addItem(g, receiver, value);
    removeItem(g, actor, slot);
    IHYJ(g);
    return;
  }
}

void perform(Game& g, int actor, Action action) {
  switch (action) {
    case kCast:
      castSpell(g, actor);
      break;
    case kUse:
      useItem(g, actor);
      break;
    case kSpecialPower:
      useItemPower(g, actor);
      break;
    case kGiveGold:
      giveGold(g, actor);
      break;
    case kGiveItem:
      giveItem(g, actor);
      break;
    case kEquip:
      equipItems(g, actor);
      break;
    case kDiscard:
      discardItem(g, actor);
      break;
    case kIdentify:
      identifyItem(g, actor);
      break;
    default:
      break;
  }
}

enum class AfterActing { ChooseAgain, Leave };

// Acts for the member on the sheet until the player goes back, or until a
// spell has taken the party away from where it was.
AfterActing actFor(Game& g) {
  const int actor = rt::toInt32(g.SysWord(ActingSlot));
  const bool inDungeon = g.GameState(FloorAndFacing) >= 100;
  for (;;) {
    drawActionMenu(g, actor);
    const Action action = readAction(g, actor);
    if (action == kBack) return AfterActing::ChooseAgain;
    if (partySize(g) > 1) blankLines(g, 10, 23);
    perform(g, actor, action);
    if (partyHasMoved(g, actor, inDungeon)) return AfterActing::Leave;
    g.SysWord(ActingSlot) = static_cast<float>(actor);
    LOOK(g);
  }
}

// False when the player goes back to the caller.
bool chooseMember(Game& g) {
  rt::Console& con = g.con;
  blankLines(g, 21, 23);
  int position = 1;
  if (partySize(g) > 1) {
    con.COLOR(6);
    printAt(g, 20, 23, "Hit 0 -");
    con.PRINT(static_cast<int16_t>(partySize(g)));
    con.PRINT("Key     0 で MENU に戻る"_sj);
    printAt(g, 27, 22, "誰を見ますか ?　"_sj);
    std::optional<int> key;
    while (!(key = digitKey(con.waitKey(), partySize(g)))) {
    }
    position = *key;
  }
  if (position == 0) return false;
  g.SysWord(ActingSlot) = static_cast<float>(memberSlot(g, position));
  LOOK(g);
  return true;
}

}  // namespace

void CHARA(Game& g) {
  g.SysWord(Outcome) = 0;
  for (;;) {
    if (!chooseMember(g)) return;
    if (actFor(g) == AfterActing::Leave) return;
    // The only member would be chosen again at once: going back leaves.
    if (partySize(g) == 1) return;
    g.con.CLS();
    g.SysWord(PanelRow) = 4;
    HYOJI(g);
  }
}

}  // namespace kestrun::game
