#include "roster_source.h"

#include <cmath>
#include <sstream>

#include "game/state/fields.h"
#include "runtime/sjis.h"
#include "scenario_source.h"
#include "schemas.h"

namespace kestrun::forge {

namespace {

// Only the named keys of a schema (CharRec's raw "fN" keys are not CharLong's).
toml::table onlyKeys(const toml::table& table, const std::set<std::string>& keys) {
  toml::table subset;
  for (const auto& [key, node] : table) {
    if (keys.count(std::string(key.str()))) subset.insert(key, node);
  }
  return subset;
}

// AutoMap(x, y, INT((f - 1) / 5)) digit (f - 1) MOD 5 marks square (x, y) of
// floor f as visited.
int automapLayer(int floor) {
  return (floor - 1) / 5;
}
double automapUnit(int floor) {
  return std::pow(10.0, (floor - 1) % 5);
}

bool isPlainAutomap(double v) {
  return std::floor(v) == v && v >= 0 && v < 100000;
}

class RosterReader {
 public:
  RosterReader(const SourceFile& file, const Vocabularies& words, Problems& problems,
               RosterSource& out)
      : r_(file, problems), root_(file.root()), words_(words), out_(out) {}

  void read() {
    r_.rejectUnknownKeys(root_, {"key", "message_time", "party", "shop", "automap", "character"});
    if (const toml::node* key = root_.get("key")) {
      if (auto v = r_.whole(*key, "key")) out_.key = static_cast<int32_t>(*v);
    }
    if (const toml::node* time = root_.get("message_time")) {
      if (auto v = r_.whole(*time, "message_time"))
        out_.tables.ShopStock(game::StockedMessageTime) = *v;
    }
    readCharacters();
    readParty();
    readShop();
    readAutomap();
  }

 private:
  const toml::table* table(const char* key) {
    const toml::node* node = root_.get(key);
    if (!node) return nullptr;
    if (!node->is_table()) {
      r_.report(*node, std::string(key) + " must be a table: [" + key + "]");
      return nullptr;
    }
    return node->as_table();
  }

  void readCharacters() {
    const toml::node* node = root_.get("character");
    if (!node) return;
    const auto* list = node->as_array();
    if (!list || !list->is_array_of_tables()) {
      r_.report(*node, "character must be written as [[character]]");
      return;
    }
    characters_.setWhat("character");
    std::set<std::string> known = keysOf(schemas::character());
    for (const auto& key : keysOf(schemas::characterLong())) known.insert(key);
    known.insert({"slot", "name"});
    std::set<int> used;
    int next = 0, number = 0;
    for (const toml::node& entry : *list) {
      const toml::table& character = *entry.as_table();
      r_.rejectUnknownKeys(character, known, isRawFieldKey);
      auto slot = slotOf(character, entry, used, next);
      ++number;
      if (!slot) continue;
      readCharacter(character, *slot, number);
    }
  }

  std::optional<int> slotOf(const toml::table& character, const toml::node& entry,
                            std::set<int>& used, int& next) {
    int slot;
    if (const toml::node* node = character.get("slot")) {
      auto v = r_.whole(*node, "character slot");
      if (!v) return std::nullopt;
      if (*v < 0 || *v > 19) {
        r_.report(*node, "character slot must be between 0 and 19");
        return std::nullopt;
      }
      slot = static_cast<int>(*v);
    } else {
      while (used.count(next)) ++next;
      slot = next;
    }
    if (slot > 19) {
      r_.report(entry, "a roster holds at most 20 characters");
      return std::nullopt;
    }
    if (!used.insert(slot).second) {
      r_.report(entry, "character slot " + std::to_string(slot) + " is given twice");
      return std::nullopt;
    }
    return slot;
  }

