#include "suggestion.h"

#include <algorithm>
#include <climits>

namespace kestrun::forge {

namespace {

// The UTF-8 characters of a text.
std::vector<std::string> charactersOf(const std::string& text) {
  std::vector<std::string> characters;
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    characters.push_back(text.substr(i, length));
    i += length;
  }
  return characters;
}

// Edits between two texts; a swap of neighbours counts as one.
int editDistance(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  const size_t n = a.size(), m = b.size();
  std::vector<std::vector<int>> d(n + 1, std::vector<int>(m + 1));
  for (size_t i = 0; i <= n; ++i) d[i][0] = static_cast<int>(i);
  for (size_t j = 0; j <= m; ++j) d[0][j] = static_cast<int>(j);
  for (size_t i = 1; i <= n; ++i) {
    for (size_t j = 1; j <= m; ++j) {
      const int change = a[i - 1] == b[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  }
  return d[n][m];
}

}  // namespace

std::optional<std::string> closestWord(const std::string& given,
                                       const std::vector<std::string>& candidates) {
  const std::vector<std::string> typed = charactersOf(given);
  const int allowed = std::max(1, static_cast<int>(typed.size()) / 3);
  std::optional<std::string> best;
  int bestDistance = INT_MAX;
  for (const std::string& candidate : candidates) {
    const int distance = editDistance(typed, charactersOf(candidate));
    if (distance < bestDistance) {
      bestDistance = distance;
      best = candidate;
    }
  }
  if (bestDistance > allowed) return std::nullopt;
  return best;
}

std::string didYouMean(const std::string& given, const std::vector<std::string>& candidates) {
  auto word = closestWord(given, candidates);
  return word ? " (did you mean \"" + *word + "\"?)" : "";
}

}  // namespace kestrun::forge
