#include "packing.h"

#include <algorithm>
#include <cmath>

namespace kestrun::forge {

namespace {

double tenTo(int k) {
  return std::pow(10.0, k);
}

bool isWholeField(const Slot& s) {
  return s.digit == 0 && s.width == 0;
}

bool fits(const Slot& s, double stored) {
  if (std::floor(stored) != stored) return false;
  if (isWholeField(s)) return true;
  if (stored < 0) return false;
  return s.width == 0 || stored < tenTo(s.width);
}

std::string numberText(double n) {
  return Value::of(n).render();
}

int decimalsOf(int scale) {
  return static_cast<int>(std::lround(std::log10(scale)));
}

// What a codec's value may be, for problem reports.
std::string rangeText(const Codec& c, const Slot& s) {
  const double low = (0.0 - c.bias) / c.scale;
  if (s.width == 0) return "at least " + Value::of(low, decimalsOf(c.scale)).render();
  const double high = (tenTo(s.width) - 1 - c.bias) / c.scale;
  return "between " + Value::of(low, decimalsOf(c.scale)).render() + " and " +
         Value::of(high, decimalsOf(c.scale)).render();
}

class RecordPacker {
 public:
  RecordPacker(const Reader& reader, const Vocabularies& words, const std::string& what,
               double largest, std::vector<double>& fields)
      : reader_(reader), words_(words), what_(what), largest_(largest), fields_(fields) {}

  void apply(const Codec& c, const toml::node& node) {
    const std::string where = what_ + " " + c.key;
    switch (c.shape) {
      case Codec::Shape::Scalar:
        if (auto value = valueOf(c, node, where)) store(c, c.slots[0], *value, node, where);
        break;
      case Codec::Shape::Same:
        if (auto value = valueOf(c, node, where)) {
          for (const Slot& slot : c.slots) store(c, slot, *value, node, where);
        }
        break;
      case Codec::Shape::List:
        applyList(c, node, where);
        break;
      case Codec::Shape::Set:
        applySet(c, node, where);
        break;
      case Codec::Shape::Split:
        applySplit(c, node, where);
        break;
      case Codec::Shape::Items:
        applyItems(c, node, where);
        break;
    }
  }

 private:
  // The value as given, times the codec's scale.
  std::optional<double> valueOf(const Codec& c, const toml::node& node, const std::string& where) {
    if (c.words != Words::None && c.words != Words::Flag) {
      auto n = words_.of(c.words)->resolve(node, reader_, where);
      if (!n) return std::nullopt;
      return static_cast<double>(*n);
    }
    if (c.words == Words::Flag) {
      if (auto b = node.as_boolean()) return b->get() ? 1.0 : 0.0;
    }
    if (c.scale > 1) {
      std::optional<double> given;
      if (auto i = node.as_integer()) given = static_cast<double>(i->get());
      if (auto f = node.as_floating_point()) given = f->get();
      if (!given || !std::isfinite(*given)) {
        reader_.report(node, where + " must be a number");
        return std::nullopt;
      }
      const double scaled = std::round(*given * c.scale);
      if (std::fabs(scaled - *given * c.scale) > 1e-4) {
        reader_.report(
            node, where + " has more than " + std::to_string(decimalsOf(c.scale)) + " decimals");
        return std::nullopt;
      }
      return scaled;
    }
    // A split value spreads over several fields, each of which stays small.
    return reader_.whole(node, where, c.shape == Codec::Shape::Split ? 1e15 : largest_);
  }

  void store(const Codec& c, const Slot& slot, double scaledValue, const toml::node& node,
             const std::string& where) {
    const double stored = scaledValue + c.bias;
    if (!fits(slot, stored)) {
      reader_.report(node, where + " must be " + rangeText(c, slot) + ", not " +
                               Value::of(scaledValue / c.scale, decimalsOf(c.scale)).render());
      return;
    }
    if (!setGroup(fields_[slot.field], slot, stored)) {
      reader_.report(
          node, where + " cannot be combined with the negative raw f" + std::to_string(slot.field));
    }
  }

