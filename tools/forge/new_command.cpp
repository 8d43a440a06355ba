#include <fstream>
#include <iostream>

#include "commands.h"

namespace kestrun::forge {

namespace fs = std::filesystem;

namespace {

// A small scenario that checks clean, builds and plays: one floor, one
// record of each kind, and a roster with one adventurer ready in town.
// "@LETTER@" stands for the scenario's letter.
constexpr const char* kScenario =
    R"toml(# A new scenario, written by kestrun-forge new. Edit it, then:
#   kestrun-forge check .       lists every problem, each at its line
#   kestrun-forge build . OUT   writes the files the game plays into OUT
# Every key is described in docs/scenario-format.md.

letter = "@LETTER@"
title = "はじめの迷宮"
# Party room, shop, inn, temple, castle.
facilities = ["酒場", "商店", "宿屋", "寺院", "城"]
# Item types 0..6.
item_types = ["武器", "鎧", "盾", "兜", "小手", "装身具", "道具"]
# Every roster and floor file carries this number.
id = 4242

[settings]
key = 1234
# Compared with a draw of 0..(510 - 10 x floor) at every step.
encounter_chance = 20
alignments = true
used_stats = ["strength", "health", "knowledge", "faith", "agility", "dexterity", "luck", "charm"]
# Race value + 8 at creation, + 10 in play.
stat_limit_creation = 58
stat_limit_play = 60
inn_prices = [0, 5, 30, 100, 300]
inn_healing = [3, 8, 20]
temple_charges = [20, 40, 100, 150, 400]
# The number of the deepest floor file.
deepest_floor = 1
party_size = 6
front_rank = 3
# The castle's lord asks for this item; the guardian of floor 1 holds it.
quest_item = "古びた鍵"
item_slots = 8
holy_spell_levels = 5
magic_spell_levels = 5
spell_point_mode = 1
sell_percent = 50
identify_percent = 50
uncurse_percent = 80
stat_change_rate = 4
trap_damage_percent = 20
quest_reward_experience = 1
quest_reward_gold = 1

[[race]]
number = 0
name = "人間"
stats = [8, 8, 8, 8, 8, 8, 8, 8]
life_span = 90

[[class]]
# The number is the skill combination: 0 is combat alone.
number = 0
name = "戦士"
skills = ["combat"]
min_stats = [10, 0, 0, 0, 0, 0, 0, 0]
exp_base = 500
exp_factor = 1.7
hp_die = 8
hp_base = 3
first_hp_die = 10

[[spell]]
# Holy spells are 1..40, magic spells 41..80. Effect 1 heals.
number = 1
name = "癒し"
chance = 80
level = 1
effect = 1
params = [2, 8, 1]

[[item]]
# Item 0 is the empty slot: keep it neutral.
number = 0
name = ""

[[item]]
number = 1
name = "棍棒"
unknown_name = "棒"
stock = 9999
type = "武器"
damage_dice = 1
damage_sides = 6
price = 15

[[item]]
# The quest item. The shop never sells it; its price lets the shop
# identify it, or the lord would not know it.
number = 2
name = "古びた鍵"
unknown_name = "鍵"
type = "道具"
price = 100

[[monster]]
number = 1
name = "大ねずみ"
unknown_name = "獣"
experience = 40
type = 1
level = 1
ac = 8
hp_base = 2
hp_sides = 4
hp_dice = 1
attacks = 1
attack_sides = [3, 0, 0, 0, 0, 0]
attack_dice = [1, 0, 0, 0, 0, 0]
group_base = 1
group_dice = 1
group_sides = 3
agility_base = 2
agility_dice = 1
agility_sides = 6
# The treasure class of its gold; classes 15 and up also leave a chest.
treasure_class = 0

[[trap]]
number = 0
name = "毒針"
difficulty = 2

[[treasure]]
# Class 0 also holds the traps of a guardian's chest.
number = 0
gold_dice = [2, 0, 0]
gold_sides = [6, 0, 0]
gold_chance = [100, 0, 0]
multiplier_base = 1
may_be_untrapped = true
traps = ["毒針"]

[[encounter]]
# Random battles on floor 1: each column from its lowest to its highest
# monster.
floor = 1
groups = 1
column1 = ["大ねずみ", "大ねずみ"]
column2 = ["大ねずみ", "大ねずみ"]
column3 = ["大ねずみ", "大ねずみ"]

[[floor_rule]]
floor = 1
restricted = false
)toml";

constexpr const char* kFloor =
    R"toml(# Floor 1. The party comes down the stairs up (U) at (1, 1), the first
# stairs up of floor 1. A message (m) and a message file (c) are beside
# them, the north-east corner of the room is dark (~), and a door (D)
# leads east to the guardian (code 23) that holds the quest item.
texts = ["鍵の番人が東にいる"]

map = '''
      0   1   2   3   4   5   6   7   8   9   10  11  12  13  14  15  16  17  18  19
    +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +
 19
    +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +
 18
    +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +
 17
    +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +
 16
    +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +
 15
    +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +
 14
    +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +
 13
    +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +
 12
    +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +
 11
    +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +
 10
    +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +
  9
    +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +
  8
    +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +
  7
    +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +
  6
    +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +
  5
    +   +---+---+---+---+---+---+---+---+   +   +   +   +   +   +   +   +   +   +   +
  4     | m       ~   ~ |               |
    +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +
  3     |     c       ~ |         23    |
    +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +
  2     |               D               |
    +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +
  1     | U             |               |
    +   +---+---+---+---+---+---+---+---+   +   +   +   +   +   +   +   +   +   +   +
  0
    +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +   +
'''

[[square]]
# Up from floor 1 is the town.
at = [1, 1]

[[square]]
at = [1, 4]
text = 1
facing = ["north"]

[[square]]
at = [2, 3]
message = 1

[[square]]
# Fights until it is beaten once; its chest holds the items.
at = [7, 3]
monster = "大ねずみ"
items = ["古びた鍵"]
)toml";

