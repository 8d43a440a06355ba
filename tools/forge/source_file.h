#pragma once

#include <toml++/toml.h>

#include <filesystem>
#include <optional>
#include <set>
#include <string>

#include "problems.h"

namespace kestrun::forge {

// Numbers of the data files are single-precision floats; together with the
// scrambling offsets they must stay exact, so values keep to this size.
inline constexpr double kLargestValue = 16'770'000;

// One parsed TOML file of a source folder.
class SourceFile {
 public:
  // Parses the file; a syntax error is reported and gives nothing.
  static std::optional<SourceFile> load(const std::filesystem::path& path, Problems& problems);
  static std::optional<SourceFile> fromText(const std::string& text, const std::string& name,
                                            Problems& problems);

  const toml::table& root() const { return root_; }
  const std::string& name() const { return name_; }
  Place at(const toml::node& node) const;
  Place atLine(int line) const { return {name_, line}; }

 private:
  SourceFile(toml::table root, std::string name) : root_(std::move(root)), name_(std::move(name)) {}
  toml::table root_;
  std::string name_;
};

// Reads values from one file, reporting what is wrong with them.
class Reader {
 public:
  Reader(const SourceFile& file, Problems& problems) : file_(file), problems_(problems) {}

  const SourceFile& file() const { return file_; }
  Problems& problems() const { return problems_; }
  Place at(const toml::node& node) const { return file_.at(node); }
  void report(const toml::node& node, const std::string& sentence) const {
    problems_.add(at(node), sentence);
  }

  // A whole number (an integer, or a float without a fraction) within
  // +-kLargestValue.
  std::optional<double> whole(const toml::node& node, const std::string& what,
                              double largest = kLargestValue) const;
  std::optional<std::string> string(const toml::node& node, const std::string& what) const;
  // A UTF-8 text turned into Shift-JIS: characters Shift-JIS cannot encode
  // and texts longer than `limitBytes` are reported.
  std::optional<std::string> text(const toml::node& node, const std::string& what,
                                  size_t limitBytes) const;
  // A text stored as one item of a data file: besides the checks of text(),
  // it must not hold a comma or line end, nor start with a blank or a quote,
  // or the game would read it back differently.
  std::optional<std::string> itemText(const toml::node& node, const std::string& what,
                                      size_t limitBytes) const;

  // Reports every key of `table` that is not in `known` and that `isRaw`
  // does not accept.
  void rejectUnknownKeys(const toml::table& table, const std::set<std::string>& known,
                         bool (*isRaw)(std::string_view) = nullptr) const;

 private:
  const SourceFile& file_;
  Problems& problems_;
};

// Characters of a UTF-8 text that Shift-JIS cannot encode (empty when none).
std::string unencodableCharacters(const std::string& utf8);

}  // namespace kestrun::forge
