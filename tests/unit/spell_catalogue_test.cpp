#include <gtest/gtest.h>

#include "game/spells/catalogue.h"
#include "game/state/packed.h"
#include "game_fixture.h"
#include "runtime/sjis.h"
#include "test_support.h"

namespace kestrun::game {
namespace {

using namespace rt::literals;
using rt::rowText;

// A spell with a learning chance of 50 %, `effect` and level `level`.
void defineSpell(Game& g, int spell, int level, int effect, const std::string& name) {
  g.SpellTable(spell, SpellKindAndListing) = 501;
  g.SpellTable(spell, SpellLevel) = static_cast<float>(level + 1000 * level);
  g.SpellTable(spell, SpellEffect) = static_cast<float>(effect);
  g.SpellName(spell) = name;
}

std::string screenRow(GameFixture& t, int row) {
  return rt::toUtf8(rowText(t.con.text(), row));
}

TEST(SpellCatalogue, NumbersSpellsByLevelThenNumberAndSkipsThoseWithoutAChance) {
  GameFixture t;
  defineSpell(t.g, 3, 2, 1, "C");
  defineSpell(t.g, 1, 1, 1, "A");
  defineSpell(t.g, 2, 1, 1, "B");
  t.g.SpellTable(2, SpellKindAndListing) = 1;  // no learning chance
  defineSpell(t.g, 4, 1, 1, "D");
  t.g.SpellTable(4, SpellKindAndListing) = 500;  // not in this scenario
  defineSpell(t.g, 45, 1, 1, "M");
  EXPECT_EQ(listedSpells(t.g, kHolySpells), (std::vector<int>{1, 3}));
  EXPECT_EQ(listedSpells(t.g, kMagicSpells), (std::vector<int>{45}));
}

TEST(SpellView, DescribesTheSpellOfTheNumberGiven) {
  GameFixture t;
  defineSpell(t.g, 1, 1, 1, "HEAL");
  defineSpell(t.g, 41, 3, 6, "DEATH");
  t.g.SpellTable(41, SpellLevel) = 3003;  // level 3, school 0, 3 points
  t.g.Setting(SpellSchools) = 1;
  t.g.Setting(SpellPointMode) = 2;
  t.type("7{Enter}2{Enter}");  // out of range, asked again
  EXPECT_THROW(SPR(t.g), rt::ProgramEnd);
  EXPECT_EQ(screenRow(t, 0).substr(0, 6), " 1HEAL");
  EXPECT_EQ(screenRow(t, 0).substr(40), " 2DEATH");
  EXPECT_EQ(screenRow(t, 21),
            "       DEATH               魔法呪文  レベル 3    敵を死亡させる(戦闘中)");
  EXPECT_EQ(screenRow(t, 22),
            "                           所属する呪文系統  すべて      必要ＭＰ 3");
  EXPECT_EQ(screenRow(t, 23), "                                   Hit Any Key");
}

TEST(CastingList, AScenarioWithoutSpellsGivesAnEmptyListInsteadOfWaiting) {
  // No key could ever end the kind question, so the list is simply empty.
  GameFixture t;
  t.g.CharLong(0, HolyPointsMax) = 2;
  t.g.CharLong(0, MagicPointsMax) = 2;
  t.g.SysWord(SpellMenuRow) = 23;
  t.g.SysWord(SpellListRow) = 14;
  t.type("2");
  SPS(t.g);
  EXPECT_EQ(t.g.SysWord(SpellKindChosen), kMagicSpells);
  EXPECT_EQ(t.g.SysWord(SpellEntries), 0);
}

TEST(CastingList, AsksTheKindOnlyOfCastersWithPointsOfBoth) {
  GameFixture t;
  defineSpell(t.g, 1, 1, 1, "HEAL");
  defineSpell(t.g, 41, 1, 1, "FIRE");
  setSpellKnown(t.g, 0, 1, true);
  setSpellKnown(t.g, 0, 41, true);
  t.g.Setting(SpellPointMode) = 1;
  t.g.CharLong(0, HolyPointsMax) = 2;
  t.g.SysWord(SpellMenuRow) = 23;
  t.g.SysWord(SpellListRow) = 14;
  SPS(t.g);  // no key is scripted: it must not wait
  EXPECT_EQ(t.g.SysWord(SpellKindChosen), kHolySpells);
  EXPECT_EQ(t.g.SysWord(SpellEntries), 1);
  EXPECT_EQ(screenRow(t, 13), " 1 HEAL 1");

  t.g.CharLong(0, MagicPointsMax) = 2;
  t.g.SysWord(SpellMenuRow) = 23;
  t.g.SysWord(SpellListRow) = 14;
  t.type("3x2");
  SPS(t.g);
  EXPECT_EQ(t.g.SysWord(SpellKindChosen), kMagicSpells);
  EXPECT_EQ(screenRow(t, 13), " 1 FIRE 1");
}

TEST(CastingList, NarrowsTheNamesWhenAKindHasManySpells) {
  GameFixture t;
  for (int s = 1; s <= 33; ++s) defineSpell(t.g, s, 1, 1, "ABCDEFGHIJKLMNOPQRST");
  for (int s = 1; s <= 9; ++s) setSpellKnown(t.g, 0, s, true);
  t.g.CharLong(0, HolyPointsMax) = 1;
  t.g.Setting(SpellPointMode) = 1;
  t.g.SysWord(SpellMenuRow) = 23;
  t.g.SysWord(SpellListRow) = 14;
  SPS(t.g);
  EXPECT_EQ(t.g.SysWord(SpellEntries), 9);
  // Ten bytes of each name; the ninth entry starts the second column.
  EXPECT_EQ(screenRow(t, 13), " 1 ABCDEFGHIJ 1  9 ABCDEFGHIJ 1");
}

}  // namespace
}  // namespace kestrun::game
