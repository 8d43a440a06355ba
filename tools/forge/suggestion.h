#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kestrun::forge {

// The candidate a mistyped word most likely meant: the one fewest edits
// away (letters added, dropped, changed or swapped), when that is close
// enough to be a typing slip. Characters count whole, so names in kana and
// kanji are compared as the author sees them.
std::optional<std::string> closestWord(const std::string& given,
                                       const std::vector<std::string>& candidates);

// " (did you mean "WORD"?)" for the closest candidate, or nothing.
std::string didYouMean(const std::string& given, const std::vector<std::string>& candidates);

}  // namespace kestrun::forge