  void applyList(const Codec& c, const toml::node& node, const std::string& where) {
    const auto* items = node.as_array();
    if (!items || items->size() != c.slots.size()) {
      reader_.report(node,
                     where + " must be a list of " + std::to_string(c.slots.size()) + " values");
      return;
    }
    for (size_t i = 0; i < c.slots.size(); ++i) {
      const toml::node& item = *items->get(i);
      if (auto value = valueOf(c, item, where)) store(c, c.slots[i], *value, item, where);
    }
  }

  void applySet(const Codec& c, const toml::node& node, const std::string& where) {
    const auto* items = node.as_array();
    if (!items) {
      reader_.report(node, where + " must be a list");
      return;
    }
    const int count = static_cast<int>(c.slots.size());
    for (const Slot& slot : c.slots) setGroup(fields_[slot.field], slot, 1 - c.listed);
    for (const toml::node& item : *items) {
      auto member = valueOf(c, item, where);
      if (!member) continue;
      const int index = static_cast<int>(*member) - c.firstMember;
      if (index < 0 || index >= count) {
        reader_.report(item, where + ": " + numberText(*member) + " is not between " +
                                 std::to_string(c.firstMember) + " and " +
                                 std::to_string(c.firstMember + count - 1));
        continue;
      }
      setGroup(fields_[c.slots[index].field], c.slots[index], c.listed);
    }
  }

  void applySplit(const Codec& c, const toml::node& node, const std::string& where) {
    auto value = valueOf(c, node, where);
    if (!value) return;
    double rest = *value + c.bias;
    std::vector<double> groups;
    for (size_t i = 0; i + 1 < c.slots.size(); ++i) {
      const double unit = tenTo(c.slots[i].width);
      groups.push_back(std::fmod(rest, unit));
      rest = std::floor(rest / unit);
    }
    groups.push_back(rest);
    if (*value + c.bias < 0 || !fits(c.slots.back(), rest)) {
      double limit = 1;
      for (const Slot& s : c.slots) limit *= tenTo(s.width);
      const std::string range =
          c.slots.back().width == 0
              ? "at least 0"
              : "between 0 and " + Value::of((limit - 1) / c.scale, decimalsOf(c.scale)).render();
      reader_.report(node, where + " must be " + range);
      return;
    }
    for (size_t i = 0; i < c.slots.size(); ++i) {
      if (!setGroup(fields_[c.slots[i].field], c.slots[i], groups[i])) {
        reader_.report(node, where + " cannot be combined with the negative raw f" +
                                 std::to_string(c.slots[i].field));
      }
    }
  }

  // Each slot: an item (word or number), { item, equipped, identified }, or
  // { value = N } for the raw slot value.
  void applyItems(const Codec& c, const toml::node& node, const std::string& where) {
    const auto* items = node.as_array();
    if (!items || items->size() > c.slots.size()) {
      reader_.report(
          node, where + " must be a list of at most " + std::to_string(c.slots.size()) + " items");
      return;
    }
    for (size_t i = 0; i < c.slots.size(); ++i) {
      double stored = 0;
      if (i < items->size()) {
        auto value = itemSlotValue(*items->get(i), where);
        if (!value) continue;
        stored = *value;
      }
      fields_[c.slots[i].field] = stored;
    }
  }

  std::optional<double> itemSlotValue(const toml::node& node, const std::string& where) {
    const auto* table = node.as_table();
    if (!table) {
      auto item = words_.item.resolve(node, reader_, where);
      if (!item) return std::nullopt;
      return static_cast<double>(*item);
    }
    reader_.rejectUnknownKeys(*table, {"item", "equipped", "identified", "value"});
    if (const toml::node* raw = table->get("value")) return reader_.whole(*raw, where);
    const toml::node* itemNode = table->get("item");
    if (!itemNode) {
      reader_.report(node, where + ": an item slot needs \"item\" (or a raw \"value\")");
      return std::nullopt;
    }
    auto item = words_.item.resolve(*itemNode, reader_, where);
    if (!item) return std::nullopt;
    double value = *item;
    if (const toml::node* equipped = table->get("equipped")) value += flag(*equipped, where) * 1000;
    if (const toml::node* known = table->get("identified")) value += flag(*known, where) * 10000;
    return value;
  }

