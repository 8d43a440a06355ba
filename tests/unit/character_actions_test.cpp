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

TEST(CharacterActions, ALoadOfCursedItemsAloneIsNeverTooHeavy) {
  // Without Strength nothing may be worn; a cursed helmet cannot come off, so
  // asking again and again would never end.
  Actor a;
  a.g.Setting(ItemWeight) = 1;
  a.g.Setting(CarryFactor) = 1;
  a.g.ItemTable(4, ItemKindAndArmour) = 10001;  // cursed, type 1
  a.g.ItemTable(4, ItemWeightAndBreak) = 5;
  itemSlot(a.g, 0, 1) = 12004;
  a.type(
      "40"
      "0");  // no weapon; the helmets stop at the cursed one
  CHARA(a.g);
  EXPECT_EQ(itemSlot(a.g, 0, 1), 12004);

  itemSlot(a.g, 0, 1) = 10004;  // the same helmet put on of the member's own will
  a.g.ItemTable(4, ItemKindAndArmour) = 1;
  // Too heavy: the weapons are offered again and take the last "0", so the
  // helmets' question waits for a key that never comes.
  a.type("4010");
  EXPECT_THROW(CHARA(a.g), rt::ProgramEnd);
}

TEST(CharacterActions, ACurseFoundByIdentifyingTakesOffOnlyTheFirstItemOfItsType) {
  // Items 4, 5 and 6 are of type 2; 4 and 5 are worn, 6 is cursed and not
  // yet identified. With Knowledge 0 a draw of 51 or more is the curse.
  Actor a;
  a.g.ClassTable(0, ClassSkills) = 1001;  // holy spells
  for (int item = 4; item <= 6; ++item) a.g.ItemTable(item, ItemKindAndArmour) = 2;
  a.g.ItemTable(6, ItemKindAndArmour) = 10002;
  for (int n = 1; n <= 20 && itemSlot(a.g, 0, 3) != 12006; ++n) {
    itemSlot(a.g, 0, 1) = 11004;
    itemSlot(a.g, 0, 2) = 11005;
    itemSlot(a.g, 0, 3) = 6;
    a.con.random().RANDOMIZE(n);
    a.type("83{Enter}0");
    CHARA(a.g);
  }
  EXPECT_EQ(itemSlot(a.g, 0, 3), 12006);
  EXPECT_EQ(itemSlot(a.g, 0, 1), 10004);
  EXPECT_EQ(itemSlot(a.g, 0, 2), 11005);
}

}  // namespace
}  // namespace kestrun::game
