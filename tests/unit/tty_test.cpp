#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "frontends/tty/tty_frame.h"
#include "frontends/tty/tty_input.h"
#include "runtime/graphics.h"
#include "runtime/keyboard.h"
#include "runtime/sjis.h"
#include "runtime/textscreen.h"

namespace kestrun::fe {
namespace {

using Kind = TerminalInput::Kind;

}  // namespace

void PrintTo(const TerminalCell& cell, std::ostream* out) {
  *out << "{'" << cell.glyph << "' fg " << int(cell.fg) << " bg " << int(cell.bg) << " width "
       << int(cell.width) << "}";
}

void PrintTo(const TerminalInput& input, std::ostream* out) {
  *out << "{kind " << int(input.kind) << " code " << int(input.code) << " '" << input.text << "'}";
}

namespace {

TerminalInput key(uint8_t code) {
  return {Kind::Key, code, {}};
}
TerminalInput text(std::string utf8) {
  return {Kind::Text, 0, std::move(utf8)};
}

std::vector<TerminalInput> feedAll(std::initializer_list<std::string_view> chunks) {
  TerminalInputParser parser;
  std::vector<TerminalInput> all;
  for (const std::string_view chunk : chunks) {
    for (auto& input : parser.feed(chunk)) all.push_back(input);
  }
  for (auto& input : parser.flush()) all.push_back(input);
  return all;
}

TEST(TerminalInput, EscapeSequencesBecomeConsoleKeys) {
  using namespace rt::key;
  EXPECT_EQ(feedAll({"\x1b[A\x1b[B\x1b[C\x1b[D"}),
            (std::vector{key(Up), key(Down), key(Right), key(Left)}));
  EXPECT_EQ(feedAll({"\x1bOA\x1bOB\x1bOC\x1bOD"}),
            (std::vector{key(Up), key(Down), key(Right), key(Left)}));
  EXPECT_EQ(feedAll({"\x1b[H\x1b[1~\x1b[7~\x1bOH"}),
            (std::vector{key(Home), key(Home), key(Home), key(Home)}));
  EXPECT_EQ(feedAll({"\x1b[1;2H\x1b[2~\x1b[3~"}),
            (std::vector{key(ShiftHome), key(Insert), key(Delete)}));
  // Modifiers other than Shift leave the key as it is.
  EXPECT_EQ(feedAll({"\x1b[1;5A\x1b[1;5H"}), (std::vector{key(Up), key(Home)}));
  // End, Page Up/Down, function keys and terminal reports mean nothing here.
  EXPECT_EQ(feedAll({"\x1b[F\x1b[4~\x1b[8~\x1b[5~\x1b[15~\x1bOP\x1b[?1;2c"}),
            std::vector<TerminalInput>{});
}

TEST(TerminalInput, ControlBytes) {
  using namespace rt::key;
  EXPECT_EQ(feedAll({"\r"}), std::vector{key(Enter)});
  EXPECT_EQ(feedAll({"\n"}), std::vector{key(Enter)});
  EXPECT_EQ(feedAll({"\r\n\r"}), (std::vector{key(Enter), key(Enter)}));
  EXPECT_EQ(feedAll({"\x7f\x08"}), (std::vector{key(Backspace), key(Backspace)}));
  // Ctrl+C and other control keys are never keys of the console.
  EXPECT_EQ(feedAll({"\x03\x01\x09\x1a"}), std::vector<TerminalInput>{});
  EXPECT_EQ(feedAll({"\x0c"}), (std::vector{TerminalInput{Kind::Redraw, 0, {}}}));
}

TEST(TerminalInput, LoneEscapeWaitsForFlush) {
  using namespace rt::key;
  TerminalInputParser parser;
  EXPECT_TRUE(parser.feed("\x1b").empty());
  EXPECT_TRUE(parser.escapePending());
  EXPECT_EQ(parser.flush(), std::vector{key(Escape)});
  EXPECT_FALSE(parser.escapePending());
  // A sequence split between reads is still one key.
  EXPECT_TRUE(parser.feed("\x1b").empty());
  EXPECT_TRUE(parser.feed("[").empty());
  EXPECT_EQ(parser.feed("A"), std::vector{key(Up)});
  // An unfinished sequence is dropped, not typed.
  EXPECT_TRUE(parser.feed("\x1b[1;").empty());
  EXPECT_TRUE(parser.flush().empty());
  // Escape before an ordinary character (Alt+x) is Escape, then the character.
  EXPECT_EQ(feedAll({"\x1bx"}), (std::vector{key(Escape), text("x")}));
  EXPECT_EQ(feedAll({"\x1b\x1b"}), (std::vector{key(Escape), key(Escape)}));
  EXPECT_EQ(feedAll({"\x1b[\r"}), std::vector{key(Enter)});
}

TEST(TerminalInput, TextKeepsOrderAndWholeCharacters) {
  using namespace rt::key;
  EXPECT_EQ(feedAll({"ab\x1b[Ac\r"}), (std::vector{text("ab"), key(Up), text("c"), key(Enter)}));
  // "あ" split over three reads arrives once, whole.
  TerminalInputParser parser;
  EXPECT_TRUE(parser.feed("\xe3").empty());
  EXPECT_TRUE(parser.feed("\x81").empty());
  EXPECT_EQ(parser.feed("\x82z"), std::vector{text("\xe3\x81\x82z")});
  // Broken UTF-8 is dropped without taking its neighbours with it.
  EXPECT_EQ(feedAll({"a\x80\xe3\x81"
                     "b\xff"
                     "c"}),
            std::vector{text("abc")});
  EXPECT_EQ(feedAll({"\xe3\x81\r"}), std::vector{key(Enter)});
}

rt::GraphicsPlane planeWith(
    std::initializer_list<std::pair<std::pair<int, int>, uint32_t>> pixels) {
  rt::GraphicsPlane plane;
  for (const auto& [xy, rgb] : pixels) plane.pixels()[xy.second * rt::kPlaneWidth + xy.first] = rgb;
  return plane;
}

TEST(TerminalGraphics, BrailleDotsFollowTheLitSubBlocks) {
  EXPECT_EQ(brailleCell(rt::GraphicsPlane().pixels(), 0, 0), BrailleCell{});
  // Cell (2, 1) covers x 16..23, y 18..35; its sub-block rows start at 0, 4, 9, 13.
  const auto dots = [](int x, int y) {
    return brailleCell(planeWith({{{16 + x, 18 + y}, 0xFFFFFF}}).pixels(), 2, 1).dots;
  };
  EXPECT_EQ(dots(0, 0), 0x01);
  EXPECT_EQ(dots(3, 3), 0x01);
  EXPECT_EQ(dots(4, 0), 0x08);
  EXPECT_EQ(dots(0, 4), 0x02);
  EXPECT_EQ(dots(7, 8), 0x10);
  EXPECT_EQ(dots(0, 9), 0x04);
  EXPECT_EQ(dots(5, 12), 0x20);
  EXPECT_EQ(dots(0, 13), 0x40);
  EXPECT_EQ(dots(7, 17), 0x80);
  // Neighbouring cells see nothing of it.
  const auto plane = planeWith({{{16, 18}, 0xFFFFFF}});
  EXPECT_EQ(brailleCell(plane.pixels(), 1, 1).dots, 0);
  EXPECT_EQ(brailleCell(plane.pixels(), 2, 0).dots, 0);
  EXPECT_EQ(brailleCell(plane.pixels(), 2, 2).dots, 0);
}

TEST(TerminalGraphics, BrailleColourIsTheCommonestLitPixel) {
  const uint8_t red = nearestAnsiColour(0xFF0000);
  const uint8_t blue = nearestAnsiColour(0x0000FF);
  const uint8_t white = nearestAnsiColour(0xFFFFFF);
  auto twoBlueOneRed = planeWith({{{0, 0}, 0x0000FF}, {{1, 0}, 0x0000FF}, {{7, 17}, 0xFF0000}});
  EXPECT_EQ(brailleCell(twoBlueOneRed.pixels(), 0, 0).colour, blue);
  // On a tie the brighter colour wins.
  auto tie = planeWith({{{0, 0}, 0x0000FF}, {{7, 17}, 0xFFFFFF}});
  EXPECT_EQ(brailleCell(tie.pixels(), 0, 0).colour, white);
  EXPECT_NE(red, blue);
  // A dim lit pixel is never drawn in black.
  auto dim = planeWith({{{0, 0}, 0x101010}});
  EXPECT_NE(brailleCell(dim.pixels(), 0, 0).colour, kAnsiBlack);
}

TEST(TerminalGraphics, TextColoursMapOntoTheSixteenTerminalColours) {
  // Full intensity is the bright set, half intensity the normal set.
  const uint8_t full[8] = {0, 12, 9, 13, 10, 14, 11, 15};
  const uint8_t half[8] = {8, 4, 1, 5, 2, 6, 3, 7};
  for (uint8_t colour = 0; colour < 8; ++colour) {
    EXPECT_EQ(nearestAnsiColour(rt::textColourRgb(colour, false)), full[colour]) << int(colour);
    EXPECT_EQ(nearestAnsiColour(rt::textColourRgb(colour, true)), half[colour]) << int(colour);
  }
  // Faint graphics keep their hue instead of turning black.
  EXPECT_EQ(nearestAnsiColour(0x101010, false), 8);
  EXPECT_EQ(nearestAnsiColour(0x000018, false), 4);
  EXPECT_EQ(nearestAnsiColour(0x101010), 0);
}

const TerminalCell& at(const TerminalFrame& frame, int column, int row) {
  return frame[static_cast<size_t>(row) * rt::kColumns + column];
}

TEST(TerminalFrameBuilding, TextCoversGraphicsOnlyWhereItHasCharacters) {
  rt::TextScreen text;
  rt::GraphicsPlane graphics;
  for (int y = 0; y < rt::kPlaneHeight; ++y) {
    for (int x = 0; x < 4 * rt::kCellWidth; ++x)
      graphics.pixels()[y * rt::kPlaneWidth + x] = 0x00FF00;
  }
  text.setColours(6, 0, false);
  text.write("A");
  text.setColours(7, 1, false);
  text.write(" ");
  text.setColours(6, 0, true);
  text.write(rt::toShiftJis("あ"));
  const TerminalFrame frame = buildFrame(text, graphics);
  EXPECT_EQ(at(frame, 0, 0), (TerminalCell{"A", 11, kAnsiBlack, 1}));
  EXPECT_EQ(at(frame, 1, 0), (TerminalCell{" ", 7, 12, 1}));
  EXPECT_EQ(at(frame, 2, 0), (TerminalCell{"あ", 3, kAnsiBlack, 2}));
  EXPECT_EQ(at(frame, 3, 0), (TerminalCell{"", 3, kAnsiBlack, 0}));
  // The inside of the filled area is black; its edge is a thin line of dots.
  EXPECT_EQ(at(frame, 0, 1), (TerminalCell{" ", 7, kAnsiBlack, 1}));
  EXPECT_EQ(at(frame, 3, 1), (TerminalCell{"\u28b8", 10, kAnsiBlack, 1}));
  EXPECT_EQ(at(frame, 4, 1), (TerminalCell{" ", 7, kAnsiBlack, 1}));
}

TEST(TerminalFrameBuilding, NoControlBytesReachTheTerminal) {
  rt::TextScreen text;
  const char bytes[] = {'\x1b', '\x07', '\x7f', '\x80', '\xa0', '\xfd', '\x81', ' '};
  text.write(std::string_view(bytes, sizeof bytes));
  for (const TerminalCell& cell : buildFrame(text, rt::GraphicsPlane())) {
    for (const char c : cell.glyph) EXPECT_GE(static_cast<uint8_t>(c), 0x20);
    EXPECT_EQ(cell.glyph.find('\x7f'), std::string::npos);
  }
}

// A terminal just capable enough to check drawChanges: cursor positioning,
// colours, and wide characters that blank both halves when either is written.
class FakeTerminal {
 public:
  explicit FakeTerminal(bool ambiguousIsWide) : ambiguousIsWide_(ambiguousIsWide) {}

