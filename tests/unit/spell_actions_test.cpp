#include <gtest/gtest.h>

#include "game/character/carried_items.h"
#include "game/party/character_actions.h"
#include "spell_scene.h"

namespace kestrun::game {
namespace {

constexpr int kPriest = 1;

// A priest alone in the camp on floor 2 with points for every holy level.
struct Camp : SpellScene {
  Camp() : SpellScene(1) {
    g.ClassTable(kPriest, ClassSkills) = 1001;
    g.ClassTable(kPriest, HolyStartLevel) = 1;
    g.ClassTable(kPriest, HolyLevelStep) = 1;
    g.ClassTable(kPriest, ClassExpBase) = 1000;
    g.ClassExpFactor(kPriest) = 2;
    g.Setting(LinearLevel) = 20;
    g.CharRec(0, Identity) = 100 + kPriest;
    g.CharLong(0, HolyPoints) = 999;
    g.CharLong(0, HolyPointsMax) = 999;
    g.SysWord(ActingSlot) = 0;
  }
  void knows(int spell) { setSpellKnown(g, 0, spell, true); }
  void act(const std::string& keys) {
    type(keys);
    CHARA(g);
  }
};

TEST(CastingFromTheSheet, APaidHealingSpellHealsTheCaster) {
  Camp c;
  c.spell(1, 1, 1, 99, 1);  // the caster himself, everything back
  c.knows(1);
  c.act("11{Enter}0");
  EXPECT_EQ(c.g.CharRec(0, HitPoints), 30);
  EXPECT_EQ(c.g.CharLong(0, HolyPoints), 998);
}

TEST(CastingFromTheSheet, BattleSpellsAreAskedAgain) {
  Camp c;
  c.spell(7, 6, 2, 5, 1);
  c.knows(7);
  c.act("11{Enter}0{Enter}0");
  EXPECT_EQ(c.g.CharLong(0, HolyPoints), 999);
}

TEST(CastingFromTheSheet, ANoSpellSquareSwallowsThePaidSpell) {
  Camp c;
  c.spell(1, 1, 1, 99, 1);
  c.knows(1);
  c.g.FloorMap(5, 5, SquareLayer) = 5;
  c.act("11{Enter}0");
  EXPECT_EQ(c.g.CharRec(0, HitPoints), 10);
  EXPECT_EQ(c.g.CharLong(0, HolyPoints), 998);
}

TEST(CastingFromTheSheet, AOnceOnlySpellIsForgottenAndALevelSpellCostsExperience) {
  Camp c;
  c.spell(1, 1, 1, 99, 1);
  c.g.SpellTable(1, SpellKindAndListing) = 30501;  // both flags
  c.knows(1);
  c.g.CharRec(0, LevelAndFloor) = 2004;
  c.g.CharLong(0, Experience) = 99999;
  c.act("11{Enter}0");
  EXPECT_FALSE(knowsSpell(c.g, 0, 1));
  EXPECT_EQ(levelOf(c.g, 0), 3);
  // The least experience of level 3: 1000 x 2.
  EXPECT_EQ(c.g.CharLong(0, Experience), 2000);
}

TEST(CastingFromTheSheet, TheTeleportIntoTheSkyEndsTheSheetAtOnce) {
  Camp c;
  c.g.ClassTable(kPriest, ClassSkills) = 101;  // now a magic caster
  c.g.ClassTable(kPriest, MagicStartLevel) = 1;
  c.g.ClassTable(kPriest, MagicLevelStep) = 1;
  c.g.CharLong(0, HolyPointsMax) = 0;
  c.g.CharLong(0, MagicPoints) = 999;
  c.g.CharLong(0, MagicPointsMax) = 999;
  c.spell(49, 14, 0, 0, 0);
  setSpellKnown(c.g, 0, 49, true);
  c.act("11{Enter}5{Enter}0{Enter}0{Enter}");  // CHARA returns without a "0"
  EXPECT_EQ(c.g.SysWord(Outcome), 9000);
  EXPECT_EQ(c.g.GameState(FloorAndFacing), 0);
  EXPECT_EQ(c.row(9), "空中に飛び出してしまった !");
}

TEST(UsingItems, AnItemCastsForNothingAndBreaksIntoItsRemains) {
  Camp c;
  c.spell(1, 1, 1, 99, 1);
  c.g.ItemTable(25, ItemKindAndArmour) = 6;
  c.g.ItemTable(25, ItemSpell) = 10001;          // spell 1, always breaks
  c.g.ItemTable(25, ItemWeightAndBreak) = 3000;  // into item 30
  addItem(c.g, 0, 10025);
  c.act("51{Enter}0");
  EXPECT_EQ(c.g.CharRec(0, HitPoints), 30);
  EXPECT_EQ(c.g.CharLong(0, HolyPoints), 999);
  EXPECT_EQ(itemSlot(c.g, 0, 1), 10030);
}

TEST(UsingItems, AWornItemsPowerWorksOnItsWearer) {
  Camp c;
  c.g.ItemTable(33, ItemKindAndArmour) = 5;
  c.g.ItemTable(33, ItemPowerField) = 10;  // maximum HP + 1, never breaks
  addItem(c.g, 0, 10033);
  c.act("61{Enter}0{Enter}0");  // not worn: refused, asked again
  EXPECT_EQ(c.g.CharRec(0, MaxHitPoints), 30);
  itemSlot(c.g, 0, 1) = 11033;
  c.act("61{Enter}0");
  EXPECT_EQ(c.g.CharRec(0, MaxHitPoints), 31);
  EXPECT_EQ(itemSlot(c.g, 0, 1), 11033);
}

TEST(UsingItems, InTownOnlyHealingAndMiraclesWork) {
  Camp c;
  c.g.GameState(FloorAndFacing) = 0;
  c.spell(2, 16, 1, 500, 3);  // a light
  c.g.ItemTable(27, ItemKindAndArmour) = 6;
  c.g.ItemTable(27, ItemSpell) = 2;
  addItem(c.g, 0, 10027);
  c.act("51{Enter}0");
  EXPECT_EQ(c.g.GameState(LightEffect), 0);
}

}  // namespace
}  // namespace kestrun::game
