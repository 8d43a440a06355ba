#include "scenario_source.h"

#include <functional>
#include <map>

#include "game/state/fields.h"
#include "runtime/sjis.h"
#include "schemas.h"

namespace kestrun::forge {

namespace {

using game::ScenarioTables;

struct NameKey {
  const char* key;
  size_t limit;
  std::function<std::string&(ScenarioTables&, int)> text;
};

// One kind of record of scenario.toml: [[item]], [[class]] ...
struct RecordKind {
  const char* key;
  const char* numberKey;
  int first, last;
  int rowOffset;  // table row = number - rowOffset
  const Schema& (*schema)();
  Words words;  // the vocabulary its first name defines
  std::vector<NameKey> names;
  std::function<float&(ScenarioTables&, int row, int field)> field;
};

const std::vector<RecordKind>& recordKinds() {
  static const std::vector<RecordKind> kinds = {
      {"race",
       "number",
       0,
       7,
       0,
       schemas::race,
       Words::Race,
       {{"name", limits::kRace,
         [](ScenarioTables& t, int r) -> std::string& { return t.RaceName(r); }}},
       [](ScenarioTables& t, int r, int f) -> float& { return t.RaceTable(r, f); }},
      {"class",
       "number",
       0,
       14,
       0,
       schemas::klass,
       Words::Class,
       {{"name", limits::kClass,
         [](ScenarioTables& t, int c) -> std::string& { return t.ClassName(c); }}},
       [](ScenarioTables& t, int c, int f) -> float& {
         return f < 18 ? t.ClassTable(c, f) : t.ClassExpPart(c, f - 18);
       }},
      {"spell",
       "number",
       0,
       80,
       0,
       schemas::spell,
       Words::Spell,
       {{"name", limits::kSpell,
         [](ScenarioTables& t, int s) -> std::string& { return t.SpellName(s); }}},
       [](ScenarioTables& t, int s, int f) -> float& { return t.SpellTable(s, f); }},
      {"trap",
       "number",
       0,
       14,
       0,
       schemas::trap,
       Words::Trap,
       {{"name", limits::kTrap,
         [](ScenarioTables& t, int n) -> std::string& { return t.TrapName(n); }}},
       [](ScenarioTables& t, int n, int f) -> float& { return t.TrapTable(n, f); }},
      {"item",
       "number",
       0,
       120,
       0,
       schemas::item,
       Words::Item,
       {{"name", limits::kItem,
         [](ScenarioTables& t, int i) -> std::string& { return t.ItemName(i, 0); }},
        {"unknown_name", limits::kItem,
         [](ScenarioTables& t, int i) -> std::string& { return t.ItemName(i, 1); }}},
       [](ScenarioTables& t, int i, int f) -> float& { return t.ItemTable(i, f); }},
      {"monster",
       "number",
       0,
       119,
       0,
       schemas::monster,
       Words::Monster,
       {{"name", limits::kMonster,
         [](ScenarioTables& t, int m) -> std::string& { return t.MonsterName(m, 0); }},
        {"unknown_name", limits::kMonster,
         [](ScenarioTables& t, int m) -> std::string& { return t.MonsterName(m, 1); }}},
       [](ScenarioTables& t, int m, int f) -> float& { return t.MonsterTable(m, f); }},
      {"treasure",
       "number",
       0,
       29,
       0,
       schemas::treasure,
       Words::None,
       {},
       [](ScenarioTables& t, int k, int f) -> float& { return t.TreasureTable(k, f); }},
      {"encounter",
       "floor",
       1,
       15,
       1,
       schemas::encounter,
       Words::None,
       {},
       [](ScenarioTables& t, int r, int f) -> float& { return t.FloorEncounter(r, f); }},
      {"floor_rule",
       "floor",
       1,
       15,
       1,
       schemas::floorRule,
       Words::None,
       {},
       [](ScenarioTables& t, int r, int f) -> float& { return t.FloorRule(r, f); }},
  };
  return kinds;
}

const RecordKind& kindOf(const char* key) {
  for (const auto& kind : recordKinds()) {
    if (std::string_view(kind.key) == key) return kind;
  }
  throw std::logic_error("no record kind");
}

bool isItemKind(const RecordKind& kind) {
  return std::string_view(kind.key) == "item";
}

// InitialStock(MapAlwaysAllowed) is no stock but the map flag (map_always_allowed).
bool hasStock(const RecordKind& kind, int number) {
  return isItemKind(kind) && number > 0;
}

std::string utf8Of(const std::string& sjis) {
  return rt::toUtf8(sjis);
}

class ScenarioReader {
 public:
  ScenarioReader(const SourceFile& file, Problems& problems, ScenarioSource& out)
      : reader_(file, problems), root_(file.root()), out_(out) {}