  double flag(const toml::node& node, const std::string& where) {
    if (auto b = node.as_boolean()) return b->get() ? 1 : 0;
    reader_.report(node, where + ": give true or false");
    return 0;
  }

  const Reader& reader_;
  const Vocabularies& words_;
  const std::string& what_;
  double largest_;
  std::vector<double>& fields_;
};

void applyDefaults(const Schema& schema, const std::vector<bool>& raw,
                   std::vector<double>& fields) {
  for (const Codec& c : schema.codecs) {
    if (c.shape != Codec::Shape::Scalar && c.shape != Codec::Shape::List) continue;
    for (const Slot& slot : c.slots) {
      if (!raw[slot.field]) setGroup(fields[slot.field], slot, c.defaultValue * c.scale + c.bias);
    }
  }
}

// Reads one codec's value out of `rest` and removes its digits; nothing when
// the digits do not make a value the codec can give back.
class Unpacker {
 public:
  Unpacker(const Vocabularies& words) : words_(words) {}

  std::optional<Value> take(const Codec& c, std::vector<double>& rest) const {
    std::vector<double> groups;
    for (const Slot& slot : c.slots) {
      auto g = groupOf(rest[slot.field], slot);
      if (!g) return std::nullopt;
      groups.push_back(*g);
    }
    std::optional<Value> value = valueFrom(c, groups);
    if (!value) return std::nullopt;
    for (size_t i = 0; i < c.slots.size(); ++i) {
      const Slot& slot = c.slots[i];
      rest[slot.field] = isWholeField(slot) ? 0 : rest[slot.field] - groups[i] * tenTo(slot.digit);
    }
    return value;
  }

 private:
  std::optional<Value> valueFrom(const Codec& c, const std::vector<double>& groups) const {
    switch (c.shape) {
      case Codec::Shape::Scalar:
        return element(c, groups[0] - c.bias);
      case Codec::Shape::Same:
        for (double g : groups) {
          if (g != groups[0]) return std::nullopt;
        }
        return element(c, groups[0] - c.bias);
      case Codec::Shape::List: {
        Value list = Value::array();
        for (double g : groups) list.items.push_back(element(c, g - c.bias));
        return list;
      }
      case Codec::Shape::Set: {
        Value members = Value::array();
        for (size_t i = 0; i < groups.size(); ++i) {
          if (groups[i] != 0 && groups[i] != 1) return std::nullopt;
          if (groups[i] == c.listed) {
            members.items.push_back(element(c, c.firstMember + static_cast<double>(i)));
          }
        }
        return members;
      }
      case Codec::Shape::Items:
        return itemSlots(groups);
      case Codec::Shape::Split: {
        double value = 0, unit = 1;
        for (size_t i = 0; i < groups.size(); ++i) {
          value += groups[i] * unit;
          unit *= tenTo(c.slots[i].width);
        }
        return element(c, value - c.bias);
      }
    }
    return std::nullopt;
  }

  Value itemSlots(const std::vector<double>& groups) const {
    size_t used = groups.size();
    while (used > 0 && groups[used - 1] == 0) --used;
    Value list = Value::array();
    for (size_t i = 0; i < used; ++i) list.items.push_back(itemSlot(groups[i]));
    return list;
  }

  Value itemSlot(double v) const {
    const double item = std::fmod(v, 1000), equipped = std::fmod(std::floor(v / 1000), 10),
                 identified = std::floor(v / 10000);
    if (v < 0 || equipped > 1 || identified > 1) return Value::table({{"value", Value::of(v)}});
    auto word = words_.item.wordFor(static_cast<int>(item));
    Value name = word ? Value::ofText(*word) : Value::of(item);
    if (equipped == 0 && identified == 0) return name;
    return Value::table({{"item", name},
                         {"equipped", Value::ofFlag(equipped == 1)},
                         {"identified", Value::ofFlag(identified == 1)}});
  }

