#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

// The picture of a floor: 20 x 20 squares with the boundaries between them,
// y = 19 at the top (north) and x = 0 on the left (west).
//
// Each square is drawn as three characters between two boundary characters,
// each row of squares as an interior line between two boundary lines:
//
//         0   1   2  ...
//      +---+---+-D-+ ...     boundary line: "+", then per square 3 characters and "+"
//   19 | U   T!|   > ...     interior line: west boundary, then per square 3 characters
//      +   +---+   + ...                    and its east boundary
//
// Every line has a 4-character margin (ignored). A boundary segment's middle
// character is its symbol; the characters beside it are decoration. The line
// above row 19 and the line below row 0 show the same boundaries (the floor
// wraps), as do the first and the last boundary character of a row.
namespace kestrun::forge::drawing {

inline constexpr int kUnknown = -1;  // '?': the code is given in the square list

// Codes per square: layer 0 the square's code, 1 its west boundary, 2 its
// south boundary, 3 the encounter mark.
using Codes = std::array<std::array<std::array<int, 4>, 20>, 20>;  // [x][y][layer]

struct LineProblem {
  int line;  // 1-based line of the drawing text
  std::string sentence;
  int column = 0;  // 1-based character of the line; 0 for the line as a whole
};

struct Drawing {
  Codes codes{};
  int firstLine = 1;  // the text line of the top boundary line

  // The text line of row y's interior line.
  int lineOfRow(int y) const { return firstLine + 1 + 2 * (19 - y); }
};

// Parses the drawing; problems are returned with their lines.
std::optional<Drawing> parse(const std::string& text, std::vector<LineProblem>& problems);

// The drawing of the codes, with the coordinate header.
std::string render(const Codes& codes);

// The symbol of a boundary code, of a square code and of an encounter mark,
// or nothing when the code has none (it is then drawn as '?').
std::optional<std::string> boundarySymbol(int code);
std::optional<std::string> squareSymbol(int code);
std::optional<std::string> markSymbol(int code);

}  // namespace kestrun::forge::drawing
