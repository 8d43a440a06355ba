#include "game/party/character_actions.h"

#include <gtest/gtest.h>

#include "game/character/carried_items.h"
#include "game_fixture.h"

namespace kestrun::game {
namespace {

// Slot 0 in a party of its own (or with slot 1), carrying three items.
struct Actor : GameFixture {
  explicit Actor(int members = 1) {
    g.Setting(ItemSlots) = 8;
    g.SysWord(StatScale) = 18;
    g.GameState(MemberCount) = static_cast<float>(members);
    for (int c = 0; c < members; ++c) {
      g.GameState(c + 1) = static_cast<float>(c + 1);
      g.CharRec(c, Status) = 1;
      g.CharRec(c, LevelAndFloor) = 1;
    }
    for (int item = 1; item <= 3; ++item) addItem(g, 0, static_cast<float>(10000 + item));
  }
};

TEST(CharacterActions, DiscardAsksFirstUnlessTheSettingSaysOtherwise) {
  Actor a;
  a.type("71{Enter}");
  EXPECT_THROW(CHARA(a.g), rt::ProgramEnd);  // waits at "本当に捨ててもいいですか ?"
  EXPECT_EQ(carriedItemCount(a.g, 0), 3);

  a.g.SysWord(DiscardWithoutAsking) = 1;
  a.type("71{Enter}0");
  CHARA(a.g);  // the only member's "0" leaves at once
  EXPECT_EQ(itemSlot(a.g, 0, 1), 10002);
  EXPECT_EQ(itemSlot(a.g, 0, 2), 10003);
  EXPECT_EQ(carriedItemCount(a.g, 0), 2);
}

TEST(CharacterActions, GoldIsGivenOnlyWithinTheGiversPurseAndTheReceiversLimit) {
  Actor a(2);
  a.g.CharLong(0, Gold) = 500;
  a.g.CharLong(1, Gold) = 999999900;
  a.type(
      "12"
      "1{Enter}2{Enter}"
      "501{Enter}200{Enter}100{Enter}"
      "00");
  CHARA(a.g);
  EXPECT_EQ(a.g.CharLong(0, Gold), 400);
  EXPECT_EQ(a.g.CharLong(1, Gold), 1000000000);
}

TEST(CharacterActions, AnItemGoesToTheReceiversFirstFreeSlotUnlessItIsWorn) {
  Actor a(2);
  itemSlot(a.g, 0, 1) = 11001;  // worn: cannot be given
  addItem(a.g, 1, 10009);
  a.type(
      "13"
      "2{Enter}"
      "1{Enter}2{Enter}"
      "00");
  CHARA(a.g);
  EXPECT_EQ(itemSlot(a.g, 0, 1), 11001);
  EXPECT_EQ(itemSlot(a.g, 0, 2), 10003);
  EXPECT_EQ(itemSlot(a.g, 1, 2), 10002);
}

}  // namespace
}  // namespace kestrun::game
