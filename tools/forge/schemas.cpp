#include "schemas.h"

namespace kestrun::forge::schemas {

namespace {

using Shape = Codec::Shape;

Codec scalar(std::string key, Slot slot, Words words = Words::None, int bias = 0,
             double defaultValue = 0) {
  Codec c;
  c.key = std::move(key);
  c.slots = {slot};
  c.words = words;
  c.bias = bias;
  c.defaultValue = defaultValue;
  return c;
}

Codec whole(std::string key, int field, Words words = Words::None, int bias = 0,
            double defaultValue = 0) {
  return scalar(std::move(key), {field, 0, 0}, words, bias, defaultValue);
}

Codec flag(std::string key, Slot slot, double defaultValue = 0) {
  return scalar(std::move(key), slot, Words::Flag, 0, defaultValue);
}

Codec list(std::string key, std::vector<Slot> slots, Words words = Words::None, int bias = 0) {
  Codec c = scalar(std::move(key), {}, words, bias);
  c.shape = Shape::List;
  c.slots = std::move(slots);
  return c;
}

Codec set(std::string key, std::vector<Slot> slots, Words words, int firstMember, int listed) {
  Codec c = scalar(std::move(key), {}, words);
  c.shape = Shape::Set;
  c.slots = std::move(slots);
  c.firstMember = firstMember;
  c.listed = listed;
  return c;
}

Codec split(std::string key, std::vector<Slot> slots, int scale = 1) {
  Codec c = scalar(std::move(key), {}, Words::None);
  c.shape = Shape::Split;
  c.slots = std::move(slots);
  c.scale = scale;
  return c;
}

std::vector<Slot> wholeFields(int first, int count) {
  std::vector<Slot> slots;
  for (int f = first; f < first + count; ++f) slots.push_back({f, 0, 0});
  return slots;
}

// Setting(47 + 2 x sex + INT(k / 4)) digit k MOD 4, for stats k = 0..7.
std::vector<Slot> sexAdjustments(int sex) {
  std::vector<Slot> slots;
  for (int k = 0; k < 8; ++k) slots.push_back({47 + 2 * sex + k / 4, k % 4, 1});
  return slots;
}

Schema makeSetting() {
  return {74,
          {whole("key", 0),
           whole("encounter_chance", 1),
           flag("plain_stat_limits", {2}),
           flag("alignments", {3}),
           set("used_stats", wholeFields(4, 8), Words::Stat, 0, 1),
           whole("stat_limit_creation", 13),
           whole("stat_limit_play", 14),
           list("inn_prices", wholeFields(15, 5)),
           list("temple_charges", wholeFields(20, 5)),
           whole("deepest_floor", 28),
           whole("party_size", 30),
           whole("front_rank", 31),
           flag("mixed_alignments", {32}),
           whole("quest_item", 33, Words::Item),
           flag("sexes", {34}),
           flag("class_change_forbidden", {36}),
           whole("item_slots", 37),
           flag("ac_affects_hit_chance", {38}),
           whole("spell_point_mode", 39),
           flag("weapon_range", {40}),
           list("inn_healing", wholeFields(41, 3)),
           whole("holy_spell_levels", 44),
           whole("magic_spell_levels", 45),
           whole("sell_percent", 46),
           list("male_stat_adjust", sexAdjustments(0), Words::None, 5),
           list("female_stat_adjust", sexAdjustments(1), Words::None, 5),
           whole("identify_percent", 51),
           whole("uncurse_percent", 52),
           flag("no_identification", {54}),
           flag("item_weight", {55}),
           whole("weight_option", 56),
           whole("stat_change_mode", 57),
           whole("linear_level", 58),
           flag("monster_pictures", {60}),
           scalar("starting_gold_random", {62, 0, 2}),
           scalar("starting_gold_base", {62, 2, 0}),
           whole("quest_reward_experience", 64),
           whole("quest_reward_gold", 65),
           flag("dispel_experience", {66}),
           scalar("stat_change_rate", {69, 0, 2}),
           scalar("carry_factor", {70, 0, 2}),
           whole("hp_mode", 71),
           flag("spell_schools", {72}),
           scalar("trap_damage_percent", {73, 0, 3}),
           scalar("ac_levels_per_point", {73, 3, 0})}};
}

Schema makeRace() {
  return {11,
          {flag("exists", {0}, 1), list("stats", wholeFields(1, 8)), whole("dark_vision", 9),
           whole("life_span", 10)}};
}

Schema makeClass() {
  return {
      20,
      {flag("exists", {0, 0, 1}, 1),
       set("skills", {{0, 4, 1}, {0, 3, 1}, {0, 2, 1}, {0, 1, 1}}, Words::Skill, 0, 1),
       list("min_stats", wholeFields(1, 8)),
       set("alignments", wholeFields(9, 3), Words::Alignment, 1, 0), whole("exp_base", 12),
       whole("holy_first_level", 13), whole("holy_level_step", 14), whole("magic_first_level", 15),
       whole("magic_level_step", 16), scalar("hp_die", {17, 0, 1}), scalar("hp_base", {17, 1, 1}),
       scalar("first_hp_die", {17, 2, 0}),
       split("exp_factor", {{19, 0, 3}, {18, 0, 0}}, 1'000'000)}};
}

// Monster type t (0..14) is slain when its digit is 1: types 0..12 in
// fields 8..10, 13 and 14 in the high digits of fields 4 and 14.
std::vector<Slot> slayingDigits() {
  std::vector<Slot> slots;
  for (int t = 0; t <= 12; ++t) slots.push_back({8 + (t + 2) / 5, (12 - t) % 5, 1});
  slots.push_back({4, 4, 0});
  slots.push_back({14, 4, 0});
  return slots;
}

// Class c may NOT use the item when digit 4 - (c MOD 5) of field
// 1 + INT(c / 5) is 1.
std::vector<Slot> classDigits() {
  std::vector<Slot> slots;
  for (int c = 0; c < 15; ++c) slots.push_back({1 + c / 5, 4 - c % 5, 1});
  return slots;
}

Schema makeItem() {
  return {16,
          {scalar("type", {0, 0, 1}, Words::ItemType),
           scalar("alignment_kind", {0, 1, 1}),
           scalar("ac", {0, 2, 2}, Words::None, 50),
           flag("cursed", {0, 4, 0}),
           set("usable_by", classDigits(), Words::Class, 0, 0),
           scalar("damage_dice", {4, 0, 2}),
           scalar("damage_sides", {4, 2, 2}),
           scalar("regeneration", {5, 0, 2}, Words::None, 50),
           scalar("damage_bonus", {5, 2, 2}),
           flag("long_range", {5, 4, 0}),
           scalar("stat_bonus", {6, 0, 2}, Words::None, 50),
           scalar("attack_bonus", {6, 2, 2}, Words::None, 50),
           flag("critical_hits", {6, 4, 0}),
           scalar("bonus_stat", {7, 0, 1}, Words::Stat),
           flag("protects_breath2", {7, 1, 1}),
           flag("protects_poison", {7, 2, 1}),
           flag("protects_drain", {7, 4, 0}),
           scalar("rarity", {8, 3, 1}),
           flag("protects_petrify", {8, 4, 0}),
           set("slays", slayingDigits(), Words::None, 0, 1),
           scalar("spell", {11, 0, 2}, Words::Spell),
           scalar("spell_break_chance", {11, 2, 0}),
           scalar("power", {12, 0, 2}),
           scalar("power_break_chance", {12, 2, 0}),
           scalar("weight", {13, 0, 2}),
           scalar("breaks_into", {13, 2, 0}, Words::Item),
           split("price", {{14, 0, 4}, {15, 0, 4}}),
           flag("protects_breath1", {15, 4, 0})}};
}

// Attack k (1..6) keeps its die size, dice and bonus in fields 3k-2, 3k-1, 3k.
std::vector<Slot> attackDigits(int part) {
  std::vector<Slot> slots;
  for (int k = 1; k <= 6; ++k) slots.push_back({3 * k - 2 + part, 0, 2});
  return slots;
}

Schema makeMonster() {
  return {20,
          {whole("experience", 0, Words::None, -30000),
           scalar("attacks", {1, 2, 1}),
           scalar("type", {1, 3, 0}),
           scalar("level", {2, 2, 0}),
           scalar("ac", {3, 2, 2}, Words::None, 70),
           flag("long_reach", {3, 4, 0}),
           scalar("hp_base", {4, 2, 2}),
           scalar("stare", {4, 4, 0}, Words::Flag),
           scalar("hp_sides", {5, 2, 2}),
           flag("poison_touch", {5, 4, 0}),
           scalar("hp_dice", {6, 2, 0}),
           scalar("group_sides", {7, 2, 1}),
           scalar("holy_spell_level", {7, 3, 1}),
           flag("petrify_touch", {7, 4, 0}),
           scalar("group_dice", {8, 2, 1}),
           scalar("magic_spell_level", {8, 3, 1}),
           flag("deadly_touch", {8, 4, 0}),
           scalar("group_base", {9, 2, 1}),
           scalar("breath", {9, 3, 1}),
           scalar("drain_levels", {10, 2, 1}),
           scalar("paralysing_touch", {10, 3, 1}, Words::Flag),
           scalar("agility_dice", {12, 2, 1}),
           scalar("agility_sides", {12, 3, 1}),
           flag("flees_when_weak", {12, 4, 0}),
           scalar("agility_base", {13, 2, 2}),
           flag("calls_for_help", {13, 4, 0}),
           flag("never_negotiates", {14, 4, 0}),
           scalar("treasure_class", {15, 2, 2}),
           flag("no_escape", {15, 4, 0}),
           scalar("resistance", {16, 2, 0}),
           list("attack_sides", attackDigits(0)),
           list("attack_dice", attackDigits(1)),
           list("attack_bonus", attackDigits(2)),
           scalar("picture_unknown", {19, 0, 2}),
           scalar("picture", {19, 2, 0})}};
}

Schema makeSpell() {
  return {6,
          {flag("exists", {0, 0, 1}, 1), scalar("chance", {0, 1, 3}),
           scalar("cost_flags", {0, 4, 0}), scalar("level", {1, 0, 1}), scalar("school", {1, 2, 1}),
           scalar("mp_cost", {1, 3, 0}), whole("effect", 2), list("params", wholeFields(3, 3))}};
}

Schema makeTrap() {
  return {2,
          {flag("exists", {0, 0, 1}, 1), scalar("second_item_chance", {0, 1, 0}),
           scalar("difficulty", {1, 0, 1}), scalar("third_item_chance", {1, 1, 0})}};
}

// Trap t may be in the chest when digit 4 - (t MOD 5) of field 9 + INT(t / 5)
// is not 0.
std::vector<Slot> trapDigits() {
  std::vector<Slot> slots;
  for (int t = 0; t < 15; ++t) slots.push_back({9 + t / 5, 4 - t % 5, 1});
  return slots;
}

Schema makeTreasure() {
  return {
      12,
      {list("gold_dice", {{0, 0, 2}, {2, 0, 2}, {4, 0, 2}}),
       list("gold_sides", {{0, 2, 0}, {2, 2, 0}, {4, 2, 0}}),
       list("gold_bonus", {{1, 0, 2}, {3, 0, 2}, {5, 0, 2}}),
       list("gold_chance", {{1, 2, 0}, {3, 2, 0}, {5, 2, 0}}), scalar("multiplier_base", {6, 0, 1}),
       scalar("multiplier_dice", {6, 1, 2}), scalar("multiplier_sides", {6, 3, 0}),
       scalar("item_count", {7, 0, 2}), scalar("item_chance", {7, 2, 0}),
       flag("may_be_untrapped", {8, 0, 1}), scalar("first_item", {8, 2, 0}, Words::Item),
       set("traps", trapDigits(), Words::Trap, 0, 1)}};
}

Schema makeEncounter() {
  return {7,
          {whole("groups", 0), list("column1", wholeFields(1, 2), Words::Monster),
           list("column2", wholeFields(3, 2), Words::Monster),
           list("column3", wholeFields(5, 2), Words::Monster)}};
}

Schema makeFloorRule() {
  return {2, {flag("restricted", {0}), whole("rule_value", 1)}};
}

Schema makeFloorHeader() {
  return {4, {flag("no_spells", {0}), whole("map_rule", 1), whole("alignment_rule", 3)}};
}

// Stat k lives in field 10 + INT(k / 2): even stats in the hundreds, odd
// stats in the units.
std::vector<Slot> statDigits() {
  std::vector<Slot> slots;
  for (int k = 0; k < 8; ++k) slots.push_back({10 + k / 2, k % 2 == 0 ? 2 : 0, 2});
  return slots;
}

// Spell s (1..80) is known when digit (s - 1) MOD 5 of field
// 24 + INT((s - 1) / 5) is 1.
std::vector<Slot> knownSpellDigits() {
  std::vector<Slot> slots;
  for (int s = 1; s <= 80; ++s) slots.push_back({24 + (s - 1) / 5, (s - 1) % 5, 1});
  return slots;
}

Schema makeCharacter() {
  Codec items = list("items", wholeFields(14, 10));
  items.shape = Shape::Items;
  return {40,
          {whole("status", 0, Words::Status, 0, 1),
           scalar("class", {1, 0, 2}, Words::Class),
           scalar("alignment", {1, 2, 1}, Words::Alignment),
           scalar("race", {1, 3, 1}, Words::Race),
           scalar("sex", {1, 4, 0}, Words::Sex),
           scalar("level", {2, 0, 3}, Words::None, 0, 1),
           scalar("left_on_floor", {2, 3, 0}),
           scalar("left_y", {3, 0, 2}),
           scalar("left_x", {3, 2, 2}),
           scalar("left_facing", {3, 4, 0}, Words::Direction),
           whole("hp", 4),
           whole("max_hp", 5),
           whole("age_days", 6, Words::None, -32000),
           whole("kills", 7),
           whole("ac_modifier", 8),
           scalar("holy_school", {9, 3, 1}, Words::None, -1, 1),
           scalar("magic_school", {9, 4, 0}, Words::None, -1, 1),
           list("stats", statDigits()),
           scalar("floor_flag", {10, 4, 0}),
           items,
           set("spells", knownSpellDigits(), Words::Spell, 1, 1)}};
}

Schema makeCharacterLong() {
  Schema s{6,
           {whole("experience", 0), whole("gold", 1), list("holy_points", wholeFields(2, 2)),
            list("magic_points", wholeFields(4, 2))}};
  s.largest = 2'147'483'647;
  return s;
}

Schema makePartyState() {
  return {
      19,
      {scalar("floor", {9, 2, 0}), scalar("facing", {9, 0, 2}, Words::Direction),
       scalar("x", {10, 2, 0}), scalar("y", {10, 0, 2}), whole("light", 11),
       whole("protection", 12), whole("identification", 13), list("previous", wholeFields(14, 2)),
       whole("levitation", 16), whole("invisibility", 17), whole("timed_effect", 18)}};
}

}  // namespace

const Schema& setting() {
  static const Schema s = makeSetting();
  return s;
}
const Schema& race() {
  static const Schema s = makeRace();
  return s;
}
const Schema& klass() {
  static const Schema s = makeClass();
  return s;
}
const Schema& item() {
  static const Schema s = makeItem();
  return s;
}
const Schema& monster() {
  static const Schema s = makeMonster();
  return s;
}
const Schema& spell() {
  static const Schema s = makeSpell();
  return s;
}
const Schema& trap() {
  static const Schema s = makeTrap();
  return s;
}
const Schema& treasure() {
  static const Schema s = makeTreasure();
  return s;
}
const Schema& encounter() {
  static const Schema s = makeEncounter();
  return s;
}
const Schema& floorRule() {
  static const Schema s = makeFloorRule();
  return s;
}
const Schema& floorHeader() {
  static const Schema s = makeFloorHeader();
  return s;
}
const Schema& character() {
  static const Schema s = makeCharacter();
  return s;
}
const Schema& characterLong() {
  static const Schema s = makeCharacterLong();
  return s;
}
const Schema& partyState() {
  static const Schema s = makePartyState();
  return s;
}

void addFixedWords(Vocabularies& words) {
  words.stat = Vocabulary("stat", {"strength", "health", "knowledge", "faith", "agility",
                                   "dexterity", "luck", "charm"});
  words.alignment = Vocabulary("alignment", {"none", "good", "neutral", "evil"});
  words.sex = Vocabulary("sex", {"male", "female"});
  words.skill = Vocabulary("skill", {"combat", "holy", "magic", "thief"});
  words.direction = Vocabulary("direction", {"north", "east", "south", "west"});
  words.status.setWhat("status");
  words.status.acceptAnyNumber();
  const std::pair<const char*, int> statuses[] = {
      {"empty", 0},       {"normal", 1},      {"asleep", 11},
      {"paralysed", 101}, {"poisoned", 1001}, {"petrified", 10000},
      {"dead", 20000},    {"spirit", 25000},  {"lost", 30000}};
  for (const auto& [word, code] : statuses) words.status.define(code, word);
}

}  // namespace kestrun::forge::schemas
