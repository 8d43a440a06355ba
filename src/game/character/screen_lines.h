#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "runtime/numformat.h"

namespace kestrun::game {

struct Game;

// The small screen moves every menu repeats.

void printAt(Game& g, int column, int row, const rt::PrintItem& item);
// Blanks `width` columns from `column` on `row`.
void blankColumns(Game& g, int column, int row, int width);
// Blanks the whole of each row from `first` to `last`.
void blankLines(Game& g, int first, int last);

// A line input with its prompt at (column, row). The row is blanked first,
// so that an earlier answer or refusal does not show through; questions
// have their row to themselves.
std::string askLine(Game& g, int column, int row, std::string_view prompt);
// The numeric value of such an answer (0 when it does not start with one;
// infinite when it is too large for any number).
double askNumber(Game& g, int column, int row, std::string_view prompt);
// The numeric value of an answer, as askNumber takes it.
double answerValue(const std::string& answer);

// The value of a digit key from 0 to `highest`; nothing for any other key.
std::optional<int> digitKey(const std::string& key, int highest);

}  // namespace kestrun::game
