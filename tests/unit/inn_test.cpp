#include "game/town/inn.h"

#include <gtest/gtest.h>

#include "game/character/party_members.h"
#include "game/state/packed.h"
#include "game_fixture.h"
#include "runtime/sjis.h"
#include "test_support.h"

namespace kestrun::game {
namespace {

using namespace rt::literals;

constexpr float kYoung = -32000;

std::string screenRow(GameFixture& t, int row) {
  return rt::toUtf8(rt::rowText(t.con.text(), row));
}

// Rooms priced 2, 10, 10, 20 and 50 gold; rooms 3..5 heal 4, 6 and 9 points
// a week; guests of a race that lives 60 years, wounded to 1 of 10 points,
// with spell points spent.
void setUpInn(Game& g, int members) {
  const float prices[] = {2, 10, 10, 20, 50};
  for (int room = 1; room <= 5; ++room) g.Setting(PlayStatLimit + room) = prices[room - 1];
  g.Setting(FirstInnHealing) = 4;
  g.Setting(FirstInnHealing + 1) = 6;
  g.Setting(FirstInnHealing + 2) = 9;
  g.RaceTable(0, LifeSpan) = 60;
  for (int c = 0; c < members; ++c) {
    g.CharName(c) = std::string(1, static_cast<char>('A' + c));
    g.CharRec(c, Status) = 1;
    g.CharRec(c, LevelAndFloor) = 1;
    g.CharRec(c, HitPoints) = 1;
    g.CharRec(c, MaxHitPoints) = 10;
    g.CharRec(c, AgeDays) = kYoung;
    g.CharLong(c, Gold) = 100;
    g.CharLong(c, HolyPointsMax) = 123;
    g.CharLong(c, MagicPointsMax) = 45;
    joinParty(g, c);
  }
}

TEST(InnLobby, RestoresSpellPointsOnlyForADayEvenAtFullHealth) {
  GameFixture t;
  setUpInn(t.g, 1);
  t.g.CharRec(0, HitPoints) = 10;
  t.type("2510");  // the rooms heal: refused at full health
  Inn(t.g);
  EXPECT_EQ(t.g.CharLong(0, HolyPoints), 123);
  EXPECT_EQ(t.g.CharLong(0, MagicPoints), 45);
  EXPECT_EQ(t.g.CharLong(0, Gold), 98);
  EXPECT_EQ(t.g.CharRec(0, AgeDays), kYoung + 1);
  EXPECT_EQ(t.g.CharRec(0, HitPoints), 10);
}

TEST(InnRooms, AStayLastsWeekByWeekUntilTheGuestIsHealed) {
  GameFixture t;
  setUpInn(t.g, 1);
  t.type("30");
  Inn(t.g);
  EXPECT_EQ(t.g.CharRec(0, HitPoints), 10);
  EXPECT_EQ(t.g.CharLong(0, Gold), 70);
  EXPECT_EQ(t.g.CharRec(0, AgeDays), kYoung + 21);
  EXPECT_EQ(t.g.CharLong(0, HolyPoints), 123);
}

TEST(InnRooms, TheWeeksPaidStayPaidWhenTheGoldRunsOut) {
  GameFixture t;
  setUpInn(t.g, 1);
  t.g.CharLong(0, Gold) = 25;
  t.g.SysWord(MessageTime) = 10000;  // the message waits for a key
  t.type("4");
  EXPECT_THROW(Inn(t.g), rt::ProgramEnd);
  EXPECT_EQ(t.g.CharRec(0, HitPoints), 7);
  EXPECT_EQ(t.g.CharLong(0, Gold), 5);
  EXPECT_EQ(t.g.CharRec(0, AgeDays), kYoung + 7);
  EXPECT_EQ(screenRow(t, 21).rfind("                       A の所持金では足りません", 0), 0U);
}

TEST(InnRooms, TheRoomScreenShowsPricesAndHealing) {
  GameFixture t;
  setUpInn(t.g, 2);
  t.type("2");
  EXPECT_THROW(Inn(t.g), rt::ProgramEnd);
  EXPECT_EQ(screenRow(t, 2), "                           B はどこで休みますか ?");
  EXPECT_EQ(screenRow(t, 5), "                                 ＨＰ    1 / 10");
  EXPECT_EQ(screenRow(t, 8),
            "                   １ 　呪文の回復のためにロビーで休息するだけ      2");
  EXPECT_EQ(screenRow(t, 12),
            "                   ３ 　二人部屋    (１週に  4 ＨＰ回復)           10");
}

TEST(InnRetirement, AGuestPastHisLifeSpanRetiresAndLeavesTheParty) {
  GameFixture t;
  setUpInn(t.g, 3);
  t.g.CharRec(1, AgeDays) = 46 * 365 - 1 - 32000;  // 60 years and 364 days
  t.g.BattleParty(2, LevelsLost) = 7;
  t.type("21x0");
  Inn(t.g);
  EXPECT_EQ(t.g.CharRec(1, Status), 30000);
  EXPECT_EQ(partySize(t.g), 2);
  EXPECT_EQ(memberSlot(t.g, 2), 2);
  EXPECT_EQ(t.g.BattleParty(1, LevelsLost), 7);
  EXPECT_EQ(t.g.BattleParty(2, LevelsLost), 0);
  EXPECT_EQ(screenRow(t, 12), "");
}

}  // namespace
}  // namespace kestrun::game