constexpr const char* kRoster =
    R"toml(# One adventurer, in the party and in town. Messages do not pause.
message_time = 0

[party]
members = ["アキ"]

[[character]]
name = "アキ"
class = "戦士"
race = "人間"
alignment = "good"
hp = 14
max_hp = 14
stats = [14, 12, 8, 8, 11, 9, 8, 8]
gold = 200
items = [{ item = "棍棒", equipped = true, identified = true }]
)toml";

constexpr const char* kMessage = "古い石に文字が刻まれている。\n「鍵を城へ持ち帰れ」\n";

std::string withLetter(std::string text, const std::string& letter) {
  const std::string mark = "@LETTER@";
  for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark))
    text.replace(at, mark.size(), letter);
  return text;
}

void writeText(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  if (!out.flush()) throw fs::filesystem_error("cannot write", path, {});
}

}  // namespace

int newCommand(const fs::path& dir, const std::string& letter, std::ostream& out,
               std::ostream& err) {
  if (letter.size() != 1 || !std::isalnum(static_cast<unsigned char>(letter[0]))) {
    err << "kestrun-forge: the letter must be one half-width digit or letter\n";
    return 1;
  }
  try {
    if (fs::exists(dir) && !(fs::is_directory(dir) && fs::is_empty(dir))) {
      err << "kestrun-forge: " << dir.string() << " already exists and is not an empty folder\n";
      return 1;
    }
    fs::create_directories(dir / "messages");
    writeText(dir / "scenario.toml", withLetter(kScenario, letter));
    writeText(dir / "floor-1.toml", kFloor);
    writeText(dir / "roster.toml", kRoster);
    writeText(dir / "messages" / "1.txt", kMessage);
  } catch (const fs::filesystem_error& e) {
    err << "kestrun-forge: " << e.what() << "\n";
    return 1;
  }
  out << "wrote a new scenario " << letter << " into " << dir.string()
      << "; try: kestrun-forge check " << dir.string() << "\n";
  return 0;
}

}  // namespace kestrun::forge
