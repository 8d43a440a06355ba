#include "vocabulary.h"

#include <cstdlib>

#include "suggestion.h"

namespace kestrun::forge {

namespace {

// A word that looks like a number would be read back as that number.
bool looksNumeric(const std::string& word) {
  if (word.empty()) return true;
  char* end = nullptr;
  std::strtod(word.c_str(), &end);
  return *end == '\0';
}

}  // namespace

Vocabulary::Vocabulary(std::string what, std::vector<std::string> words, int first)
    : what_(std::move(what)) {
  for (size_t i = 0; i < words.size(); ++i) define(first + static_cast<int>(i), words[i]);
}

void Vocabulary::define(int number, const std::string& word) {
  defined_.insert(number);
  if (word.empty()) return;
  byWord_[word].push_back(number);
  wordOf_[number] = word;
}

void Vocabulary::defineRange(int first, int last) {
  for (int n = first; n <= last; ++n) defined_.insert(n);
}

std::optional<int> Vocabulary::resolve(const toml::node& node, const Reader& reader,
                                       const std::string& where) const {
  if (auto word = node.as_string()) {
    auto found = byWord_.find(word->get());
    if (found == byWord_.end()) {
      std::vector<std::string> words;
      for (const auto& [known, numbers] : byWord_) words.push_back(known);
      reader.report(node, where + ": no " + what_ + " is named \"" + word->get() + "\"" +
                              didYouMean(word->get(), words));
      return std::nullopt;
    }
    if (found->second.size() > 1) {
      reader.report(node, where + ": several " + what_ + "s are named \"" + word->get() +
                              "\"; give the number");
      return std::nullopt;
    }
    return found->second.front();
  }
  auto number = reader.whole(node, where);
  if (!number) return std::nullopt;
  const int n = static_cast<int>(*number);
  if (!isDefined(n)) {
    reader.report(node, where + ": " + what_ + " " + std::to_string(n) + " is not defined");
    return std::nullopt;
  }
  return n;
}

std::optional<std::string> Vocabulary::wordFor(int number) const {
  auto found = wordOf_.find(number);
  if (found == wordOf_.end() || looksNumeric(found->second)) return std::nullopt;
  if (byWord_.at(found->second).size() != 1) return std::nullopt;
  return found->second;
}

}  // namespace kestrun::forge