  // Problems name the character by its place among the [[character]]
  // entries, counted from 1, and by its name.
  void readCharacter(const toml::table& character, int slot, int number) {
    auto& t = out_.tables;
    std::string name;
    const toml::node* nameNode = character.get("name");
    if (nameNode && nameNode->as_string()) name = nameNode->as_string()->get();
    const std::string what =
        "character " + std::to_string(number) + (name.empty() ? "" : " \"" + name + "\"");
    if (nameNode) {
      if (auto n = r_.itemText(*nameNode, what + " name", limits::kCharacter))
        t.CharName(slot) = *n;
    }
    characters_.define(slot, name);
    std::vector<double> fields;
    packRecord(schemas::character(), character, r_, words_, what, fields);
    out_.leftOn.push_back({r_.at(character), static_cast<int>(std::floor(fields[2] / 1000))});
    for (int f = 0; f < 40; ++f) t.CharRec(slot, f) = static_cast<float>(fields[f]);
    const toml::table longs = onlyKeys(character, keysOf(schemas::characterLong()));
    packRecord(schemas::characterLong(), longs, r_, words_, what, fields);
    for (int f = 0; f < 6; ++f) t.CharLong(slot, f) = static_cast<int32_t>(fields[f]);
  }

  void readParty() {
    const toml::table* party = table("party");
    if (!party) return;
    out_.partyPlace = r_.at(*party);
    std::set<std::string> known = keysOf(schemas::partyState());
    known.insert("members");
    r_.rejectUnknownKeys(*party, known, isRawFieldKey);
    std::vector<double> fields;
    packRecord(schemas::partyState(), *party, r_, words_, "party", fields);
    if (const toml::node* members = party->get("members")) readMembers(*members, fields);
    for (int n = 0; n < 19; ++n) out_.tables.GameState(n) = static_cast<float>(fields[n]);
  }

  // GameState(MemberCount) the number of members, (1..8) their slots + 1.
  void readMembers(const toml::node& node, std::vector<double>& fields) {
    const auto* list = node.as_array();
    if (!list || list->size() > 8) {
      r_.report(node, "party members must be a list of at most 8 characters");
      return;
    }
    for (int i = 0; i <= 8; ++i) fields[i] = 0;
    fields[0] = static_cast<double>(list->size());
    std::set<int> seen;
    for (size_t i = 0; i < list->size(); ++i) {
      auto slot = characters_.resolve(*list->get(i), r_, "party members");
      if (!slot) continue;
      if (!seen.insert(*slot).second) {
        r_.report(*list->get(i), "party members: a character can be in the party only once");
      }
      fields[i + 1] = *slot + 1;
    }
  }

  void readShop() {
    const toml::table* shop = table("shop");
    if (!shop) return;
    r_.rejectUnknownKeys(*shop, {"stock"});
    const toml::node* node = shop->get("stock");
    if (!node) return;
    const auto* list = node->as_array();
    if (!list) {
      r_.report(*node, "shop stock must be a list of [item, count] pairs");
      return;
    }
    for (const toml::node& entry : *list) {
      const auto* pair = entry.as_array();
      if (!pair || pair->size() != 2) {
        r_.report(entry, "shop stock: each entry is [item, count]");
        continue;
      }
      auto item = words_.item.resolve(*pair->get(0), r_, "shop stock");
      auto count = r_.whole(*pair->get(1), "shop stock count");
      if (!item || !count) continue;
      if (*item < 1) {
        r_.report(entry, "shop stock: items are numbered from 1");
        continue;
      }
      out_.tables.ShopStock(*item) = static_cast<float>(*count);
    }
  }

  void readAutomap() {
    const toml::table* automap = table("automap");
    if (!automap) return;
    std::set<std::string> known = {"raw"};
    for (int f = 1; f <= 15; ++f) known.insert("floor" + std::to_string(f));
    r_.rejectUnknownKeys(*automap, known);
    for (int f = 1; f <= 15; ++f) {
      if (const toml::node* node = automap->get("floor" + std::to_string(f))) {
        readVisited(*node, f);
      }
    }
    if (const toml::node* raw = automap->get("raw")) readRawAutomap(*raw);
  }