  void run(std::string_view out) {
    for (size_t i = 0; i < out.size();) {
      if (out[i] == '\x1b') {
        const size_t end = out.find_first_of("HmJ", i);
        command(out.substr(i + 2, end - i - 2), out[end]);
        i = end + 1;
        continue;
      }
      size_t length = 1;
      while (i + length < out.size() && (static_cast<uint8_t>(out[i + length]) & 0xC0) == 0x80) {
        ++length;
      }
      put(std::string(out.substr(i, length)));
      i += length;
    }
  }

  // What a reader sees: the glyph in each cell, colours where something shows.
  bool shows(const TerminalFrame& frame, std::string& why) const {
    for (int r = 0; r < rt::kRows; ++r) {
      for (int c = 0; c < rt::kColumns; ++c) {
        const TerminalCell& want = at(frame, c, r);
        const Cell& have = cells_[r][c];
        if (want.width == 0) {
          const bool ok = have.wideRight || (have.glyph == " " && have.bg == want.bg);
          if (!ok) why = "right half at " + std::to_string(c) + "," + std::to_string(r);
          if (!ok) return false;
          continue;
        }
        if (have.glyph != want.glyph || have.fg != want.fg || have.bg != want.bg ||
            have.wideRight) {
          why = "cell " + std::to_string(c) + "," + std::to_string(r) + " shows '" + have.glyph +
                "' want '" + want.glyph + "'";
          return false;
        }
      }
    }
    return true;
  }

