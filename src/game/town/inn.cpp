#include "game/town/inn.h"

#include <optional>

#include "game/character/message_timing.h"
#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/state/game.h"
#include "game/town/facility_screen.h"
#include "game/town/retirement.h"
#include "runtime/sjis.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kLobby = 1;
constexpr int kRooms = 5;

float roomPrice(const Game& g, int room) {
  return g.Setting(PlayStatLimit + room);
}

// The large room heals one point a week; the others as the scenario says.
float healingPerWeek(const Game& g, int room) {
  if (room == kLobby) return 0;
  if (room == 2) return 1;
  return g.Setting(ArmourAffectsHits + room);
}

// One day in the lobby, a week in any room.
int daysPerStay(int room) {
  return room == kLobby ? 1 : 7;
}

void showGuest(Game& g, int c) {
  printAt(g, 27, 2, g.CharName(c) + " はどこで休みますか ?"_sj);
  printAt(g, 54, 4, "所持金   "_sj);
  g.con.PRINT(g.CharLong(c, Gold));
  printAt(g, 33, 5, "ＨＰ   "_sj);
  g.con.PRINT(g.CharRec(c, HitPoints));
  g.con.PRINT("/");
  g.con.PRINT(g.CharRec(c, MaxHitPoints));
  printAt(g, 65, 6, "宿泊料"_sj);
}

void showRooms(Game& g) {
  const char* const plainRooms[] = {"１ 　呪文の回復のためにロビーで休息するだけ   ",
                                    "２ 　大部屋      (１週に  1 ＨＰ回復)         "};
  const char* const healingRooms[] = {"３ 　二人部屋", "４ 　個室", "５ 　特別室"};
  for (int room = 1; room <= kRooms; ++room) {
    const int row = 6 + 2 * room;
    g.con.LOCATE(19, row);
    if (room <= 2) {
      g.con.PRINT_USING("@####", {rt::toShiftJis(plainRooms[room - 1]), roomPrice(g, room)});
      continue;
    }
    g.con.PRINT(rt::toShiftJis(healingRooms[room - 3]));
    g.con.LOCATE(36, row);
    g.con.PRINT_USING("@##@####", {"(１週に "_sj, healingPerWeek(g, room), " ＨＰ回復)         "_sj,
                                   roomPrice(g, room)});
  }
  printAt(g, 19, 18, "０ 　外に出る"_sj);
  printAt(g, 33, 21, "Hit 0 - 5 Key");
}

// A room key; rooms other than the lobby only for a guest who needs healing.
int waitForRoom(Game& g, int c) {
  const bool wounded = g.CharRec(c, HitPoints) < g.CharRec(c, MaxHitPoints);
  for (;;) {
    g.KeyAnswer = g.con.waitKey();
    const std::optional<int> room = digitKey(g.KeyAnswer, kRooms);
    if (room && (*room <= kLobby || wounded)) return *room;
  }
}

enum class StayEnd { Rested, OutOfGold, Retired };

// Week after week until the guest is healed, runs out of gold or retires.
StayEnd stay(Game& g, int c, int room) {
  for (;;) {
    if (g.CharLong(c, Gold) < roomPrice(g, room)) {
      printAt(g, 23, 21, g.CharName(c) + " の所持金では足りません"_sj);
      TMWAIT(g);
      return StayEnd::OutOfGold;
    }
    g.CharLong(c, HolyPoints) = g.CharLong(c, HolyPointsMax);
    g.CharLong(c, MagicPoints) = g.CharLong(c, MagicPointsMax);
    g.CharLong(c, Gold) =
        rt::toInt32(g.CharLong(c, Gold) - static_cast<double>(roomPrice(g, room)));
    g.CharRec(c, AgeDays) =
        rt::toSingle(g.CharRec(c, AgeDays) + static_cast<double>(daysPerStay(room)));
    if (isPastLifeSpan(g, c)) {
      retire(g, c);
      return StayEnd::Retired;
    }
    if (room == kLobby) return StayEnd::Rested;
    g.CharRec(c, HitPoints) =
        rt::toSingle(g.CharRec(c, HitPoints) + static_cast<double>(healingPerWeek(g, room)));
    if (g.CharRec(c, HitPoints) >= g.CharRec(c, MaxHitPoints)) {
      g.CharRec(c, HitPoints) = g.CharRec(c, MaxHitPoints);
      return StayEnd::Rested;
    }
  }
}

// A party of one is taken at once. Returns the party position, 0 to leave.
int chooseGuest(Game& g) {
  if (partySize(g) == 1) return 1;
  g.con.CLS();
  showFacilityTitle(g, 3, 4);
  showNumberedParty(g, 14);
  return askWhoComesIn(g, false);
}

enum class GuestEnd { ChooseAgain, Leave };

GuestEnd serveGuest(Game& g, int c) {
  for (;;) {
    g.con.CLS();
    showGuest(g, c);
    showRooms(g);
    const int room = waitForRoom(g, c);
    if (room == 0) return partySize(g) == 1 ? GuestEnd::Leave : GuestEnd::ChooseAgain;
    if (stay(g, c, room) != StayEnd::OutOfGold) return GuestEnd::ChooseAgain;
  }
}

}  // namespace

void Inn(Game& g) {
  g.con.COLOR(6);
  for (;;) {
    const int position = chooseGuest(g);
    if (position == 0) return;
    if (serveGuest(g, memberSlot(g, position)) == GuestEnd::Leave) return;
  }
}

}  // namespace kestrun::game
