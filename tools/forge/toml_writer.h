#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestrun::forge {

// A value written into a dumped source: a number, a flag, a text, an array or
// an inline table (keys in the order given).
struct Value {
  enum class Kind { Number, Flag, Text, Array, Table };
  Kind kind = Kind::Number;
  double number = 0;
  int decimals = 0;  // > 0: written as a decimal with at most this many places
  bool flag = false;
  std::string text;
  std::vector<Value> items;
  std::vector<std::pair<std::string, Value>> fields;

  static Value of(double n, int decimals = 0);
  static Value ofFlag(bool b);
  static Value ofText(std::string s);
  static Value array(std::vector<Value> items = {});
  static Value table(std::vector<std::pair<std::string, Value>> fields = {});

  std::string render() const;
};

// Writes a TOML document line by line, in the order the dump wants.
class TomlWriter {
 public:
  void comment(std::string_view text);
  void blank();
  void table(std::string_view name);       // [name]
  void arrayTable(std::string_view name);  // [[name]]
  void put(std::string_view key, const Value& value);
  // key = '''
  // lines...'''  (a literal multi-line string; the text must not hold ''')
  void putBlock(std::string_view key, const std::string& text);
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

std::string renderKey(std::string_view key);

}  // namespace kestrun::forge
