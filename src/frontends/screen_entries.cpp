#include "frontends/screen_entries.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <string_view>

#include "runtime/keyboard.h"
#include "runtime/sjis.h"
#include "runtime/textscreen.h"

namespace kestrun::fe {

namespace {

constexpr char32_t kWideSpace = 0x3000;

// One character of a row as the eye reads it: full-width digits and letters
// read as their ASCII forms, the full-width space as kWideSpace.
struct Glyph {
  int column = 0;
  int width = 1;
  char32_t ch = ' ';
};

char32_t readDoubleByte(uint8_t lead, uint8_t trail) {
  const int code = lead << 8 | trail;
  if (code == 0x8140) return kWideSpace;
  if (code >= 0x824F && code <= 0x8258) return U'0' + (code - 0x824F);
  if (code >= 0x8260 && code <= 0x8279) return U'A' + (code - 0x8260);
  if (code >= 0x8281 && code <= 0x829A) return U'a' + (code - 0x8281);
  return 0x10000 + code;  // any other character: not a key, not a blank
}

std::vector<Glyph> rowGlyphs(const rt::TextScreen& text, int row) {
  std::vector<Glyph> glyphs;
  for (int column = 0; column < rt::kColumns; ++column) {
    const uint8_t ch = text.cell(column, row).ch;
    if (rt::isLeadByte(ch) && column + 1 < rt::kColumns) {
      glyphs.push_back({column, 2, readDoubleByte(ch, text.cell(column + 1, row).ch)});
      ++column;
    } else {
      glyphs.push_back({column, 1, ch < 0x21 || ch == 0x7F ? U' ' : char32_t{ch}});
    }
  }
  return glyphs;
}

bool isBlank(char32_t ch) {
  return ch == U' ' || ch == kWideSpace;
}
bool isDigit(char32_t ch) {
  return ch >= U'0' && ch <= U'9';
}
bool isLetter(char32_t ch) {
  return (ch >= U'A' && ch <= U'Z') || (ch >= U'a' && ch <= U'z');
}

// Characters that continue a number or a formula rather than start a label.
bool startsLabel(char32_t ch) {
  return !isBlank(ch) && !isDigit(ch) &&
         std::u32string_view(U"-/()=:.~,+*#").find(ch) == std::u32string_view::npos;
}

bool spells(const std::vector<Glyph>& glyphs, size_t at, std::u32string_view word) {
  if (at + word.size() > glyphs.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (glyphs[at + i].ch != word[i]) return false;
  }
  return true;
}

// Where a label that starts at `from` ends: before two blanks in a row, a
// wide blank, or the end of the row.
size_t labelEnd(const std::vector<Glyph>& glyphs, size_t from) {
  size_t end = from;
  while (end < glyphs.size() && glyphs[end].ch != kWideSpace &&
         !(isBlank(glyphs[end].ch) && end + 1 < glyphs.size() && isBlank(glyphs[end + 1].ch))) {
    ++end;
  }
  while (end > from && isBlank(glyphs[end - 1].ch)) --end;
  return end;
}

// A key character at `at` followed by its label: a digit after one or two
// blanks or one wide blank, a letter after exactly one blank (two blanks
// after a letter are a table's column, as a party list's alignment is).
std::optional<ScreenEntry> menuLine(const std::vector<Glyph>& glyphs, size_t at, int row) {
  const char32_t key = glyphs[at].ch;
  if (!isDigit(key) && !isLetter(key)) return std::nullopt;
  if (at > 0 && !isBlank(glyphs[at - 1].ch)) return std::nullopt;
  size_t label = at + 1;
  if (label < glyphs.size() && glyphs[label].ch == kWideSpace) {
    ++label;
  } else {
    const size_t most = isDigit(key) ? 2 : 1;
    while (label < glyphs.size() && glyphs[label].ch == U' ' && label - at <= most) ++label;
    if (label == at + 1 || label - at - 1 > most) return std::nullopt;
  }
  if (label >= glyphs.size() || !startsLabel(glyphs[label].ch) || spells(glyphs, label, U"Key")) {
    return std::nullopt;
  }
  const size_t end = labelEnd(glyphs, label);
  const Glyph& last = glyphs[end - 1];
  return ScreenEntry{glyphs[at].column, row, last.column + last.width - glyphs[at].column,
                     static_cast<uint8_t>(key)};
}

// "Hit ... Key": the letters of "Hit Y - N Key", the whole of "Hit Any Key",
// nothing for a range such as "Hit 0 - 9 Key". Returns where the hint ends.
size_t hint(const std::vector<Glyph>& glyphs, size_t at, int row,
            std::vector<ScreenEntry>& entries) {
  if (spells(glyphs, at, U"Hit Any Key")) {
    entries.push_back({glyphs[at].column, row, 11, rt::key::Enter});
    return at + 11;
  }
  if (spells(glyphs, at, U"Hit Y - N Key")) {
    entries.push_back({glyphs[at + 4].column, row, 1, 'Y'});
    entries.push_back({glyphs[at + 8].column, row, 1, 'N'});
    return at + 13;
  }
  size_t end = at + 4;
  while (end < glyphs.size() && !spells(glyphs, end, U"Key")) ++end;
  return std::min(end + 3, glyphs.size());
}

// A question or a "Hit ... Key" on the row: the screen waits for an answer.
bool asks(const std::vector<Glyph>& glyphs) {
  for (size_t at = 0; at < glyphs.size(); ++at) {
    if (glyphs[at].ch == U'?' || glyphs[at].ch == 0x10000 + 0x8148 || spells(glyphs, at, U"Hit ")) {
      return true;
    }
  }
  return false;
}

}  // namespace

std::vector<ScreenEntry> findScreenEntries(const rt::TextScreen& text) {
  std::vector<ScreenEntry> entries;
  std::vector<ScreenEntry> lines;
  bool question = false;
  for (int row = 0; row < rt::kRows; ++row) {
    const std::vector<Glyph> glyphs = rowGlyphs(text, row);
    question = question || asks(glyphs);
    for (size_t at = 0; at < glyphs.size();) {
      if (spells(glyphs, at, U"Hit ")) {
        at = hint(glyphs, at, row, entries);
      } else if (const auto entry = menuLine(glyphs, at, row)) {
        lines.push_back(*entry);
        while (at < glyphs.size() && glyphs[at].column < entry->column + entry->width) ++at;
      } else {
        ++at;
      }
    }
  }
  // Numbered lines on a screen that asks nothing are a list (the party's
  // lines in the maze), not a menu.
  if (question) entries.insert(entries.end(), lines.begin(), lines.end());
  std::sort(entries.begin(), entries.end(), [](const ScreenEntry& a, const ScreenEntry& b) {
    return a.row != b.row ? a.row < b.row : a.column < b.column;
  });
  return entries;
}

std::optional<ScreenEntry> entryAt(const std::vector<ScreenEntry>& entries, int column, int row) {
  for (const ScreenEntry& entry : entries) {
    if (entry.row == row && column >= entry.column && column < entry.column + entry.width) {
      return entry;
    }
  }
  return std::nullopt;
}

size_t entryToward(const std::vector<ScreenEntry>& entries, size_t from, int dx, int dy) {
  if (from >= entries.size()) return from;
  // Centres in pixels of the 8 x 18 cells.
  const auto across = [](const ScreenEntry& e) { return e.column * 8 + e.width * 4; };
  const auto down = [](const ScreenEntry& e) { return e.row * 18 + 9; };
  // Sideways the highlight keeps to its row whenever it can.
  const long asideWeight = dx != 0 ? 1000 : 2;
  const ScreenEntry& here = entries[from];
  size_t best = from;
  long bestCost = std::numeric_limits<long>::max();
  for (size_t i = 0; i < entries.size(); ++i) {
    const long x = across(entries[i]) - across(here);
    const long y = down(entries[i]) - down(here);
    const long along = dx != 0 ? x * dx : y * dy;
    const long aside = dx != 0 ? std::labs(y) : std::labs(x);
    if (i == from || along <= 0) continue;
    const long cost = along + aside * asideWeight;
    if (cost < bestCost) {
      bestCost = cost;
      best = i;
    }
  }
  return best;
}

}  // namespace kestrun::fe