  // 20 lines of 20 characters, y = 19 first: '.' not visited, a digit 1..9
  // visited (the digit is stored as it is).
  void readVisited(const toml::node& node, int floor) {
    auto text = r_.string(node, "automap");
    if (!text) return;
    std::istringstream in(*text);
    std::string line;
    int y = 19;
    const int base = r_.at(node).line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const Place place = r_.file().atLine(base + 20 - y);
      if (y < 0) {
        if (line.find_first_not_of(' ') != std::string::npos) {
          r_.problems().add(place, "an automap drawing has 20 lines");
        }
        continue;
      }
      if (line.size() > 20) r_.problems().add(place, "an automap line has 20 squares");
      for (int x = 0; x < 20 && x < static_cast<int>(line.size()); ++x) {
        const char c = line[x];
        if (c == '.' || c == ' ') continue;
        if (c < '1' || c > '9') {
          r_.problems().add(place,
                            std::string("automap: '") + c + "' is neither '.' nor a digit 1 to 9");
          continue;
        }
        out_.tables.AutoMap(x, y, automapLayer(floor)) += (c - '0') * automapUnit(floor);
      }
      --y;
    }
  }

  void readRawAutomap(const toml::node& node) {
    const auto* list = node.as_array();
    if (!list) {
      r_.report(node, "automap raw must be a list of [x, y, k, value]");
      return;
    }
    for (const toml::node& entry : *list) {
      const auto* e = entry.as_array();
      if (!e || e->size() != 4) {
        r_.report(entry, "automap raw: each entry is [x, y, k, value]");
        continue;
      }
      auto x = r_.whole(*e->get(0), "automap x"), y = r_.whole(*e->get(1), "automap y"),
           k = r_.whole(*e->get(2), "automap k"), v = r_.whole(*e->get(3), "automap value");
      if (!x || !y || !k || !v) continue;
      if (*x < 0 || *x > 19 || *y < 0 || *y > 19 || *k < 0 || *k > 2) {
        r_.report(entry, "automap raw: x and y are 0 to 19, k 0 to 2");
        continue;
      }
      out_.tables.AutoMap(*x, *y, *k) = static_cast<float>(*v);
    }
  }

