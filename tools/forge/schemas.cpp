#include "schemas.h"

#include "game/state/fields.h"

namespace kestrun::forge::schemas {

namespace {

using namespace game::fields;
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

// One value for several slots (a key that sets two fields alike).
Codec same(std::string key, std::vector<Slot> slots) {
  Codec c = scalar(std::move(key), {}, Words::None);
  c.shape = Shape::Same;
  c.slots = std::move(slots);
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

// Setting(FirstSexAdjustment + 2 x sex + INT(k / 4)) digit k MOD 4, for stats k = 0..7.
std::vector<Slot> sexAdjustments(int sex) {
  std::vector<Slot> slots;
  for (int k = 0; k < StatCount; ++k)
    slots.push_back({FirstSexAdjustment + 2 * sex + k / 4, k % 4, 1});
  return slots;
}

Schema makeSetting() {
  return {SettingCount,
          {whole("key", ScrambleKey),
           whole("encounter_chance", EncounterChance),
           flag("plain_stat_limits", {NoRaces}),
           flag("alignments", {AlignmentsUsed}),
           set("used_stats", wholeFields(FirstStatUsed, StatCount), Words::Stat, 0, 1),
           whole("stat_limit_creation", CreationStatLimit),
           whole("stat_limit_play", PlayStatLimit),
           list("inn_prices", wholeFields(FirstInnPrice, 5)),
           list("temple_charges", wholeFields(PoisonCharge, 5)),
           whole("deepest_floor", DeepestFloor),
           whole("party_size", PartySize),
           whole("front_rank", FrontRank),
           flag("mixed_alignments", {MixedAlignments}),
           whole("quest_item", QuestItem, Words::Item),
           flag("sexes", {SexesUsed}),
           flag("class_change_forbidden", {ClassChangeBarred}),
           whole("item_slots", ItemSlots),
           flag("ac_affects_hit_chance", {ArmourAffectsHits}),
           whole("spell_point_mode", SpellPointMode),
           flag("weapon_range", {WeaponRange}),
           list("inn_healing", wholeFields(FirstInnHealing, 3)),
           whole("holy_spell_levels", HolySpellLevels),
           whole("magic_spell_levels", MagicSpellLevels),
           whole("sell_percent", SellPercent),
           list("male_stat_adjust", sexAdjustments(0), Words::None, 5),
           list("female_stat_adjust", sexAdjustments(1), Words::None, 5),
           whole("identify_percent", IdentifyPercent),
           whole("uncurse_percent", UncursePercent),
           flag("no_identification", {NoIdentification}),
           flag("item_weight", {ItemWeight}),
           whole("weight_option", WeightOption),
           whole("stat_change_mode", StatChangeMode),
           whole("linear_level", LinearLevel),
           flag("monster_pictures", {MonsterPictures}),
           scalar("starting_gold_random", {StartingGold, 0, 2}),
           scalar("starting_gold_base", {StartingGold, 2, 0}),
           whole("quest_reward_experience", QuestRewardExperience),
           whole("quest_reward_gold", QuestRewardGold),
           flag("dispel_experience", {DispelExperience}),
           scalar("stat_change_rate", {StatChangeRate, 0, 2}),
           scalar("carry_factor", {CarryFactor, 0, 2}),
           whole("hp_mode", HitPointMode),
           flag("spell_schools", {SpellSchools}),
           scalar("trap_damage_percent", {ArmourAndTrapDamage, 0, 3}),
           scalar("ac_levels_per_point", {ArmourAndTrapDamage, 3, 0})}};
}

Schema makeRace() {
  return {RaceTableFields,
          {flag("exists", {RaceExists}, 1), list("stats", wholeFields(FirstRaceStat, StatCount)),
           whole("dark_vision", DarkVision), whole("life_span", LifeSpan)}};
}

// A class record carries the two parts A and B of the experience factor
// behind the class table's own fields.
constexpr int kExpPartA = ClassTableFields;
constexpr int kExpPartB = ClassTableFields + 1;

Schema makeClass() {
  return {kExpPartB + 1,
          {flag("exists", {ClassSkills, 0, 1}, 1),
           set("skills",
               {{ClassSkills, 4, 1}, {ClassSkills, 3, 1}, {ClassSkills, 2, 1}, {ClassSkills, 1, 1}},
               Words::Skill, 0, 1),
           list("min_stats", wholeFields(FirstMinimumStat, StatCount)),
           set("alignments", wholeFields(FirstAlignmentBar, 3), Words::Alignment, 1, 0),
           whole("exp_base", ClassExpBase), whole("holy_first_level", HolyStartLevel),
           whole("holy_level_step", HolyLevelStep), whole("magic_first_level", MagicStartLevel),
           whole("magic_level_step", MagicLevelStep), scalar("hp_die", {HitPointDice, 0, 1}),
           scalar("hp_base", {HitPointDice, 1, 1}), scalar("first_hp_die", {HitPointDice, 2, 0}),
           split("exp_factor", {{kExpPartB, 0, 3}, {kExpPartA, 0, 0}}, 1'000'000)}};
}

// Monster type t (0..14) is slain when its digit is 1: types 0..12 in
// fields 8..10, 13 and 14 in the high digits of fields 4 and 14.
std::vector<Slot> slayingDigits() {
  std::vector<Slot> slots;
  for (int t = 0; t <= 12; ++t) slots.push_back({FirstSlayingField + (t + 2) / 5, (12 - t) % 5, 1});
  slots.push_back({ItemDamage, 4, 0});
  slots.push_back({ItemPriceLow, 4, 0});
  return slots;
}

// Class c may NOT use the item when digit 4 - (c MOD 5) of field
// 1 + INT(c / 5) is 1.
std::vector<Slot> classDigits() {
  std::vector<Slot> slots;
  for (int c = 0; c < 15; ++c) slots.push_back({FirstClassBar + c / 5, 4 - c % 5, 1});
  return slots;
}

Schema makeItem() {
  return {ItemTableFields,
          {scalar("type", {ItemKindAndArmour, 0, 1}, Words::ItemType),
           scalar("alignment_kind", {ItemKindAndArmour, 1, 1}),
           scalar("ac", {ItemKindAndArmour, 2, 2}, Words::None, 50),
           flag("cursed", {ItemKindAndArmour, 4, 0}),
           set("usable_by", classDigits(), Words::Class, 0, 0),
           scalar("damage_dice", {ItemDamage, 0, 2}),
           scalar("damage_sides", {ItemDamage, 2, 2}),
           scalar("regeneration", {ItemRegeneration, 0, 2}, Words::None, 50),
           scalar("damage_bonus", {ItemRegeneration, 2, 2}),
           flag("long_range", {ItemRegeneration, 4, 0}),
           scalar("stat_bonus", {ItemBonus, 0, 2}, Words::None, 50),
           scalar("attack_bonus", {ItemBonus, 2, 2}, Words::None, 50),
           flag("critical_hits", {ItemBonus, 4, 0}),
           scalar("bonus_stat", {ItemBonusStat, 0, 1}, Words::Stat),
           flag("protects_breath2", {ItemBonusStat, 1, 1}),
           flag("protects_poison", {ItemBonusStat, 2, 1}),
           flag("protects_drain", {ItemBonusStat, 4, 0}),
           scalar("rarity", {FirstSlayingField, 3, 1}),
           flag("protects_petrify", {FirstSlayingField, 4, 0}),
           set("slays", slayingDigits(), Words::None, 0, 1),
           scalar("spell", {ItemSpell, 0, 2}, Words::Spell),
           scalar("spell_break_chance", {ItemSpell, 2, 0}),
           scalar("power", {ItemPowerField, 0, 2}),
           scalar("power_break_chance", {ItemPowerField, 2, 0}),
           scalar("weight", {ItemWeightAndBreak, 0, 2}),
           scalar("breaks_into", {ItemWeightAndBreak, 2, 0}, Words::Item),
           split("price", {{ItemPriceLow, 0, 4}, {ItemPriceHigh, 0, 4}}),
           flag("protects_breath1", {ItemPriceHigh, 4, 0})}};
}

// Attack k (1..6) keeps its die size, dice and bonus in fields 3k-2, 3k-1, 3k.
std::vector<Slot> attackDigits(int part) {
  std::vector<Slot> slots;
  for (int k = 1; k <= 6; ++k) slots.push_back({3 * k - 2 + part, 0, 2});
  return slots;
}

Schema makeMonster() {
  return {MonsterTableFields,
          {whole("experience", MonsterExperience, Words::None, -30000),
           scalar("attacks", {MonsterType, 2, 1}),
           scalar("type", {MonsterType, 3, 0}),
           scalar("level", {MonsterLevel, 2, 0}),
           scalar("ac", {MonsterArmour, 2, 2}, Words::None, 70),
           flag("long_reach", {MonsterArmour, 4, 0}),
           scalar("hp_base", {MonsterHitBase, 2, 2}),
           scalar("stare", {MonsterHitBase, 4, 0}, Words::Flag),
           scalar("hp_sides", {MonsterHitSides, 2, 2}),
           flag("poison_touch", {MonsterHitSides, 4, 0}),
           scalar("hp_dice", {MonsterHitDice, 2, 0}),
           scalar("group_sides", {MonsterGroupSides, 2, 1}),
           scalar("holy_spell_level", {MonsterGroupSides, 3, 1}),
           flag("petrify_touch", {MonsterGroupSides, 4, 0}),
           scalar("group_dice", {MonsterGroupDice, 2, 1}),
           scalar("magic_spell_level", {MonsterGroupDice, 3, 1}),
           flag("deadly_touch", {MonsterGroupDice, 4, 0}),
           scalar("group_base", {MonsterGroupBase, 2, 1}),
           scalar("breath", {MonsterGroupBase, 3, 1}),
           scalar("drain_levels", {MonsterDrain, 2, 1}),
           scalar("paralysing_touch", {MonsterDrain, 3, 1}, Words::Flag),
           scalar("agility_dice", {MonsterAgilityDice, 2, 1}),
           scalar("agility_sides", {MonsterAgilityDice, 3, 1}),
           flag("flees_when_weak", {MonsterAgilityDice, 4, 0}),
           scalar("agility_base", {MonsterAgilityBase, 2, 2}),
           flag("calls_for_help", {MonsterAgilityBase, 4, 0}),
           flag("never_negotiates", {MonsterNegotiation, 4, 0}),
           same("treasure_class", {{MonsterGold, 2, 2}, {MonsterTreasure, 2, 2}}),
           scalar("gold_class", {MonsterGold, 2, 2}),
           scalar("item_class", {MonsterTreasure, 2, 2}),
           flag("no_escape", {MonsterTreasure, 4, 0}),
           scalar("resistance", {MonsterResistance, 2, 0}),
           scalar("companion", {MonsterCompanion, 2, 0}, Words::Monster),
           scalar("companion_chance", {MonsterCompanionChance, 2, 0}),
           list("attack_sides", attackDigits(0)),
           list("attack_dice", attackDigits(1)),
           list("attack_bonus", attackDigits(2)),
           scalar("picture_unknown", {MonsterPicture, 0, 2}),
           scalar("picture", {MonsterPicture, 2, 0})}};
}

Schema makeSpell() {
  return {SpellTableFields,
          {flag("exists", {SpellKindAndListing, 0, 1}, 1),
           scalar("chance", {SpellKindAndListing, 1, 3}),
           scalar("cost_flags", {SpellKindAndListing, 4, 0}), scalar("level", {SpellLevel, 0, 1}),
           scalar("school", {SpellLevel, 2, 1}), scalar("mp_cost", {SpellLevel, 3, 0}),
           whole("effect", SpellEffect), list("params", wholeFields(SpellScope, 3))}};
}

Schema makeTrap() {
  return {2,
          {flag("exists", {TrapExists, 0, 1}, 1), scalar("second_item_chance", {TrapExists, 1, 0}),
           scalar("difficulty", {TrapDifficulty, 0, 1}),
           scalar("third_item_chance", {TrapDifficulty, 1, 0})}};
}

// Trap t may be in the chest when digit 4 - (t MOD 5) of field 9 + INT(t / 5)
// is not 0.
std::vector<Slot> trapDigits() {
  std::vector<Slot> slots;
  for (int t = 0; t < 15; ++t) slots.push_back({FirstTrapDigits + t / 5, 4 - t % 5, 1});
  return slots;
}

Schema makeTreasure() {
  return {
      TreasureTableFields,
      {list("gold_dice",
            {{FirstGoldRoll, 0, 2}, {FirstGoldRoll + 2, 0, 2}, {FirstGoldRoll + 4, 0, 2}}),
       list("gold_sides",
            {{FirstGoldRoll, 2, 0}, {FirstGoldRoll + 2, 2, 0}, {FirstGoldRoll + 4, 2, 0}}),
       list("gold_bonus",
            {{FirstGoldRoll + 1, 0, 2}, {FirstGoldRoll + 3, 0, 2}, {FirstGoldRoll + 5, 0, 2}}),
       list("gold_chance",
            {{FirstGoldRoll + 1, 2, 0}, {FirstGoldRoll + 3, 2, 0}, {FirstGoldRoll + 5, 2, 0}}),
       scalar("multiplier_base", {GoldMultiplier, 0, 1}),
       scalar("multiplier_dice", {GoldMultiplier, 1, 2}),
       scalar("multiplier_sides", {GoldMultiplier, 3, 0}),
       scalar("item_count", {TreasureItems, 0, 2}), scalar("item_chance", {TreasureItems, 2, 0}),
       flag("may_be_untrapped", {TreasureFirstItem, 0, 1}),
       scalar("first_item", {TreasureFirstItem, 2, 0}, Words::Item),
       set("traps", trapDigits(), Words::Trap, 0, 1)}};
}

Schema makeEncounter() {
  return {7,
          {whole("groups", EncounterGroups),
           list("column1", wholeFields(FirstEncounterColumn, 2), Words::Monster),
           list("column2", wholeFields(FirstEncounterColumn + 2, 2), Words::Monster),
           list("column3", wholeFields(FirstEncounterColumn + 4, 2), Words::Monster)}};
}

Schema makeFloorRule() {
  return {2, {flag("restricted", {RestrictedFloor}), whole("rule_value", FloorRuleValue)}};
}

Schema makeFloorHeader() {
  return {4,
          {flag("no_spells", {SpellsBlocked}), whole("map_rule", MapRule),
           whole("alignment_rule", AlignmentRule)}};
}

// Stat k lives in field 10 + INT(k / 2): even stats in the hundreds, odd
// stats in the units.
std::vector<Slot> statDigits() {
  std::vector<Slot> slots;
  for (int k = 0; k < StatCount; ++k)
    slots.push_back({FirstStatPair + k / 2, k % 2 == 0 ? 2 : 0, 2});
  return slots;
}

// Spell s (1..80) is known when digit (s - 1) MOD 5 of field
// 24 + INT((s - 1) / 5) is 1.
std::vector<Slot> knownSpellDigits() {
  std::vector<Slot> slots;
  for (int s = 1; s <= 80; ++s) slots.push_back({FirstSpellField + (s - 1) / 5, (s - 1) % 5, 1});
  return slots;
}

Schema makeCharacter() {
  Codec items = list("items", wholeFields(FirstItemSlot, MaxItemSlots));
  items.shape = Shape::Items;
  return {CharRecFields,
          {whole("status", Status, Words::Status, 0, 1),
           scalar("class", {Identity, 0, 2}, Words::Class),
           scalar("alignment", {Identity, 2, 1}, Words::Alignment),
           scalar("race", {Identity, 3, 1}, Words::Race),
           scalar("sex", {Identity, 4, 0}, Words::Sex),
           scalar("level", {LevelAndFloor, 0, 3}, Words::None, 0, 1),
           scalar("left_on_floor", {LevelAndFloor, 3, 0}),
           scalar("left_y", {LeftAt, 0, 2}),
           scalar("left_x", {LeftAt, 2, 2}),
           scalar("left_facing", {LeftAt, 4, 0}, Words::Direction),
           whole("hp", HitPoints),
           whole("max_hp", MaxHitPoints),
           whole("age_days", AgeDays, Words::None, -32000),
           whole("kills", Kills),
           whole("ac_modifier", ArmourModifier),
           scalar("holy_school", {ChecksumAndSchools, 3, 1}, Words::None, -1, 1),
           scalar("magic_school", {ChecksumAndSchools, 4, 0}, Words::None, -1, 1),
           list("stats", statDigits()),
           scalar("floor_flag", {FloorFlags, 4, 0}),
           items,
           set("spells", knownSpellDigits(), Words::Spell, 1, 1)}};
}

Schema makeCharacterLong() {
  Schema s{CharLongFields,
           {whole("experience", Experience), whole("gold", Gold),
            list("holy_points", wholeFields(HolyPoints, 2)),
            list("magic_points", wholeFields(MagicPoints, 2))}};
  s.largest = 2'147'483'647;
  return s;
}

Schema makePartyState() {
  return {19,
          {scalar("floor", {FloorAndFacing, 2, 0}),
           scalar("facing", {FloorAndFacing, 0, 2}, Words::Direction), scalar("x", {Square, 2, 0}),
           scalar("y", {Square, 0, 2}), whole("light", LightEffect),
           whole("protection", ProtectionEffect), whole("identification", IdentifyEffect),
           list("previous", wholeFields(PreviousFloorAndFacing, 2)),
           whole("levitation", LevitationEffect), whole("invisibility", InvisibilityEffect),
           whole("timed_effect", TimedEffect)}};
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
