#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "source_file.h"

namespace kestrun::forge {

// The words a number may be given by: the names of a scenario's items,
// classes, spells ... or fixed words such as "north" or "good".
class Vocabulary {
 public:
  Vocabulary() = default;
  // A fixed vocabulary: word i stands for number first + i.
  Vocabulary(std::string what, std::vector<std::string> words, int first = 0);

  void setWhat(std::string what) { what_ = std::move(what); }
  const std::string& what() const { return what_; }
  // Numbers that may be given although nothing defines them (0 for "none").
  void allow(int number) { allowed_.insert(number); }
  // A defined member, with its name (an empty name gives no word).
  void define(int number, const std::string& word);
  void defineRange(int first, int last);
  // Any number is taken as it is; only words are looked up.
  void acceptAnyNumber() { anyNumber_ = true; }

  // The number a word or a number stands for. Unknown words, ambiguous
  // words and numbers of undefined members are reported.
  std::optional<int> resolve(const toml::node& node, const Reader& reader,
                             const std::string& where) const;
  bool isDefined(int number) const {
    return anyNumber_ || defined_.count(number) || allowed_.count(number);
  }
  // The word to write for a number in a dump, when it names it unmistakably.
  std::optional<std::string> wordFor(int number) const;

 private:
  std::string what_;
  std::map<std::string, std::vector<int>> byWord_;
  std::map<int, std::string> wordOf_;
  std::set<int> defined_;
  std::set<int> allowed_;
  bool anyNumber_ = false;
};

}  // namespace kestrun::forge
