#include "floor_drawing.h"

#include <cctype>
#include <cstdio>
#include <map>
#include <sstream>

namespace kestrun::forge::drawing {

namespace {

constexpr int kMargin = 4;
constexpr int kLineWidth = 81;
constexpr int kDrawingLines = 41;

// Boundary codes by symbol; '|' and '-' both draw a wall.
const std::map<char, int>& boundaryCodes() {
  static const std::map<char, int> codes = {
      {' ', 0},  {'-', 1},  {'|', 1},  {'D', 2},  {'H', 3},       {'e', 4},  {'w', 5},
      {'n', 6},  {'s', 7},  {'>', 8},  {'<', 9},  {'^', 10},      {'v', 11}, {'E', 12},
      {'W', 13}, {'N', 14}, {'S', 15}, {':', 16}, {'?', kUnknown}};
  return codes;
}

const std::map<char, int>& squareCodes() {
  static const std::map<char, int> codes = {
      {'X', 1},  {'E', 2},  {'P', 3},  {'@', 4},  {'A', 5},  {'~', 6},  {'U', 7},       {'D', 8},
      {'T', 9},  {'G', 10}, {'I', 11}, {'L', 13}, {'F', 14}, {'S', 15}, {'M', 17},      {'m', 19},
      {'B', 21}, {'g', 22}, {'V', 24}, {'Q', 25}, {'R', 26}, {'c', 31}, {'?', kUnknown}};
  return codes;
}

const std::map<char, int>& markCodes() {
  static const std::map<char, int> codes = {{'!', 1}, {'$', 2}, {'?', kUnknown}};
  return codes;
}

std::optional<std::string> symbolOf(const std::map<char, int>& codes, int code) {
  for (const auto& [symbol, c] : codes) {
    if (c == code && symbol != '|') return std::string(1, symbol);
  }
  return std::nullopt;
}

std::string quoted(char c) {
  return std::string("'") + c + "'";
}

class Parser {
 public:
  Parser(std::vector<LineProblem>& problems) : problems_(problems) {}

  std::optional<Drawing> parse(const std::string& text) {
    std::vector<std::string> lines = splitLines(text);
    int first = 1;
    if (!lines.empty() && isCoordinateHeader(lines.front())) {
      lines.erase(lines.begin());
      first = 2;
    }
    if (!halfWidthOnly(lines, first)) return std::nullopt;
    if (lines.size() != kDrawingLines) {
      reportLineCount(lines, first);
      return std::nullopt;
    }
    const size_t before = problems_.size();
    for (int i = 0; i < kDrawingLines; ++i) {
      line_ = first + i;
      std::string body = lines[i].size() > kMargin ? lines[i].substr(kMargin) : "";
      if (body.size() > kLineWidth) {
        report("the line is longer than " + std::to_string(kMargin + kLineWidth) + " characters",
               kMargin + kLineWidth);
      }
      body.resize(kLineWidth, ' ');
      if (i % 2 == 0) {
        boundaryLine(body, i / 2);
      } else {
        interiorLine(body, 19 - i / 2);
      }
    }
    if (problems_.size() != before) return std::nullopt;
    return Drawing{codes_, first};
  }

 private:
  // "0   1   2 ... 19": the x coordinates above the drawing.
  static bool isCoordinateHeader(const std::string& line) {
    std::istringstream in(line);
    std::string token;
    int expected = 0;
    while (in >> token) {
      if (token != std::to_string(expected)) return false;
      ++expected;
    }
    return expected == 20;
  }

  // The drawing is half-width: a full-width character would shift every
  // symbol after it. Each such line is reported once, with its character.
  bool halfWidthOnly(const std::vector<std::string>& lines, int first) {
    bool clean = true;
    for (size_t i = 0; i < lines.size(); ++i) {
      const std::string& line = lines[i];
      int column = 0;
      for (size_t b = 0; b < line.size(); ++column) {
        const auto lead = static_cast<unsigned char>(line[b]);
        const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (length > 1) {
          line_ = first + static_cast<int>(i);
          report("'" + line.substr(b, length) +
                     "' is not a drawing symbol: the drawing uses half-width characters only",
                 column + 1);
          clean = false;
          break;
        }
        b += length;
      }
    }
    return clean;
  }