  Value element(const Codec& c, double scaledValue) const {
    if (c.scale > 1) return Value::of(scaledValue / c.scale, decimalsOf(c.scale));
    if (c.words == Words::Flag && (scaledValue == 0 || scaledValue == 1)) {
      return Value::ofFlag(scaledValue == 1);
    }
    if (c.words != Words::None && c.words != Words::Flag) {
      if (auto word = words_.of(c.words)->wordFor(static_cast<int>(scaledValue))) {
        return Value::ofText(*word);
      }
    }
    return Value::of(scaledValue);
  }

  const Vocabularies& words_;
};

bool sameGroups(const Codec& c, const std::vector<double>& a, const std::vector<double>& b) {
  for (const Slot& slot : c.slots) {
    if (groupOf(a[slot.field], slot) != groupOf(b[slot.field], slot)) return false;
  }
  return true;
}

bool allGiven(const Codec& c, const std::vector<Slot>& given) {
  return std::all_of(c.slots.begin(), c.slots.end(), [&](const Slot& s) {
    return std::any_of(given.begin(), given.end(), [&](const Slot& g) {
      return g.field == s.field && g.digit == s.digit && g.width == s.width;
    });
  });
}

// Raw keys for the fields that are not 0, and for those whose defaults are
// not 0 (so that the defaults do not replace them).
std::vector<std::pair<std::string, Value>> rawKeys(const std::vector<double>& fields,
                                                   const std::vector<double>& defaults) {
  std::vector<std::pair<std::string, Value>> keys;
  for (size_t f = 0; f < fields.size(); ++f) {
    if (fields[f] != 0 || defaults[f] != 0) {
      keys.emplace_back("f" + std::to_string(f), Value::of(fields[f]));
    }
  }
  return keys;
}

// Packs the keys again and tells whether they give the same fields.
bool givesBack(const Schema& schema, const std::vector<std::pair<std::string, Value>>& keys,
               const std::vector<double>& fields, const Vocabularies& words) {
  std::string text;
  for (const auto& [key, value] : keys) text += renderKey(key) + " = " + value.render() + "\n";
  Problems problems;
  auto file = SourceFile::fromText(text, "dump", problems);
  if (!file) return false;
  Reader reader(*file, problems);
  std::vector<double> packed;
  packRecord(schema, file->root(), reader, words, "", packed);
  return problems.empty() && packed == fields;
}

}  // namespace

const Vocabulary* Vocabularies::of(Words words) const {
  switch (words) {
    case Words::Item:
      return &item;
    case Words::Monster:
      return &monster;
    case Words::Spell:
      return &spell;
    case Words::Class:
      return &klass;
    case Words::Race:
      return &race;
    case Words::Trap:
      return &trap;
    case Words::ItemType:
      return &itemType;
    case Words::Stat:
      return &stat;
    case Words::Alignment:
      return &alignment;
    case Words::Sex:
      return &sex;
    case Words::Skill:
      return &skill;
    case Words::Direction:
      return &direction;
    case Words::Status:
      return &status;
    case Words::None:
    case Words::Flag:
      break;
  }
  return nullptr;
}

std::optional<int> rawFieldIndex(std::string_view key) {
  if (key.size() < 2 || key.size() > 4 || key[0] != 'f') return std::nullopt;
  int n = 0;
  for (char c : key.substr(1)) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  return n;
}

bool isRawFieldKey(std::string_view key) {
  return rawFieldIndex(key).has_value();
}

std::optional<double> groupOf(double field, const Slot& slot) {
  if (std::floor(field) != field) return std::nullopt;
  if (isWholeField(slot)) return field;
  if (field < 0) return std::nullopt;
  double g = std::floor(field / tenTo(slot.digit));
  if (slot.width > 0) g = std::fmod(g, tenTo(slot.width));
  return g;
}

bool setGroup(double& field, const Slot& slot, double stored) {
  if (!fits(slot, stored)) return false;
  if (isWholeField(slot)) {
    field = stored;
    return true;
  }
  auto old = groupOf(field, slot);
  if (!old) return false;
  field += (stored - *old) * tenTo(slot.digit);
  return true;
}

void packRecord(const Schema& schema, const toml::table& table, const Reader& reader,
                const Vocabularies& words, const std::string& what, std::vector<double>& fields) {
  fields.assign(schema.fieldCount, 0);
  std::vector<bool> raw(schema.fieldCount, false);
  for (const auto& [key, node] : table) {
    auto index = rawFieldIndex(key.str());
    if (!index) continue;
    if (*index >= schema.fieldCount) {
      reader.report(node, what + " has no field " + std::to_string(*index) + " (fields 0 to " +
                              std::to_string(schema.fieldCount - 1) + ")");
      continue;
    }
    if (auto value = reader.whole(node, what + " " + std::string(key.str()), schema.largest)) {
      fields[*index] = *value;
      raw[*index] = true;
    }
  }
  applyDefaults(schema, raw, fields);
  RecordPacker packer(reader, words, what, schema.largest, fields);
  for (const Codec& c : schema.codecs) {
    if (const toml::node* node = table.get(c.key)) packer.apply(c, *node);
  }
}

std::vector<double> packOptionalTable(const Schema& schema, const toml::table& root,
                                      const std::string& key, const Reader& reader,
                                      const Vocabularies& words) {
  static const toml::table empty;
  const toml::table* table = &empty;
  if (const toml::node* node = root.get(key)) {
    table = node->as_table();
    if (!table) {
      reader.report(*node, key + " must be a table: [" + key + "]");
      table = &empty;
    }
  }
  reader.rejectUnknownKeys(*table, keysOf(schema), isRawFieldKey);
  std::vector<double> fields;
  packRecord(schema, *table, reader, words, key, fields);
  return fields;
}

std::vector<std::pair<std::string, Value>> unpackRecord(const Schema& schema,
                                                        const std::vector<double>& fields,
                                                        const Vocabularies& words) {
  std::vector<double> rest = fields;
  Unpacker unpacker(words);
  std::vector<std::optional<Value>> values;
  for (const Codec& c : schema.codecs) values.push_back(unpacker.take(c, rest));

  std::vector<bool> raw(fields.size());
  std::vector<double> baseline(fields.size(), 0);
  for (size_t f = 0; f < fields.size(); ++f) {
    raw[f] = rest[f] != 0;
    if (raw[f]) baseline[f] = rest[f];
  }
  applyDefaults(schema, raw, baseline);

  std::vector<std::pair<std::string, Value>> keys;
  std::vector<Slot> given;  // slots a key already gives (a key of two fields, its halves)
  for (size_t i = 0; i < schema.codecs.size(); ++i) {
    const Codec& c = schema.codecs[i];
    if (!values[i] || sameGroups(c, fields, baseline) || allGiven(c, given)) continue;
    keys.emplace_back(c.key, *values[i]);
    given.insert(given.end(), c.slots.begin(), c.slots.end());
  }
  const std::vector<double> none(fields.size(), 0);
  auto rawPart = rawKeys(rest, none);
  keys.insert(keys.end(), rawPart.begin(), rawPart.end());
  if (givesBack(schema, keys, fields, words)) return keys;
  std::vector<double> defaults(fields.size(), 0);
  applyDefaults(schema, std::vector<bool>(fields.size(), false), defaults);
  return rawKeys(fields, defaults);
}

std::set<std::string> keysOf(const Schema& schema) {
  std::set<std::string> keys;
  for (const Codec& c : schema.codecs) keys.insert(c.key);
  return keys;
}

}  // namespace kestrun::forge