  Reader r_;
  const toml::table& root_;
  const Vocabularies& words_;
  RosterSource& out_;
  Vocabulary characters_;
};

// ---- writing ----

void writeCharacters(TomlWriter& out, const game::RosterTables& t, const Vocabularies& words) {
  for (int slot = 0; slot < 20; ++slot) {
    std::vector<double> rec(40), longs(6);
    bool used = !t.CharName(slot).empty();
    for (int f = 0; f < 40; ++f) {
      rec[f] = t.CharRec(slot, f);
      if (f == 9) rec[f] -= std::fmod(rec[f], 1000);
      if (rec[f] != 0) used = true;
    }
    for (int f = 0; f < 6; ++f) {
      longs[f] = t.CharLong(slot, f);
      if (longs[f] != 0) used = true;
    }
    if (!used) continue;
    out.arrayTable("character");
    out.put("slot", Value::of(slot));
    if (!t.CharName(slot).empty()) out.put("name", Value::ofText(rt::toUtf8(t.CharName(slot))));
    for (const auto& [key, value] : unpackRecord(schemas::character(), rec, words)) {
      out.put(key, value);
    }
    for (const auto& [key, value] : unpackRecord(schemas::characterLong(), longs, words)) {
      out.put(key, value);
    }
  }
}

void writeParty(TomlWriter& out, const game::RosterTables& t, const Vocabularies& words) {
  std::vector<double> state(19);
  for (int n = 0; n < 19; ++n) state[n] = t.GameState(n);
  const int count = static_cast<int>(state[0]);
  bool plainMembers = count >= 0 && count <= 8;
  Value members = Value::array();
  for (int i = 1; i <= 8 && plainMembers; ++i) {
    const double slot = state[i] - 1;
    if (i <= count && slot >= 0 && slot <= 19 && std::floor(slot) == slot) {
      members.items.push_back(Value::of(slot));
    } else if (state[i] != 0) {
      plainMembers = false;
    }
  }
  if (plainMembers) {
    for (int i = 0; i <= 8; ++i) state[i] = 0;
  }
  auto keys = unpackRecord(schemas::partyState(), state, words);
  if (keys.empty() && (!plainMembers || members.items.empty())) return;
  out.table("party");
  if (plainMembers && !members.items.empty()) out.put("members", members);
  for (const auto& [key, value] : keys) out.put(key, value);
}

void writeShop(TomlWriter& out, const game::RosterTables& t, const game::ScenarioTables& scenario,
               const Vocabularies& words) {
  Value stock = Value::array();
  for (int i = 1; i <= 120; ++i) {
    if (t.ShopStock(i) == scenario.InitialStock(i)) continue;
    auto word = words.item.wordFor(i);
    stock.items.push_back(
        Value::array({word ? Value::ofText(*word) : Value::of(i), Value::of(t.ShopStock(i))}));
  }
  if (stock.items.empty()) return;
  out.table("shop");
  out.put("stock", stock);
}

void writeAutomap(TomlWriter& out, const game::RosterTables& t) {
  std::vector<std::pair<std::string, std::string>> floors;
  for (int f = 1; f <= 15; ++f) {
    std::string drawing;
    bool visited = false;
    for (int y = 19; y >= 0; --y) {
      for (int x = 0; x < 20; ++x) {
        const double v = t.AutoMap(x, y, automapLayer(f));
        const int digit =
            isPlainAutomap(v) ? static_cast<int>(std::fmod(std::floor(v / automapUnit(f)), 10)) : 0;
        drawing += digit == 0 ? '.' : static_cast<char>('0' + digit);
        visited = visited || digit != 0;
      }
      drawing += "\n";
    }
    if (visited) floors.emplace_back("floor" + std::to_string(f), drawing);
  }
  Value raw = Value::array();
  for (int k = 0; k < 3; ++k) {
    for (int x = 0; x < 20; ++x) {
      for (int y = 0; y < 20; ++y) {
        const double v = t.AutoMap(x, y, k);
        if (isPlainAutomap(v)) continue;
        raw.items.push_back(Value::array({Value::of(x), Value::of(y), Value::of(k), Value::of(v)}));
      }
    }
  }
  if (floors.empty() && raw.items.empty()) return;
  out.table("automap");
  for (const auto& [key, drawing] : floors) out.putBlock(key, drawing);
  if (!raw.items.empty()) out.put("raw", raw);
}

}  // namespace

RosterSource newRoster(const game::ScenarioTables& scenario) {
  RosterSource roster;
  for (int i = 1; i <= 120; ++i) roster.tables.ShopStock(i) = scenario.InitialStock(i);
  roster.tables.ShopStock(game::StockedMessageTime) = kDefaultMessageTime;
  return roster;
}

RosterSource readRosterSource(const SourceFile& file, const game::ScenarioTables& scenario,
                              const Vocabularies& words, Problems& problems) {
  RosterSource roster = newRoster(scenario);
  RosterReader(file, words, problems, roster).read();
  return roster;
}

std::string writeRosterSource(const game::RosterTables& t, int32_t key,
                              const game::ScenarioTables& scenario, const Vocabularies& words) {
  TomlWriter out;
  out.comment("Roster source written by kestrun-forge dump; see docs/scenario-format.md.");
  out.put("key", Value::of(key));
  out.put("message_time", Value::of(t.ShopStock(game::StockedMessageTime)));
  writeParty(out, t, words);
  writeShop(out, t, scenario, words);
  writeAutomap(out, t);
  writeCharacters(out, t, words);
  return out.text();
}

}  // namespace kestrun::forge