  // Boundary lines begin with '+' after the margin; rows do not.
  static bool isBoundaryLine(const std::string& line) {
    return line.size() > kMargin && line[kMargin] == '+';
  }

  static std::string expectedLine(size_t index) {
    if (index % 2 == 1) return "the line of row " + std::to_string(19 - index / 2);
    const int k = static_cast<int>(index / 2);
    if (k == 0) return "the boundary line north of row 19";
    if (k == 20) return "the boundary line south of row 0";
    return "the boundary line between rows " + std::to_string(20 - k) + " and " +
           std::to_string(19 - k);
  }

  // One problem for a drawing with too few or too many lines, at the first
  // line that breaks the alternation of boundary lines and rows.
  void reportLineCount(const std::vector<std::string>& lines, int first) {
    size_t mismatch = 0;
    while (mismatch < lines.size() && isBoundaryLine(lines[mismatch]) == (mismatch % 2 == 0)) {
      ++mismatch;
    }
    const std::string count =
        "the map must have 41 drawing lines (boundary lines and rows 19 "
        "to 0), not " +
        std::to_string(lines.size());
    line_ = first + static_cast<int>(std::min(mismatch, lines.size()));
    if (lines.size() < kDrawingLines) {
      report(count + ": " + expectedLine(mismatch) + " is missing " +
             (mismatch < lines.size() ? "before this line" : "at the end"));
    } else if (mismatch < lines.size()) {
      report(count + ": this line is one too many (" + expectedLine(mismatch) +
             " was expected here)");
    } else {
      line_ = first + kDrawingLines;
      report(count + ": the lines from here on are too many");
    }
  }

  static std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    while (!lines.empty() && lines.back().find_first_not_of(' ') == std::string::npos) {
      lines.pop_back();
    }
    return lines;
  }

  // `bodyIndex` is the character's place after the margin.
  void report(const std::string& sentence, int column = 0) {
    problems_.push_back({line_, sentence, column});
  }
  static int columnOf(int bodyIndex) { return kMargin + bodyIndex + 1; }

  std::optional<int> codeOf(const std::map<char, int>& codes, char symbol, const char* what,
                            int bodyIndex) {
    auto found = codes.find(symbol);
    if (found == codes.end()) {
      report(quoted(symbol) + " is not a " + what + " symbol", columnOf(bodyIndex));
      return std::nullopt;
    }
    return found->second;
  }

  // The characters beside a boundary's symbol are decoration; a symbol
  // there would silently be lost.
  void checkCentred(const std::string& body, int x) {
    for (int side : {4 * x + 1, 4 * x + 3}) {
      const char c = body[side];
      if (c == '-' || c == ' ') continue;
      report(quoted(c) + " is not in the middle of its boundary segment: the middle character (" +
                 std::to_string(columnOf(4 * x + 2)) + ") is the boundary's symbol; write -" + c +
                 "-",
             columnOf(side));
    }
  }

  // Line k (0..20) holds the south boundaries of row 20 - k; line 0 and line
  // 20 both hold those of row 0 (the north boundary of row 19 wraps to it).
  void boundaryLine(const std::string& body, int k) {
    const int y = k == 0 ? 0 : 20 - k;
    for (int x = 0; x < 20; ++x) {
      checkCentred(body, x);
      auto code = codeOf(boundaryCodes(), body[4 * x + 2], "boundary", 4 * x + 2);
      if (!code) continue;
      if (k == 0) {
        topLine_[x] = *code;
      } else {
        codes_[x][y][2] = *code;
      }
      if (k == 20 && topLine_[x] != *code) {
        report("the south boundary of square (" + std::to_string(x) +
                   ", 0) differs from the north boundary of (" + std::to_string(x) +
                   ", 19) drawn on the top line; they are the same boundary",
               columnOf(4 * x + 2));
      }
    }
  }

  void interiorLine(const std::string& body, int y) {
    for (int x = 0; x < 20; ++x) {
      if (auto code = codeOf(boundaryCodes(), body[4 * x], "boundary", 4 * x))
        codes_[x][y][1] = *code;
      square(body.substr(4 * x + 1, 3), x, y, columnOf(4 * x + 1));
    }
    auto east = codeOf(boundaryCodes(), body[80], "boundary", 80);
    if (east && *east != codes_[0][y][1]) {
      report("the east boundary of square (19, " + std::to_string(y) +
                 ") differs from the west boundary of (0, " + std::to_string(y) +
                 "); they are the same boundary",
             columnOf(80));
    }
  }

