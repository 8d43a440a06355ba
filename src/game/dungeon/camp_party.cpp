#include <optional>
#include <vector>

#include "game/character/battle_values.h"
#include "game/character/message_timing.h"
#include "game/character/money.h"
#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/character/status_panel.h"
#include "game/character/upkeep.h"
#include "game/dungeon/camp_parts.h"
#include "game/dungeon/encounter.h"
#include "game/dungeon/floor_squares.h"
#include "game/state/fields.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "game/state/roster_write.h"
#include "game/town/program_end.h"
#include "runtime/sjis.h"
#include "runtime/strings.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kRosterSlots = 20;
// PartySave keeps the first 33 fields of a battle row.
constexpr int kSavedFields = 33;

void saveBattleRows(Game& g) {
  for (int p = 1; p <= partySize(g); ++p) {
    for (int f = 0; f < kSavedFields; ++f) g.PartySave(p - 1, f) = g.BattleParty(p - 1, f);
  }
}

// A key naming an old position 1..n not yet placed.
int pickOldPosition(Game& g, const std::vector<bool>& placed) {
  for (;;) {
    const std::optional<int> key = digitKey(g.con.waitKey(), partySize(g));
    if (key && *key > 0 && !placed[*key - 1]) return *key;
  }
}

std::vector<int> charactersLeftHere(const Game& g) {
  std::vector<int> found;
  for (int c = 0; c < kRosterSlots; ++c) {
    if (isLeftHere(g, c)) found.push_back(c);
  }
  return found;
}

void listFound(Game& g, const std::vector<int>& found) {
  for (size_t t = 1; t <= found.size(); ++t) {
    printAt(g, 19, static_cast<int>(t), static_cast<int16_t>(t));
    g.con.PRINT("  " + g.CharName(found[t - 1]));
  }
}

// Which of the `count` found characters joins: 1..count, or 0 for none.
int askWhoJoins(Game& g, int count) {
  rt::Console& con = g.con;
  printAt(g, 25, 22, "    だれを加えますか ?                  "_sj);
  printAt(g, 29, 23, "      0 -");
  con.PRINT(static_cast<int16_t>(count));
  con.PRINT("   0  放置する          "_sj);
  for (;;) {
    blankColumns(g, 53, 22, 26);
    con.LOCATE(53, 22);
    const double answer = answerValue(con.inputString(""));
    if (answer >= 0 && answer <= count) return rt::toInt32(rt::INT(answer));
  }
}

}  // namespace

bool isLeftHere(const Game& g, int c) {
  if (partyPositionOf(g, c) != 0 || floorLeftOn(g, c) != partyFloor(g)) return false;
  const float at = g.CharRec(c, LeftAt);
  const Place here = partySquare(g);
  return rt::MOD(rt::INT(at / 100), 100) == here.x && rt::MOD(at, 100) == here.y;
}

void reorderParty(Game& g) {
  rt::Console& con = g.con;
  HYOJI3(g);
  blankLines(g, 16, 23);
  saveBattleRows(g);
  const int n = partySize(g);
  std::vector<float> oldSlots(n);
  for (int p = 1; p <= n; ++p) oldSlots[p - 1] = g.GameState(p);
  std::vector<bool> placed(n, false);
  for (int i = 1; i <= n; ++i) {
    printAt(g, 19, 18, static_cast<int16_t>(i));
    con.PRINT("番目は誰にしますか ?"_sj);
    printAt(g, 25, 20, "Hit 1 -");
    con.PRINT(static_cast<int16_t>(n));
    con.PRINT("Key");
    const int v = pickOldPosition(g, placed);
    placed[v - 1] = true;
    g.GameState(i) = oldSlots[v - 1];
    for (int f = 0; f < kSavedFields; ++f) g.BattleParty(i - 1, f) = g.PartySave(v - 1, f);
    printAt(g, 55, 15 + i, static_cast<int16_t>(i));
    con.PRINT(" " + g.CharName(memberSlot(g, i)));
  }
  blankColumns(g, 55, 16, 20);
  CCHEC2(g);
  CCHEC3(g);
}

bool leaveTheParty(Game& g, bool disband) {
  rt::Console& con = g.con;
  con.COLOR(7);
  printAt(g, 25, 22, "本当に中断してよろしいですか ?"_sj);
  if (disband) printAt(g, 31, 22, "解散"_sj);
  printAt(g, 31, 23, "Hit Y - N Key");
  con.COLOR(6);
  YesNoKey(g);
  if (g.KeyAnswer == "N") return false;
  leaveMembersHere(g);
  if (!disband) {
    // The party and its place stay in the roster for the town's key 8.
    CHWRT(g);
    endProgram(g);
  }
  for (int p = 1; p <= partySize(g); ++p) g.CharRec(memberSlot(g, p), ArmourModifier) = 0;
  clearParty(g);
  CHWRT(g);
  return true;
}

void searchForCharacters(Game& g) {
  rt::Console& con = g.con;
  con.CLS();
  const std::vector<int> found = charactersLeftHere(g);
  listFound(g, found);
  con.COLOR(7);
  if (found.empty()) {
    printAt(g, 27, 20, "だれも見つかりません"_sj);
    TMWAIT(g);
    return;
  }
  const int count = static_cast<int>(found.size());
  printAt(g, 27, 20, static_cast<int16_t>(count));
  con.PRINT(" 人見つかりました"_sj);
  con.COLOR(6);
  printAt(g, 25, 22, "どうしますか ?     Hit 0 - 1 Key"_sj);
  printAt(g, 29, 23, "1  パーティーに加える  　0  放置する"_sj);
  std::optional<int> key;
  while (!(key = digitKey(con.waitKey(), 1))) {
  }
  if (*key == 0) return;
  // Whoever is found joins as he is, the dead carried along.
  if (const int t = askWhoJoins(g, count); t > 0) joinParty(g, found[t - 1]);
}

void shareTheGold(Game& g) {
  double total = 0;
  for (int p = 1; p <= partySize(g); ++p) total += g.CharLong(memberSlot(g, p), Gold);
  const std::vector<int32_t> shares = goldShares(total, partySize(g));
  for (size_t k = 0; k < shares.size(); ++k) {
    g.CharLong(memberSlot(g, static_cast<int>(k) + 1), Gold) = shares[k];
  }
}

}  // namespace kestrun::game