  void read() {
    reader_.rejectUnknownKeys(root_, topKeys());
    readLetter();
    readTexts();
    readIdentity();
    schemas::addFixedWords(out_.words);
    out_.words.item.allow(0);
    out_.words.spell.allow(0);
    for (const auto& kind : recordKinds()) defineNames(kind);
    for (const auto& kind : recordKinds()) readRecords(kind);
    readSettings();
  }

 private:
  static std::set<std::string> topKeys() {
    std::set<std::string> keys = {"letter", "title",    "facilities",         "item_types",
                                  "id",     "id_extra", "map_always_allowed", "settings"};
    for (const auto& kind : recordKinds()) keys.insert(kind.key);
    return keys;
  }

  void readLetter() {
    const toml::node* node = root_.get("letter");
    if (!node) {
      reader_.problems().add(reader_.file().atLine(1),
                             "letter is missing: give the scenario's one-character name");
      return;
    }
    auto letter = reader_.string(*node, "letter");
    if (!letter) return;
    if (letter->size() != 1 || !std::isalnum(static_cast<unsigned char>((*letter)[0]))) {
      reader_.report(*node, "letter must be one half-width digit or letter");
      return;
    }
    out_.letter = *letter;
  }

  void readTexts() {
    auto& text = out_.tables.ScenarioText;
    if (const toml::node* title = root_.get("title")) {
      if (auto t = reader_.itemText(*title, "title", limits::kTitle)) text(0) = *t;
    }
    readTextList("facilities", 1, 5, limits::kFacility);
    readTextList("item_types", 6, 7, limits::kItemType);
    out_.words.itemType.setWhat("item type");
    for (int type = 0; type < 10; ++type) {
      out_.words.itemType.define(type, type < 7 ? utf8Of(text(type + 6)) : "");
    }
  }

  void readTextList(const char* key, int first, size_t count, size_t limit) {
    const toml::node* node = root_.get(key);
    if (!node) return;
    const auto* list = node->as_array();
    if (!list || list->size() > count) {
      reader_.report(*node, std::string(key) + " must be a list of at most " +
                                std::to_string(count) + " texts");
      return;
    }
    for (size_t i = 0; i < list->size(); ++i) {
      if (auto t = reader_.itemText(*list->get(i), key, limit)) {
        out_.tables.ScenarioText(first + static_cast<int>(i)) = *t;
      }
    }
  }

  void readIdentity() {
    auto& t = out_.tables;
    if (const toml::node* id = root_.get("id")) {
      if (auto v = reader_.whole(*id, "id")) t.ScenarioId(0) = static_cast<float>(*v);
    } else {
      reader_.problems().add(reader_.file().atLine(1),
                             "id is missing: give the scenario's identity number");
    }
    if (const toml::node* extra = root_.get("id_extra")) {
      const auto* list = extra->as_array();
      if (!list || list->size() != 2) {
        reader_.report(*extra, "id_extra must be a list of 2 numbers");
      } else {
        for (int i = 0; i < 2; ++i) {
          if (auto v = reader_.whole(*list->get(i), "id_extra")) {
            t.ScenarioId(i + 1) = static_cast<float>(*v);
          }
        }
      }
    }
    if (const toml::node* map = root_.get("map_always_allowed")) {
      if (auto v = reader_.whole(*map, "map_always_allowed")) {
        t.InitialStock(game::MapAlwaysAllowed) = static_cast<float>(*v);
      }
    }
  }

  // Calls `visit` with the number and table of every well-numbered record.
  template <typename Visit>
  void eachRecord(const RecordKind& kind, Visit visit) {
    const toml::node* node = root_.get(kind.key);
    if (!node) return;
    const auto* records = node->as_array();
    if (!records || !records->is_array_of_tables()) {
      reader_.report(*node, std::string(kind.key) + " must be written as [[" + kind.key + "]]");
      return;
    }
    std::set<int> seen;
    for (const toml::node& entry : *records) {
      const toml::table& table = *entry.as_table();
      auto number = recordNumber(kind, table, entry);
      if (!number) continue;
      const std::string record = std::string(kind.key) + " " + std::to_string(*number);
      out_.places.emplace(record, reader_.at(entry));
      for (const auto& [key, value] : table)
        out_.places.emplace(record + "." + std::string(key.str()), reader_.at(value));
      if (!seen.insert(*number).second) {
        reader_.report(entry,
                       std::string(kind.key) + " " + std::to_string(*number) + " is given twice");
        continue;
      }
      visit(*number, table);
    }
  }