 private:
  struct Cell {
    std::string glyph = " ";
    int fg = 7;
    int bg = kDefaultBackground;
    bool wideRight = false;
  };

  void command(std::string_view params, char final) {
    const size_t semicolon = params.find(';');
    const int a = number(params.substr(0, semicolon));
    const int b = semicolon == std::string_view::npos ? 0 : number(params.substr(semicolon + 1));
    if (final == 'H') {
      row_ = a - 1;
      column_ = b - 1;
    } else if (final == 'J') {
      for (auto& row : cells_) row.fill(Cell{});
    } else if (a == 0) {
      fg_ = 7;
      bg_ = kDefaultBackground;
    } else {
      fg_ = a >= 90 ? a - 90 + 8 : a - 30;
      bg_ = b == 49 ? kDefaultBackground : b >= 100 ? b - 100 + 8 : b - 40;
    }
  }

  static int number(std::string_view digits) {
    int value = 0;
    for (const char c : digits) value = value * 10 + (c - '0');
    return value;
  }

  int widthOf(const std::string& glyph) const {
    return glyph == "あ" || (glyph == "○" && ambiguousIsWide_) ? 2 : 1;
  }

  void erase(int column) {
    Cell& cell = cells_[row_][column];
    if (cell.wideRight && column > 0) cells_[row_][column - 1] = Cell{};
    if (!cell.wideRight && column + 1 < rt::kColumns && cells_[row_][column + 1].wideRight) {
      cells_[row_][column + 1] = Cell{};
    }
    cell = Cell{};
  }

