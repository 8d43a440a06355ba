#include "game/character/battle_values.h"

#include <gtest/gtest.h>

#include "game_fixture.h"

namespace kestrun::game {
namespace {

constexpr int kArmourClass = 9;
constexpr int kAgility = 14;
constexpr int kRegeneration = 18;

// One member (slot 0) with every stat in use, eight item slots, and items
// whose table fields are "neutral" (50) unless a test sets them.
struct Member : GameFixture {
  Member() {
    for (int i = 4; i <= 11; ++i) g.Setting(i) = 1;
    g.Setting(ItemSlots) = 8;
    for (int item = 0; item <= 5; ++item) {
      g.ItemTable(item, ItemKindAndArmour) = 5000 + 1;  // armour class unchanged, type 1
      g.ItemTable(item, ItemRegeneration) = 50;
      g.ItemTable(item, ItemBonus) = 50;
    }
    g.CharRec(0, Status) = 1;
    g.CharRec(0, LevelAndFloor) = 7;
    g.CharRec(0, FirstStatPair) = 1200;      // Strength 12
    g.CharRec(0, FirstStatPair + 2) = 1200;  // Agility 12
    g.GameState(MemberCount) = 1;
    g.GameState(FirstMember) = 1;
  }
  void carry(int slot, int item, bool equipped) {
    g.CharRec(0, FirstItemSlot + slot - 1) =
        static_cast<float>(10000 + (equipped ? 1000 : 0) + item);
  }
  float row(int column) { return g.BattleParty(0, column); }
};

TEST(BattleValues, RegenerationComesFromEveryCarriedItemAndEmptySlotsReadItemZero) {
  Member m;
  m.g.ItemTable(1, ItemRegeneration) = 53;  // +3, carried only
  m.g.ItemTable(2, ItemRegeneration) = 49;  // -1, worn
  m.carry(1, 1, false);
  m.carry(2, 2, true);
  CCHEC3(m.g);
  EXPECT_EQ(m.row(kRegeneration), 2);

  // The six empty slots count item 0's value, whatever it is.
  m.g.ItemTable(0, ItemRegeneration) = 51;
  CCHEC3(m.g);
  EXPECT_EQ(m.row(kRegeneration), 8);
}

TEST(BattleValues, AWeaponTakenOffLeavesItsColumnEmpty) {
  // Column 3, the weapon, is cleared with the others: a weapon put away
  // must not go on fighting.
  Member m;
  m.g.ItemTable(5, ItemKindAndArmour) = 5000;  // a weapon
  m.carry(1, 5, true);
  CCHEC3(m.g);
  EXPECT_EQ(m.row(EquippedWeapon), 5);
  m.carry(1, 5, false);
  CCHEC3(m.g);
  EXPECT_EQ(m.row(EquippedWeapon), 0);
}

TEST(BattleValues, NaturalArmourOnlyForAnUnarmouredFighterThief) {
  Member m;
  m.g.ClassTable(6, ClassSkills) = 10011;          // combat and thief skills
  m.g.CharRec(0, Identity) = 106;                  // good, class 6
  m.g.Setting(ArmourAndTrapDamage) = 3000;         // a point of armour every three levels
  m.g.ItemTable(3, ItemKindAndArmour) = 5000 + 6;  // a type-6 item does not count as armour
  m.carry(1, 3, true);
  CCHEC3(m.g);
  EXPECT_EQ(m.row(kArmourClass), 8 - 7 / 3);

  m.g.ItemTable(4, ItemKindAndArmour) = 4800 + 1;  // body armour: armour class -2
  m.carry(2, 4, true);
  CCHEC3(m.g);
  EXPECT_EQ(m.row(kArmourClass), 10 - 2);

  m.carry(2, 4, false);
  m.g.Setting(ArmourAndTrapDamage) = 999;  // the option is off
  CCHEC3(m.g);
  EXPECT_EQ(m.row(kArmourClass), 10);
}

TEST(BattleValues, WeightPenaltyLowersAgilityButNeverBelowZero) {
  Member m;
  m.g.Setting(ItemWeight) = 1;
  m.g.Setting(WeightOption) = 2;
  m.g.Setting(CarryFactor) = 1;  // capacity = Strength 12
  m.g.ItemTable(1, ItemWeightAndBreak) = 13;
  m.carry(1, 1, true);
  CCHEC3(m.g);
  EXPECT_EQ(m.row(kAgility), 12 - (130 / 12 + 1) + 10);

  m.g.ItemTable(1, ItemWeightAndBreak) = 99;
  CCHEC3(m.g);
  EXPECT_EQ(m.row(kAgility), 0);

  m.g.CharRec(0, FirstStatPair) = 0;  // no Strength at all: no division by zero
  CCHEC3(m.g);
  EXPECT_EQ(m.row(kAgility), 0);

  m.g.CharRec(0, FirstStatPair) = 1200;
  m.g.Setting(WeightOption) = 1;  // weights do not slow anyone down
  CCHEC3(m.g);
  EXPECT_EQ(m.row(kAgility), 12);
}

}  // namespace
}  // namespace kestrun::game
