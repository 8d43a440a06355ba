#include "game/town/temple.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "game/character/carried_items.h"
#include "game/character/message_timing.h"
#include "game/character/money.h"
#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/character/status_panel.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "game/town/facility_screen.h"
#include "runtime/sjis.h"
#include "runtime/values.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kTemple = 4;
constexpr int kHealed = 5;
constexpr int kFailed = 3;
// Below this a patient is healed, not revived, and always with success.
constexpr float kRevivalFrom = 12000;

bool isPoisoned(float code) {
  return digit(code, 3) == 1;
}
bool isParalysed(float code) {
  return digit(code, 2) == 1;
}

// Everyone in town the temple can help: neither sound nor lost.
std::vector<int> patients(const Game& g) {
  std::vector<int> found;
  for (int c = 0; c < kRosterSlots; ++c) {
    const float code = g.CharRec(c, Status);
    if (code == 0 || code == status::Normal || code > status::Spirit) continue;
    if (isInTown(g, c)) found.push_back(c);
  }
  return found;
}

// The StatusName index shown for a patient, 0 for none.
int ailmentWord(float code) {
  if (code == status::Spirit) return 7;
  if (code >= status::Dead) return 6;
  if (code >= status::Petrified) return 5;
  if (isPoisoned(code)) return 4;
  if (isParalysed(code)) return 3;
  return 0;
}

void showPatient(Game& g, int c, int row) {
  g.con.COLOR(7);
  g.con.LOCATE(9, row);
  g.con.PRINT(static_cast<int16_t>(row));
  g.con.COLOR(6);
  printAt(g, 19, row, g.CharName(c));
  printAt(g, 45, row, "Level ");
  g.con.PRINT(static_cast<int16_t>(levelOf(g, c)));
  if (const int word = ailmentWord(g.CharRec(c, Status)); word != 0) {
    printAt(g, 59, row, g.StatusName(word));
  }
}

void drawMenu(Game& g) {
  g.con.CLS();
  g.con.COLOR(6);
  showFacilityTitle(g, kTemple, 4);
  printAt(g, 29, 9, "目的はどちらですか ?"_sj);
  printAt(g, 33, 12, "１　蘇生･回復"_sj);
  printAt(g, 33, 14, "２　解呪"_sj);
  printAt(g, 33, 16, "０　外に出る"_sj);
  printAt(g, 31, 19, "Hit 0 - 2 Key");
}

// A whole number from 0 to `highest` typed on a line at (column, row).
int askChoice(Game& g, int column, int row, const std::string& prompt, int highest) {
  for (;;) {
    const double answer = askNumber(g, column, row, prompt);
    if (answer >= 0 && answer <= highest) return rt::toInt32(rt::INT(answer));
  }
}

void showMembersGold(Game& g) {
  for (int p = 1; p <= partySize(g); ++p) {
    blankColumns(g, 49, 15 + p, 30);
    printAt(g, 53, 15 + p, g.CharLong(memberSlot(g, p), Gold));
  }
}

void showFee(Game& g, int c, float fee) {
  g.con.CLS();
  g.SysWord(PanelRow) = 15;
  HYOJI(g);
  showMembersGold(g);
  printAt(g, 23, 8, g.CharName(c));
  printAt(g, 19, 10, g.CharRec(c, Status) < kRevivalFrom ? "回復"_sj : "蘇生"_sj);
  printAt(g, 23, 10, "のための祈祷料は "_sj);
  g.con.PRINT(fee);
  g.con.PRINT(" です"_sj);
  printAt(g, 2, 12, "だれが料金を支払いますか ?"_sj);
  printAt(g, 31, 14, "Hit 0 -");
  g.con.PRINT(static_cast<int16_t>(partySize(g)));
  g.con.PRINT("Key");
}

// The member who pays the fee, or nothing when the player goes back.
std::optional<int> askPayer(Game& g, float fee) {
  for (;;) {
    g.KeyAnswer = g.con.waitKey();
    const std::optional<int> position = digitKey(g.KeyAnswer, partySize(g));
    if (!position) continue;
    if (*position == 0) return std::nullopt;
    const int payer = memberSlot(g, *position);
    if (g.CharLong(payer, Gold) >= fee) return payer;
  }
}

// Heals or tries to revive the patient; true when he is sound again.
bool treat(Game& g, int c) {
  float& code = g.CharRec(c, Status);
  if (code < kRevivalFrom) {
    code = status::Normal;
    return true;
  }
  if (revivalChance(g, c) > g.con.random().RND(1) * 100) {
    code = status::Normal;
    g.CharRec(c, HitPoints) = g.CharRec(c, MaxHitPoints);
    return true;
  }
  code = code == status::Dead ? status::Spirit : status::Lost;
  return false;
}

