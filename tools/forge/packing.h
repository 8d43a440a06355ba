#pragma once

#include <optional>
#include <string>
#include <vector>

#include "source_file.h"
#include "toml_writer.h"
#include "vocabulary.h"

namespace kestrun::forge {

// A group of decimal digits of one field: digits `digit` .. digit + width - 1.
// Width 0 takes every digit from `digit` up; from digit 0 that is the whole
// field, sign included.
struct Slot {
  int field = 0;
  int digit = 0;
  int width = 0;
};

// The words of a named value.
enum class Words {
  None,
  Flag,  // true / false for 1 / 0
  Item,
  Monster,
  Spell,
  Class,
  Race,
  Trap,
  ItemType,
  Stat,
  Alignment,
  Sex,
  Skill,
  Direction,
  Status,
};

struct Vocabularies;

// One named key of a record and the digits it stands for.
struct Codec {
  enum class Shape {
    Scalar,  // one value in one slot
    List,    // one value per slot, given as an array
    Set,     // an array of members; member firstMember + i lives in slot i
    Split,   // one value whose digits fill the slots, lowest first
    Items,   // a character's item slots: item + 1000 equipped + 10000 identified
    Same,    // one value stored in every slot
  };
  std::string key;
  Shape shape = Shape::Scalar;
  std::vector<Slot> slots;
  int bias = 0;             // stored = value + bias
  double defaultValue = 0;  // of a listed record whose field is not given raw
  int scale = 1;            // given as a decimal: stored = value x scale
  Words words = Words::None;
  int firstMember = 0;
  int listed = 1;  // Set: the digit of a listed member; the others get 1 - listed
};

// The fields of one kind of record and its named keys.
struct Schema {
  int fieldCount = 0;
  std::vector<Codec> codecs;
  double largest = kLargestValue;  // the largest raw value either way
};

struct Vocabularies {
  Vocabulary item, monster, spell, klass, race, trap, itemType, stat, alignment, sex, skill,
      direction, status;
  const Vocabulary* of(Words words) const;
  Vocabulary* of(Words words) {
    return const_cast<Vocabulary*>(static_cast<const Vocabularies*>(this)->of(words));
  }
};

// "f12" names raw field 12.
std::optional<int> rawFieldIndex(std::string_view key);
bool isRawFieldKey(std::string_view key);

// Fills `fields` from a record's table: raw fields "fN" first, the defaults
// of the named keys in fields not given raw, then the named keys.
void packRecord(const Schema& schema, const toml::table& table, const Reader& reader,
                const Vocabularies& words, const std::string& what, std::vector<double>& fields);

// The fields of the record kept in the optional table `key` of `root`
// ([header], [settings]), unknown keys reported. Without the table the
// record has its defaults; a value that is not a table is reported and
// counts as missing.
std::vector<double> packOptionalTable(const Schema& schema, const toml::table& root,
                                      const std::string& key, const Reader& reader,
                                      const Vocabularies& words);

// The keys that give `fields` back through packRecord: named keys where the
// digits allow it, raw "fN" keys for what is left. Keys that would only
// repeat a default are left out.
std::vector<std::pair<std::string, Value>> unpackRecord(const Schema& schema,
                                                        const std::vector<double>& fields,
                                                        const Vocabularies& words);

// The names of a schema's keys (for unknown-key reports).
std::set<std::string> keysOf(const Schema& schema);

// Digit groups, as the game reads them.
std::optional<double> groupOf(double field, const Slot& slot);
// Rebuilds `field` with the group of `slot` replaced; false when the field
// cannot carry digits (negative) or the group does not fit.
bool setGroup(double& field, const Slot& slot, double stored);

}  // namespace kestrun::forge
