#include <gtest/gtest.h>

#include "game/state/fields.h"
#include "packing.h"
#include "schemas.h"

namespace kestrun::forge {
namespace {

struct Packed {
  std::vector<double> fields;
  Problems problems;
};

Vocabularies testWords() {
  Vocabularies words;
  schemas::addFixedWords(words);
  words.klass.setWhat("class");
  words.klass.define(0, "Fighter");
  words.klass.define(2, "Mage");
  words.klass.define(7, "Bishop");
  words.item.setWhat("item");
  words.item.allow(0);
  words.item.define(3, "Dagger");
  words.item.define(5, "Twin");
  words.item.define(6, "Twin");
  words.itemType = Vocabulary("item type", {"Weapon", "Armour"});
  words.spell.setWhat("spell");
  words.spell.allow(0);
  words.spell.define(41, "Fire");
  words.spell.define(1, "Heal");
  words.spell.define(80, "Last");
  words.monster.setWhat("monster");
  words.monster.define(4, "Bat");
  return words;
}

Packed pack(const Schema& schema, const std::string& toml) {
  Packed out;
  auto file = SourceFile::fromText(toml, "test.toml", out.problems);
  Reader reader(*file, out.problems);
  packRecord(schema, file->root(), reader, testWords(), "record", out.fields);
  return out;
}

// The keys unpackRecord gives, as TOML text.
std::string unpacked(const Schema& schema, const std::vector<double>& fields) {
  std::string text;
  for (const auto& [key, value] : unpackRecord(schema, fields, testWords())) {
    text += key + " = " + value.render() + "\n";
  }
  return text;
}

TEST(ForgePacking, ItemFieldsPackIntoTheirDigitsAndComeBackByName) {
  const std::string source =
      "type = \"Armour\"\n"
      "ac = -4\n"
      "cursed = true\n"
      "usable_by = [\"Fighter\", \"Bishop\"]\n"
      "regeneration = 2\n"
      "stat_bonus = -3\n"
      "bonus_stat = \"luck\"\n"
      "spell = \"Fire\"\n"
      "breaks_into = \"Dagger\"\n"
      "slays = [0, 2, 3, 13]\n"
      "price = 1234567\n";
  Packed p = pack(schemas::item(), source);
  ASSERT_TRUE(p.problems.empty()) << p.problems.lines()[0];
  EXPECT_EQ(p.fields[0], 10000 + 46 * 100 + 1);
  // Digit 1 marks a class that may NOT use the item: all but 0 and 7.
  EXPECT_EQ(p.fields[1], 1111);
  EXPECT_EQ(p.fields[2], 11011);
  EXPECT_EQ(p.fields[3], 11111);
  EXPECT_EQ(p.fields[4], 10000);  // type 13 slain, no damage dice
  EXPECT_EQ(p.fields[5], 52);
  EXPECT_EQ(p.fields[6], 5047);  // attack bonus neutral, stat bonus -3
  EXPECT_EQ(p.fields[7], 6);
  EXPECT_EQ(p.fields[8], 101);    // types 0 and 2
  EXPECT_EQ(p.fields[9], 10000);  // type 3
  EXPECT_EQ(p.fields[11], 41);
  EXPECT_EQ(p.fields[13], 300);
  EXPECT_EQ(p.fields[14], 4567);
  EXPECT_EQ(p.fields[15], 123);

  const std::string again = unpacked(schemas::item(), p.fields);
  EXPECT_EQ(pack(schemas::item(), again).fields, p.fields);
  EXPECT_NE(again.find("usable_by = [\"Fighter\", \"Bishop\"]"), std::string::npos) << again;
  EXPECT_NE(again.find("ac = -4"), std::string::npos);
  EXPECT_NE(again.find("price = 1234567"), std::string::npos);
}

TEST(ForgePacking, DefaultsRawFieldsAndNamedKeysCombine) {
  // A listed item with nothing given is neutral: AC, regeneration and both
  // bonuses stored as 50.
  Packed empty = pack(schemas::item(), "");
  EXPECT_EQ(empty.fields[0], 5000);
  EXPECT_EQ(empty.fields[5], 50);
  EXPECT_EQ(empty.fields[6], 5050);
  EXPECT_EQ(unpacked(schemas::item(), empty.fields), "");

  // A raw field replaces the defaults of its digits; named keys replace theirs.
  Packed mixed = pack(schemas::item(), "f5 = 20000\nregeneration = 2\n");
  EXPECT_EQ(mixed.fields[5], 20052);
  const std::string again = unpacked(schemas::item(), mixed.fields);
  EXPECT_EQ(pack(schemas::item(), again).fields, mixed.fields) << again;

  // Digits a named key cannot give back stay raw: a usability digit of 2.
  std::vector<double> odd = empty.fields;
  odd[1] = 2;
  const std::string raw = unpacked(schemas::item(), odd);
  EXPECT_EQ(raw.find("usable_by"), std::string::npos) << raw;
  EXPECT_EQ(pack(schemas::item(), raw).fields, odd) << raw;
}

TEST(ForgePacking, ValuesOutsideTheirDigitsAreReported) {
  Packed p = pack(schemas::item(),
                  "ac = 50\nprice = 100000000\ndamage_dice = 2.5\nbonus_stat = \"wisdom\"\n"
                  "breaks_into = 9\nspell = \"Twin\"\nf16 = 1\n");
  ASSERT_EQ(p.problems.size(), 7u);
  const auto& lines = p.problems.lines();
  EXPECT_NE(lines[0].find("test.toml:7: record has no field 16"), std::string::npos) << lines[0];
  EXPECT_NE(lines[1].find("test.toml:1: record ac must be between -50 and 49"), std::string::npos)
      << lines[1];
  EXPECT_NE(lines[2].find("damage_dice must be a whole number"), std::string::npos) << lines[2];
  EXPECT_NE(lines[3].find("no stat is named \"wisdom\""), std::string::npos) << lines[3];
  EXPECT_NE(lines[4].find("no spell is named \"Twin\""), std::string::npos) << lines[4];
  EXPECT_NE(lines[5].find("item 9 is not defined"), std::string::npos) << lines[5];
  EXPECT_NE(lines[6].find("price must be between 0 and 99999999"), std::string::npos) << lines[6];

  Packed twin = pack(schemas::item(), "breaks_into = \"Twin\"\n");
  ASSERT_EQ(twin.problems.size(), 1u);
  EXPECT_NE(twin.problems.lines()[0].find("several items are named \"Twin\""), std::string::npos);

  Packed stat = pack(schemas::character(), "stats = [100, 1, 1, 1, 1, 1, 1, 1]\n");
  ASSERT_EQ(stat.problems.size(), 1u);
  EXPECT_NE(stat.problems.lines()[0].find("between 0 and 99, not 100"), std::string::npos)
      << stat.problems.lines()[0];
}

TEST(ForgePacking, ClassAndCharacterFieldsRoundTrip) {
  Packed klass = pack(schemas::klass(),
                      "skills = [\"combat\", \"magic\"]\nalignments = [\"good\", \"evil\"]\n"
                      "hp_die = 8\nhp_base = 2\nfirst_hp_die = 10\nexp_factor = 1.7125\n");
  ASSERT_TRUE(klass.problems.empty()) << klass.problems.lines()[0];
  EXPECT_EQ(klass.fields[0], 10101);
  EXPECT_EQ(klass.fields[9], 0);
  EXPECT_EQ(klass.fields[10], 1);
  EXPECT_EQ(klass.fields[11], 0);
  EXPECT_EQ(klass.fields[17], 1028);
  EXPECT_EQ(klass.fields[18], 1712);  // A
  EXPECT_EQ(klass.fields[19], 500);   // B
  EXPECT_EQ(pack(schemas::klass(), unpacked(schemas::klass(), klass.fields)).fields, klass.fields);
  EXPECT_EQ(pack(schemas::klass(), "exp_factor = 1.0000001\n").problems.size(), 1u);

  Packed hero =
      pack(schemas::character(),
           "status = \"poisoned\"\nclass = \"Mage\"\nalignment = \"evil\"\nsex = \"female\"\n"
           "level = 7\nleft_on_floor = 3\nleft_x = 12\nleft_y = 5\nleft_facing = \"west\"\n"
           "age_days = 400\nmagic_school = 3\nstats = [18, 9, 17, 5, 10, 11, 12, 13]\n"
           "floor_flag = 1\nitems = [\"Dagger\", { item = 3, equipped = true, "
           "identified = true }]\nspells = [1, 41, 80]\n");
  ASSERT_TRUE(hero.problems.empty()) << hero.problems.lines()[0];
  EXPECT_EQ(hero.fields[0], 1001);
  EXPECT_EQ(hero.fields[1], 10302);
  EXPECT_EQ(hero.fields[2], 3007);
  EXPECT_EQ(hero.fields[3], 31205);
  EXPECT_EQ(hero.fields[6], 400 - 32000);
  EXPECT_EQ(hero.fields[9], 20000);  // magic school 3, holy school 1
  EXPECT_EQ(hero.fields[10], 11809);
  EXPECT_EQ(hero.fields[13], 1213);
  EXPECT_EQ(hero.fields[14], 3);
  EXPECT_EQ(hero.fields[15], 11003);
  EXPECT_EQ(hero.fields[24], 1);
  EXPECT_EQ(hero.fields[32], 1);
  EXPECT_EQ(hero.fields[39], 10000);
  EXPECT_EQ(pack(schemas::character(), unpacked(schemas::character(), hero.fields)).fields,
            hero.fields);
}

TEST(ForgePacking, SettingsSpellOutTheirPackedDigits) {
  Packed s =
      pack(schemas::setting(),
           "used_stats = [\"strength\", \"charm\"]\nmale_stat_adjust = [1, 0, 0, -5, 0, 0, 0, 4]\n"
           "starting_gold_random = 50\nstarting_gold_base = 120\ntrap_damage_percent = 20\n"
           "ac_levels_per_point = 4\n");
  ASSERT_TRUE(s.problems.empty()) << s.problems.lines()[0];
  EXPECT_EQ(s.fields[4], 1);
  EXPECT_EQ(s.fields[11], 1);
  EXPECT_EQ(s.fields[5], 0);
  EXPECT_EQ(s.fields[47], 556);   // stats 0..3: digit k = adjustment + 5
  EXPECT_EQ(s.fields[48], 9555);  // stats 4..7
  EXPECT_EQ(s.fields[49], 5555);  // female: neutral by default
  EXPECT_EQ(s.fields[62], 12050);
  EXPECT_EQ(s.fields[73], 4020);
  EXPECT_EQ(pack(schemas::setting(), unpacked(schemas::setting(), s.fields)).fields, s.fields);
}

Packed packTable(const Schema& schema, const std::string& key, const std::string& toml) {
  Packed out;
  auto file = SourceFile::fromText(toml, "test.toml", out.problems);
  Reader reader(*file, out.problems);
  out.fields = packOptionalTable(schema, file->root(), key, reader, testWords());
  return out;
}

TEST(ForgePacking, OptionalTablesFallBackToTheirDefaults) {
  const Packed missing = packTable(schemas::floorHeader(), "header", "seed = 1\n");
  EXPECT_TRUE(missing.problems.empty());
  EXPECT_EQ(missing.fields, std::vector<double>(4, 0));

  const Packed given = packTable(schemas::floorHeader(), "header", "[header]\nmap_rule = 2\n");
  EXPECT_TRUE(given.problems.empty());
  EXPECT_EQ(given.fields[game::MapRule], 2);

  const Packed scalar = packTable(schemas::setting(), "settings", "settings = 5\n");
  ASSERT_EQ(scalar.problems.size(), 1u);
  EXPECT_EQ(scalar.problems.lines()[0], "test.toml:1: settings must be a table: [settings]");
  EXPECT_EQ(scalar.fields, packTable(schemas::setting(), "settings", "").fields);

  const Packed unknown = packTable(schemas::setting(), "settings", "[settings]\nparty = 6\n");
  ASSERT_EQ(unknown.problems.size(), 1u);
  EXPECT_NE(unknown.problems.lines()[0].find("party"), std::string::npos);
}

// The class of a monster's treasure decides the chest (f14) and its items
// (f15): treasure_class sets both, so a chest comes; the halves apart give
// them different classes.
TEST(ForgePacking, MonsterTreasureAndCompanionsHaveNames) {
  using namespace game::fields;
  Packed one = pack(schemas::monster(),
                    "treasure_class = 16\nnever_negotiates = true\ncompanion = \"Bat\"\n"
                    "companion_chance = 30\nattack_bonus = [0, 0, 0, 0, 0, 7]\n");
  ASSERT_TRUE(one.problems.empty()) << one.problems.lines()[0];
  EXPECT_EQ(one.fields[MonsterGold], 11600);
  EXPECT_EQ(one.fields[MonsterTreasure], 1600);
  EXPECT_EQ(one.fields[MonsterCompanion], 400);
  EXPECT_EQ(one.fields[MonsterCompanionChance], 3007);
  EXPECT_NE(unpacked(schemas::monster(), one.fields).find("treasure_class = 16\n"),
            std::string::npos);
  EXPECT_NE(unpacked(schemas::monster(), one.fields).find("companion = \"Bat\"\n"),
            std::string::npos);

  Packed apart = pack(schemas::monster(), "gold_class = 2\nitem_class = 17\n");
  EXPECT_EQ(apart.fields[MonsterGold], 200);
  EXPECT_EQ(apart.fields[MonsterTreasure], 1700);
  const std::string keys = unpacked(schemas::monster(), apart.fields);
  EXPECT_EQ(keys.find("treasure_class"), std::string::npos) << keys;
  EXPECT_NE(keys.find("gold_class = 2\nitem_class = 17\n"), std::string::npos) << keys;

  Packed unknown = pack(schemas::monster(), "companion = \"Bta\"\ntresure_class = 1\n");
  ASSERT_EQ(unknown.problems.size(), 1u);
  EXPECT_NE(unknown.problems.lines()[0].find("did you mean \"Bat\""), std::string::npos);
}

}  // namespace
}  // namespace kestrun::forge