  // A square's token: a symbol or a number 0..99 for its code, then
  // optionally an encounter mark.
  void square(const std::string& cell, int x, int y, int column) {
    std::string token;
    for (char c : cell) {
      if (c != ' ') token += c;
    }
    int mark = 0;
    if (!token.empty() && markCodes().count(token.back()) && !(token.size() == 1 && token == "?")) {
      mark = markCodes().at(token.back());
      token.pop_back();
    }
    codes_[x][y][3] = mark;
    codes_[x][y][0] = 0;
    if (token.empty()) return;
    if (std::isdigit(static_cast<unsigned char>(token[0]))) {
      if (token.size() > 2 || !std::isdigit(static_cast<unsigned char>(token.back()))) {
        report("\"" + cell + "\" at (" + std::to_string(x) + ", " + std::to_string(y) +
                   ") is not a square code",
               column);
        return;
      }
      codes_[x][y][0] = std::stoi(token);
      return;
    }
    if (token.size() != 1) {
      report("\"" + cell + "\" at (" + std::to_string(x) + ", " + std::to_string(y) +
                 ") is not a square symbol",
             column);
      return;
    }
    const int at = column + static_cast<int>(cell.find(token[0]));
    if (auto code = codeOf(squareCodes(), token[0], "square", at - kMargin - 1))
      codes_[x][y][0] = *code;
  }

  std::vector<LineProblem>& problems_;
  Codes codes_{};
  std::array<int, 20> topLine_{};
  int line_ = 0;
};

std::string boundaryText(int code) {
  return boundarySymbol(code).value_or("?");
}

std::string verticalText(int code) {
  return code == 1 ? "|" : boundaryText(code);
}

std::string segment(int code) {
  const std::string symbol = boundaryText(code);
  const char side = (code == 0 || code == 16) ? ' ' : '-';
  if (symbol == "-") return "---";
  return std::string(1, side) + symbol + side;
}

std::string cell(int code, int mark) {
  std::string token;
  if (code != 0) token = squareSymbol(code).value_or(code == kUnknown ? "?" : std::to_string(code));
  if (mark != 0) token += markSymbol(mark).value_or("?");
  if (token.size() == 1) return " " + token + " ";
  return std::string(3 - token.size(), ' ') + token;
}

std::string boundaryLineText(const Codes& codes, int y) {
  std::string line(kMargin, ' ');
  line += "+";
  for (int x = 0; x < 20; ++x) line += segment(codes[x][y][2]) + "+";
  return line;
}

}  // namespace

std::optional<std::string> boundarySymbol(int code) {
  if (code == 1) return "-";
  return symbolOf(boundaryCodes(), code);
}
std::optional<std::string> squareSymbol(int code) {
  return symbolOf(squareCodes(), code);
}
std::optional<std::string> markSymbol(int code) {
  return symbolOf(markCodes(), code);
}

std::optional<Drawing> parse(const std::string& text, std::vector<LineProblem>& problems) {
  return Parser(problems).parse(text);
}

std::string render(const Codes& codes) {
  std::string header(kMargin + kLineWidth, ' ');
  for (int x = 0; x < 20; ++x) {
    const std::string label = std::to_string(x);
    header.replace(kMargin + 4 * x + 2, label.size(), label);
  }
  while (header.back() == ' ') header.pop_back();
  std::string text = header + "\n" + boundaryLineText(codes, 0) + "\n";
  for (int y = 19; y >= 0; --y) {
    char margin[8];
    std::snprintf(margin, sizeof margin, "%3d ", y);
    std::string line = margin;
    for (int x = 0; x < 20; ++x) {
      line += verticalText(codes[x][y][1]);
      line += cell(codes[x][y][0], codes[x][y][3]);
    }
    line += verticalText(codes[0][y][1]);
    while (line.back() == ' ') line.pop_back();
    text += line + "\n" + boundaryLineText(codes, y) + "\n";
  }
  return text;
}

}  // namespace kestrun::forge::drawing
