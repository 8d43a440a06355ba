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
    g.Setting(37) = 8;
    for (int item = 0; item <= 5; ++item) {
      g.ItemTable(item, 0) = 5000 + 1;  // armour class unchanged, type 1
      g.ItemTable(item, 5) = 50;
      g.ItemTable(item, 6) = 50;
    }
    g.CharRec(0, 0) = 1;
    g.CharRec(0, 2) = 7;
    g.CharRec(0, 10) = 1200;  // Strength 12
    g.CharRec(0, 12) = 1200;  // Agility 12
    g.GameState(0) = 1;
    g.GameState(1) = 1;
  }
  void carry(int slot, int item, bool equipped) {
    g.CharRec(0, 13 + slot) = static_cast<float>(10000 + (equipped ? 1000 : 0) + item);
  }
  float row(int column) { return g.BattleParty(0, column); }
};

TEST(BattleValues, RegenerationComesFromEveryCarriedItemAndEmptySlotsReadItemZero) {
  Member m;
  m.g.ItemTable(1, 5) = 53;  // +3, carried only
  m.g.ItemTable(2, 5) = 49;  // -1, worn
  m.carry(1, 1, false);
  m.carry(2, 2, true);
  CCHEC3(m.g);
  EXPECT_EQ(m.row(kRegeneration), 2);

  // The six empty slots count item 0's value, whatever it is.
  m.g.ItemTable(0, 5) = 51;
  CCHEC3(m.g);
  EXPECT_EQ(m.row(kRegeneration), 8);
}

TEST(BattleValues, NaturalArmourOnlyForAnUnarmouredFighterThief) {
  Member m;
  m.g.ClassTable(6, 0) = 10011;    // combat and thief skills
  m.g.CharRec(0, 1) = 106;         // good, class 6
  m.g.Setting(73) = 3000;          // a point of armour every three levels
  m.g.ItemTable(3, 0) = 5000 + 6;  // a type-6 item does not count as armour
  m.carry(1, 3, true);
  CCHEC3(m.g);
  EXPECT_EQ(m.row(kArmourClass), 8 - 7 / 3);

  m.g.ItemTable(4, 0) = 4800 + 1;  // body armour: armour class -2
  m.carry(2, 4, true);
  CCHEC3(m.g);
  EXPECT_EQ(m.row(kArmourClass), 10 - 2);

  m.carry(2, 4, false);
  m.g.Setting(73) = 999;  // the option is off
  CCHEC3(m.g);
  EXPECT_EQ(m.row(kArmourClass), 10);
}

TEST(BattleValues, WeightPenaltyLowersAgilityButNeverBelowZero) {
  Member m;
  m.g.Setting(55) = 1;
  m.g.Setting(56) = 2;
  m.g.Setting(70) = 1;  // capacity = Strength 12
  m.g.ItemTable(1, 13) = 13;
  m.carry(1, 1, true);
  CCHEC3(m.g);
  EXPECT_EQ(m.row(kAgility), 12 - (130 / 12 + 1) + 10);

  m.g.ItemTable(1, 13) = 99;
  CCHEC3(m.g);
  EXPECT_EQ(m.row(kAgility), 0);

  m.g.CharRec(0, 10) = 0;  // no Strength at all: no division by zero
  CCHEC3(m.g);
  EXPECT_EQ(m.row(kAgility), 0);

  m.g.CharRec(0, 10) = 1200;
  m.g.Setting(56) = 1;  // weights do not slow anyone down
  CCHEC3(m.g);
  EXPECT_EQ(m.row(kAgility), 12);
}

}  // namespace
}  // namespace kestrun::game