  std::optional<int> recordNumber(const RecordKind& kind, const toml::table& table,
                                  const toml::node& entry) {
    const toml::node* node = table.get(kind.numberKey);
    const std::string what = std::string(kind.key) + " " + kind.numberKey;
    if (!node) {
      reader_.report(entry, std::string(kind.key) + " needs its " + kind.numberKey);
      return std::nullopt;
    }
    auto n = reader_.whole(*node, what);
    if (!n) return std::nullopt;
    if (*n < kind.first || *n > kind.last) {
      reader_.report(*node, what + " must be between " + std::to_string(kind.first) + " and " +
                                std::to_string(kind.last));
      return std::nullopt;
    }
    return static_cast<int>(*n);
  }

  void defineNames(const RecordKind& kind) {
    if (kind.words == Words::None) return;
    Vocabulary& words = *out_.words.of(kind.words);
    words.setWhat(kind.key);
    eachRecord(kind, [&](int number, const toml::table& table) {
      std::string name;
      if (const toml::node* node = table.get("name")) {
        if (auto s = node->as_string()) name = s->get();
      }
      words.define(number, name);
    });
  }

  void readRecords(const RecordKind& kind) {
    const Schema& schema = kind.schema();
    std::set<std::string> known = keysOf(schema);
    known.insert(kind.numberKey);
    for (const auto& name : kind.names) known.insert(name.key);
    if (isItemKind(kind)) known.insert("stock");  // item 0 reports it below
    eachRecord(kind, [&](int number, const toml::table& table) {
      const std::string what = std::string(kind.key) + " " + std::to_string(number);
      reader_.rejectUnknownKeys(table, known, isRawFieldKey);
      const int row = number - kind.rowOffset;
      for (const auto& name : kind.names) {
        if (const toml::node* node = table.get(name.key)) {
          if (std::string_view(kind.key) == "spell" && number == 0) {
            reader_.report(*node, "spell 0 is not a spell and has no name");
            continue;
          }
          if (auto t = reader_.itemText(*node, what + " " + name.key, name.limit)) {
            name.text(out_.tables, row) = *t;
          }
        }
      }
      std::vector<double> fields;
      packRecord(schema, table, reader_, out_.words, what, fields);
      for (int f = 0; f < schema.fieldCount; ++f) {
        kind.field(out_.tables, row, f) = static_cast<float>(fields[f]);
      }
      if (isItemKind(kind)) readStock(table, number, what);
    });
  }

  void readStock(const toml::table& table, int item, const std::string& what) {
    if (const toml::node* node = table.get("stock")) {
      if (item == 0) {
        reader_.report(*node, "item 0 has no stock (its place holds map_always_allowed)");
        return;
      }
      if (auto v = reader_.whole(*node, what + " stock")) {
        out_.tables.InitialStock(item) = static_cast<float>(*v);
      }
    }
  }

  void readSettings() {
    if (const toml::node* node = root_.get("settings"); node && node->as_table()) {
      for (const auto& [key, value] : *node->as_table()) {
        out_.places["settings." + std::string(key.str())] = reader_.at(value);
      }
    }
    const std::vector<double> fields =
        packOptionalTable(schemas::setting(), root_, "settings", reader_, out_.words);
    for (int n = 0; n < game::SettingCount; ++n)
      out_.tables.Setting(n) = static_cast<float>(fields[n]);
  }