void healSomeone(Game& g) {
  g.con.CLS();
  const std::vector<int> found = patients(g);
  for (size_t n = 0; n < found.size(); ++n) showPatient(g, found[n], static_cast<int>(n) + 1);
  if (found.empty()) return;
  const int count = static_cast<int>(found.size());
  printAt(g, 31, 22, "Input  0  - ");
  g.con.PRINT(static_cast<int16_t>(count));
  const int chosen = askChoice(g, 19, 20, "だれを助けますか ?  "_sj, count);
  if (chosen == 0) return;
  const int c = found[chosen - 1];
  const float fee = healingFee(g, c);
  showFee(g, c, fee);
  const std::optional<int> payer = askPayer(g, fee);
  if (!payer) return;
  g.CharLong(*payer, Gold) = rt::toInt32(g.CharLong(*payer, Gold) - double{fee});
  // Only the right part of the rows goes: the payer question's start, left
  // of column 19, stays on screen.
  for (int row = 11; row <= 14; ++row) blankColumns(g, 19, row, 80 - 19);
  const bool healed = treat(g, c);
  g.con.COLOR(healed ? kHealed : kFailed);
  printAt(g, 23, 8, g.CharName(c) + (healed ? " は回復した"_sj : " は復活に失敗した !"_sj));
  g.con.COLOR(6);
  TMWAIT(g);
}

// Takes the chosen items of member c away for their fee, until the player
// goes back or nothing is left.
void uncurseItems(Game& g, int c) {
  for (;;) {
    g.SysWord(ItemListMode) = static_cast<float>(kUncursing);
    HYOJI2(g);
    const int count = rt::toInt32(g.SysWord(ListedItems));
    if (count == 0) return;
    g.con.COLOR(7);
    printAt(g, 49, 2, "祈祷料"_sj);
    printAt(g, 29, 17, "所持金    "_sj);
    g.con.PRINT(g.CharLong(c, Gold));
    printAt(g, 31, 21, "0 -");
    g.con.PRINT(static_cast<int16_t>(count));
    const int slot = askChoice(g, 23, 19, "どのアイテムを解呪しますか ?  "_sj, count);
    if (slot == 0) return;
    const int item = itemNumber(itemSlot(g, c, slot));
    const float fee = chargedAmount(itemPrice(g, item), pricePercent(g, c, kUncursing));
    if (fee > g.CharLong(c, Gold)) continue;
    removeItem(g, c, slot);
    g.CharLong(c, Gold) = rt::toInt32(g.CharLong(c, Gold) - double{fee});
  }
}

void removeCurses(Game& g) {
  for (;;) {
    g.con.CLS();
    showNumberedParty(g, 13);
    const int position = partySize(g) == 1 ? 1 : askWhoComesIn(g, false);
    if (position == 0) return;
    const int c = memberSlot(g, position);
    g.SysWord(ActingSlot) = static_cast<float>(c);
    uncurseItems(g, c);
    if (partySize(g) == 1) return;
  }
}

}  // namespace

float healingFee(const Game& g, int c) {
  const float code = g.CharRec(c, Status);
  const double level = levelOf(g, c);
  if (code == status::Spirit) return rt::toSingle(g.Setting(SpiritCharge) * level);
  if (code >= status::Dead) return rt::toSingle(g.Setting(DeadCharge) * level);
  double fee = 0;
  if (code >= status::Petrified) fee += g.Setting(PetrifiedCharge) * level;
  if (isPoisoned(code)) fee += g.Setting(PoisonCharge) * level;
  if (isParalysed(code)) fee += g.Setting(ParalysisCharge) * level;
  return rt::toSingle(fee);
}

double revivalChance(const Game& g, int c) {
  const double scale = g.SysWord(StatScale);
  return rt::INT(rt::divide((statOf(g, c, Health) * 2 - scale) * 20, scale)) + 70;
}

void Temple(Game& g) {
  for (;;) {
    drawMenu(g);
    std::optional<int> key;
    do {
      g.KeyAnswer = g.con.waitKey();
    } while (!(key = digitKey(g.KeyAnswer, 2)));
    if (*key == 0) return;
    if (*key == 1) healSomeone(g);
    if (*key == 2) removeCurses(g);
  }
}

}  // namespace kestrun::game