  void put(const std::string& glyph) {
    const int width = widthOf(glyph);
    ASSERT_LE(column_ + width, rt::kColumns) << "written past the right edge";
    for (int i = 0; i < width; ++i) erase(column_ + i);
    cells_[row_][column_] = {glyph, fg_, bg_, false};
    if (width == 2) cells_[row_][column_ + 1] = {"", fg_, bg_, true};
    column_ += width;
  }

  bool ambiguousIsWide_;
  std::array<std::array<Cell, rt::kColumns>, rt::kRows> cells_{};
  int column_ = 0;
  int row_ = 0;
  int fg_ = 7;
  int bg_ = kDefaultBackground;
};

TerminalFrame randomFrame(std::mt19937& random, const TerminalFrame& previous) {
  const std::vector<TerminalCell> narrow = {{"A", 15, kDefaultBackground, 1},
                                            {"B", 9, 4, 1},
                                            {" ", 7, 12, 1},
                                            {"\u28ff", 10, kDefaultBackground, 1},
                                            {}};
  const std::vector<std::string> wide = {"あ", "○"};
  TerminalFrame frame = previous;
  const bool fewChanges = random() % 2 == 0;
  for (int row = 0; row < rt::kRows; ++row) {
    for (int column = 0; column < rt::kColumns; ++column) {
      if (fewChanges && random() % 20 != 0) continue;
      TerminalCell& cell = frame[static_cast<size_t>(row) * rt::kColumns + column];
      if (random() % 3 == 0 && column + 1 < rt::kColumns) {
        const uint8_t fg = static_cast<uint8_t>(random() % 16);
        cell = {wide[random() % wide.size()], fg, kDefaultBackground, 2};
        frame[static_cast<size_t>(row) * rt::kColumns + column + 1] = {"", fg, kDefaultBackground,
                                                                       0};
        ++column;
      } else {
        cell = narrow[random() % narrow.size()];
      }
    }
    // Repair pairs broken by the partial changes.
    for (int column = 0; column < rt::kColumns; ++column) {
      TerminalCell* cells = &frame[static_cast<size_t>(row) * rt::kColumns];
      const bool leftAlone =
          cells[column].width == 2 && (column + 1 == rt::kColumns || cells[column + 1].width != 0);
      const bool rightAlone =
          cells[column].width == 0 && (column == 0 || cells[column - 1].width != 2);
      if (leftAlone || rightAlone) cells[column] = TerminalCell{};
    }
  }
  return frame;
}

TEST(TerminalDrawing, OnlyChangedCellsAreSent) {
  TerminalFrame shown = blankFrame();
  TerminalFrame wanted = blankFrame();
  EXPECT_EQ(drawChanges(wanted, shown), "");
  wanted[2 * rt::kColumns + 4] = {"A", 15, kDefaultBackground, 1};
  wanted[2 * rt::kColumns + 5] = {"B", 15, kDefaultBackground, 1};
  EXPECT_EQ(drawChanges(wanted, shown), "\x1b[3;5H\x1b[97;49mAB");
  EXPECT_EQ(shown, wanted);
  EXPECT_EQ(drawChanges(wanted, shown), "");
}

TEST(TerminalDrawing, TerminalMatchesEveryFrameWhateverItsCharacterWidths) {
  for (const bool ambiguousIsWide : {false, true}) {
    std::mt19937 random(ambiguousIsWide ? 7 : 11);
    FakeTerminal terminal(ambiguousIsWide);
    TerminalFrame shown = blankFrame();
    TerminalFrame wanted = blankFrame();
    for (int step = 0; step < 150; ++step) {
      wanted = randomFrame(random, wanted);
      terminal.run(drawChanges(wanted, shown));
      std::string why;
      ASSERT_TRUE(terminal.shows(wanted, why)) << "step " << step << ": " << why;
    }
  }
}

// A light-themed terminal shows the game as the window does: the black is sent
// for every cell, and colour-0 text is black on black.
TEST(TerminalDrawing, TheGamesBlackBackgroundIsSentForEveryCell) {
  rt::TextScreen text;
  rt::GraphicsPlane graphics;
  graphics.pixels()[0] = 0xFFFFFF;
  text.moveTo(10, 5);
  text.setColours(0, 0, false);
  text.write("0");
  text.setColours(6, 0, false);
  text.write(rt::toShiftJis("町"));
  const TerminalFrame frame = buildFrame(text, graphics);
  for (const TerminalCell& cell : frame) ASSERT_EQ(cell.bg, kAnsiBlack);
  EXPECT_EQ(at(frame, 10, 5), (TerminalCell{"0", kAnsiBlack, kAnsiBlack, 1}));

  FakeTerminal terminal(false);
  TerminalFrame shown = blankFrame();
  const std::string out = clearScreen() + drawChanges(frame, shown);
  EXPECT_EQ(out.find(";49m"), std::string::npos);
  terminal.run(out);
  std::string why;
  EXPECT_TRUE(terminal.shows(frame, why)) << why;
}

TEST(TerminalDrawing, NoticeInBothLanguagesFitsASmallTerminal) {
  const std::string wide = enlargeNotice(79, 30);
  EXPECT_NE(wide.find("端末を 80 x 24 以上に広げてください"), std::string::npos);
  EXPECT_NE(wide.find("Please enlarge the terminal to 80 x 24"), std::string::npos);
  EXPECT_NE(wide.find("79 x 30"), std::string::npos);
  // Ten columns: five double-width characters, or ten ASCII ones, per line.
  const std::string narrow = enlargeNotice(10, 2);
  EXPECT_NE(narrow.find("\x1b[1;1H端末を 80"), std::string::npos);
  EXPECT_NE(narrow.find("\x1b[2;1HPlease enl"), std::string::npos);
  EXPECT_EQ(narrow.find("\x1b[3;1H"), std::string::npos);
  EXPECT_EQ(narrow.find("Please enla"), std::string::npos);
}

}  // namespace
}  // namespace kestrun::fe