  Reader reader_;
  const toml::table& root_;
  ScenarioSource& out_;
};

// Reads a record's fields back out of the tables.
std::vector<double> fieldsOf(const RecordKind& kind, const ScenarioTables& tables, int row) {
  auto& t = const_cast<ScenarioTables&>(tables);
  std::vector<double> fields(kind.schema().fieldCount);
  for (int f = 0; f < kind.schema().fieldCount; ++f) fields[f] = kind.field(t, row, f);
  return fields;
}

// A record is written when anything of it is not 0 or empty.
bool isUsed(const RecordKind& kind, const ScenarioTables& tables, int number) {
  auto& t = const_cast<ScenarioTables&>(tables);
  const int row = number - kind.rowOffset;
  for (double v : fieldsOf(kind, tables, row)) {
    if (v != 0) return true;
  }
  for (const auto& name : kind.names) {
    if (!name.text(t, row).empty()) return true;
  }
  return hasStock(kind, number) && tables.InitialStock(number) != 0;
}

Value textValue(const std::string& sjis) {
  return Value::ofText(utf8Of(sjis));
}

void writeTextList(TomlWriter& out, const char* key, const ScenarioTables& t, int first,
                   int count) {
  Value list = Value::array();
  for (int i = 0; i < count; ++i) list.items.push_back(textValue(t.ScenarioText(first + i)));
  out.put(key, list);
}

void writeRecords(TomlWriter& out, const RecordKind& kind, const ScenarioTables& tables,
                  const Vocabularies& words) {
  auto& t = const_cast<ScenarioTables&>(tables);
  for (int number = kind.first; number <= kind.last; ++number) {
    if (!isUsed(kind, tables, number)) continue;
    const int row = number - kind.rowOffset;
    out.arrayTable(kind.key);
    out.put(kind.numberKey, Value::of(number));
    for (const auto& name : kind.names) {
      const std::string& text = name.text(t, row);
      if (!text.empty()) out.put(name.key, textValue(text));
    }
    if (hasStock(kind, number) && tables.InitialStock(number) != 0) {
      out.put("stock", Value::of(tables.InitialStock(number)));
    }
    for (const auto& [key, value] :
         unpackRecord(kind.schema(), fieldsOf(kind, tables, row), words)) {
      out.put(key, value);
    }
  }
}

}  // namespace

ScenarioSource readScenarioSource(const SourceFile& file, Problems& problems) {
  ScenarioSource source;
  source.file = file.atLine(1);
  ScenarioReader(file, problems, source).read();
  return source;
}

Vocabularies wordsOfTables(const ScenarioTables& tables) {
  Vocabularies words;
  schemas::addFixedWords(words);
  words.item.allow(0);
  words.spell.allow(0);
  words.itemType.setWhat("item type");
  for (int type = 0; type < 10; ++type) {
    words.itemType.define(type, type < 7 ? utf8Of(tables.ScenarioText(type + 6)) : "");
  }
  auto& t = const_cast<ScenarioTables&>(tables);
  for (const auto& kind : recordKinds()) {
    if (kind.words == Words::None) continue;
    Vocabulary& vocabulary = *words.of(kind.words);
    vocabulary.setWhat(kind.key);
    for (int number = kind.first; number <= kind.last; ++number) {
      if (!isUsed(kind, tables, number)) continue;
      vocabulary.define(number, utf8Of(kind.names[0].text(t, number - kind.rowOffset)));
    }
  }
  return words;
}

std::string writeScenarioSource(const ScenarioTables& t, const std::string& letter) {
  const Vocabularies words = wordsOfTables(t);
  TomlWriter out;
  out.comment("Scenario source written by kestrun-forge dump; see docs/scenario-format.md.");
  out.put("letter", Value::ofText(letter));
  out.put("title", textValue(t.ScenarioText(0)));
  writeTextList(out, "facilities", t, 1, 5);
  writeTextList(out, "item_types", t, 6, 7);
  out.put("id", Value::of(t.ScenarioId(0)));
  if (t.ScenarioId(1) != 0 || t.ScenarioId(2) != 0) {
    out.put("id_extra", Value::array({Value::of(t.ScenarioId(1)), Value::of(t.ScenarioId(2))}));
  }
  if (t.InitialStock(game::MapAlwaysAllowed) != 0)
    out.put("map_always_allowed", Value::of(t.InitialStock(game::MapAlwaysAllowed)));

  out.table("settings");
  std::vector<double> settings(74);
  for (int n = 0; n < 74; ++n) settings[n] = t.Setting(n);
  for (const auto& [key, value] : unpackRecord(schemas::setting(), settings, words)) {
    out.put(key, value);
  }
  for (const char* key : {"race", "class", "spell", "item", "monster", "trap", "treasure",
                          "encounter", "floor_rule"}) {
    writeRecords(out, kindOf(key), t, words);
  }
  return out.text();
}

}  // namespace kestrun::forge
