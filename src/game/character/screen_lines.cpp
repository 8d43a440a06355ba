#include "game/character/screen_lines.h"

#include <cmath>

#include "game/state/game.h"
#include "runtime/strings.h"
#include "runtime/values.h"

namespace kestrun::game {

namespace {
constexpr int kRowWidth = 80;
}

void printAt(Game& g, int column, int row, const rt::PrintItem& item) {
  g.con.LOCATE(column, row);
  g.con.PRINT(item);
}

void blankColumns(Game& g, int column, int row, int width) {
  printAt(g, column, row, rt::SPACE(width));
}

void blankLines(Game& g, int first, int last) {
  for (int row = first; row <= last; ++row) blankColumns(g, 0, row, kRowWidth);
}

std::string askLine(Game& g, int column, int row, std::string_view prompt) {
  blankColumns(g, 0, row, kRowWidth);
  g.con.LOCATE(column, row);
  g.KeyAnswer = g.con.inputString(prompt);
  return g.KeyAnswer;
}

double askNumber(Game& g, int column, int row, std::string_view prompt) {
  return answerValue(askLine(g, column, row, prompt));
}

double answerValue(const std::string& answer) {
  try {
    return rt::VAL(answer);
  } catch (const rt::RuntimeError& error) {
    // A number too large for any range is simply out of range, not a fault.
    if (error.code() != rt::err::Overflow) throw;
    return answer.find('-') < answer.find_first_of("0123456789") ? -HUGE_VAL : HUGE_VAL;
  }
}

std::optional<int> digitKey(const std::string& key, int highest) {
  if (key.size() != 1 || key[0] < '0' || key[0] > '9') return std::nullopt;
  const int value = key[0] - '0';
  if (value > highest) return std::nullopt;
  return value;
}

}  // namespace kestrun::game
