#include <algorithm>

#include "plan_pictures.h"

namespace kestrun::forge::plan {

namespace {

constexpr int kSquare = 32;
constexpr int kLeft = 40;  // room for the row numbers
constexpr int kTop = 56;   // the title and the column numbers
constexpr int kGrid = 20 * kSquare;
constexpr int kWidth = kLeft * 2 + kGrid;
constexpr int kLegendTop = kTop + kGrid + 36;
constexpr int kLineHeight = 20;
constexpr int kSwatchLeft = 16;
constexpr int kTextLeft = 64;
constexpr int kLegendColumns = (kWidth - kTextLeft - 8) / 8;

namespace colour {
constexpr Rgb Paper = 0xFFFFFF;
constexpr Rgb Grid = 0xE2E2E2;
constexpr Rgb Ink = 0x202020;
constexpr Rgb Labels = 0x505050;
constexpr Rgb Door = 0xB86B1E;
constexpr Rgb Hidden = 0x8E2DB5;
constexpr Rgb OneWay = 0x168A28;
constexpr Rgb Edge = 0x9A9A9A;
constexpr Rgb Dark = 0xAEB6C8;
constexpr Rgb Rock = 0x5A5A5A;
}  // namespace colour

Rgb familyColour(Family family) {
  switch (family) {
    case Family::Stairs:
      return 0x1A7F1A;
    case Family::Teleport:
      return 0xA0239E;
    case Family::Battle:
      return 0xC01818;
    case Family::Trap:
      return 0xC86400;
    case Family::Message:
      return 0x1F5FBF;
    case Family::Place:
      return 0x007F7F;
    case Family::Item:
      return 0x8A6D00;
    default:
      return 0x404040;
  }
}

// A colour faded towards white, for the ground behind a symbol.
Rgb tint(Rgb c) {
  auto channel = [&](int shift) {
    const int v = (c >> shift) & 0xFF;
    return static_cast<Rgb>(v + (255 - v) * 4 / 5) << shift;
  };
  return channel(16) | channel(8) | channel(0);
}

enum class Swatch {
  None,
  Wall,
  Door,
  Hidden,
  OneWay,
  OneWayDoor,
  OneWayHidden,
  Edge,
  Dark,
  Rock,
  Symbol
};

struct LegendLine {
  LegendLine(std::string words = {}, Swatch sample = Swatch::None, std::string letter = {},
             Family group = Family::None)
      : text(std::move(words)), swatch(sample), symbol(std::move(letter)), family(group) {}
  std::string text;
  Swatch swatch;
  std::string symbol;
  Family family;
  bool continued = false;  // a further line of a text beside a swatch
};

// Cuts a text into lines of at most `columns` half-width columns, at blanks
// where it can.
std::vector<std::string> wrapText(const std::string& text, int columns) {
  std::vector<std::string> lines;
  std::string line, word;
  auto flushWord = [&] {
    if (line.empty()) {
      line = word;
    } else if (textColumns(line) + 1 + textColumns(word) <= columns) {
      line += " " + word;
    } else {
      lines.push_back(line);
      line = word;
    }
    word.clear();
  };
  for (char c : text) {
    if (c == ' ') {
      flushWord();
    } else {
      word += c;
    }
  }
  flushWord();
  if (!line.empty()) lines.push_back(line);
  return lines;
}

void addWrapped(std::vector<LegendLine>& lines, LegendLine first) {
  const std::vector<std::string> parts = wrapText(first.text, kLegendColumns);
  for (size_t i = 0; i < parts.size(); ++i) {
    LegendLine line = i == 0 ? first : LegendLine{};
    line.text = parts[i];
    line.continued = i > 0 && first.swatch != Swatch::None;
    lines.push_back(line);
  }
}

std::vector<LegendLine> legendLines(const FloorPlan& plan) {
  std::vector<LegendLine> lines;
  lines.push_back({"Boundaries"});
  lines.push_back({"wall", Swatch::Wall});
  lines.push_back({"door", Swatch::Door});
  lines.push_back({"hidden passage: a wall to the eye; the door key opens it", Swatch::Hidden});
  lines.push_back({"one way: open only in the direction of the arrow", Swatch::OneWay});
  lines.push_back({"one-way door", Swatch::OneWayDoor});
  lines.push_back({"one-way hidden passage", Swatch::OneWayHidden});
  addWrapped(lines, {kWrapNote, Swatch::Edge});
  lines.push_back({""});
  lines.push_back({"Squares"});
  lines.push_back({"dark square", Swatch::Dark});
  lines.push_back({"rock", Swatch::Rock});
  for (const KeyEntry& entry : symbolKey(plan))
    addWrapped(lines, {entry.meaning, Swatch::Symbol, entry.symbol, entry.family});
  for (const std::string& note : plan.notes) addWrapped(lines, {"Floor: " + note + "."});
  lines.push_back({""});
  for (int y = 19; y >= 0; --y) {
    for (int x = 0; x < 20; ++x) {
      const Square& s = plan.squares[x][y];
      if (s.description.empty()) continue;
      addWrapped(lines,
                 {placeText(x, y) + " " + s.description, Swatch::Symbol, s.symbol, s.family});
    }
  }
  return lines;
}

int squareLeft(int x) {
  return kLeft + kSquare * x;
}
int squareTop(int y) {
  return kTop + kSquare * (19 - y);
}

// (dx, dy) on the picture of a direction (0 north, 1 east, 2 south, 3 west).
constexpr int kStepX[4] = {0, 1, 0, -1};
constexpr int kStepY[4] = {-1, 0, 1, 0};

class PlanDrawer {
 public:
  PlanDrawer(const FloorPlan& plan, Canvas& canvas) : p_(plan), c_(canvas) {}

  void draw() {
    const PictureSize size = pictureSize(p_);
    c_.box(0, 0, size.width, size.height, colour::Paper);
    c_.text(
        kLeft, 8,
        "Floor " + std::to_string(p_.floor) + (p_.title.empty() ? "" : " of \"" + p_.title + "\""),
        colour::Ink);
    squares();
    gridLines();
    boundaries();
    labels();
    legend();
  }

 private:
  void squares() {
    for (int x = 0; x < 20; ++x) {
      for (int y = 0; y < 20; ++y) {
        const Square& s = p_.squares[x][y];
        const int left = squareLeft(x), top = squareTop(y);
        if (s.dark) c_.box(left, top, kSquare, kSquare, colour::Dark);
        if (s.rock) c_.box(left, top, kSquare, kSquare, colour::Rock);
        if (!s.symbol.empty() && !s.rock)
          symbol(left + kSquare / 2, top + kSquare / 2, s.symbol, s.family);
        if (s.encounterMark != 0) {
          c_.text(left + 23, top + 1, s.encounterMark == 1 ? "!" : "$",
                  familyColour(Family::Battle));
        }
      }
    }
  }

  void symbol(int cx, int cy, const std::string& letter, Family family) {
    c_.box(cx - 7, cy - 10, 14, 20, tint(familyColour(family)));
    c_.text(cx - 4, cy - 8, letter, familyColour(family));
  }

  void gridLines() {
    for (int i = 1; i < 20; ++i) {
      c_.line(squareLeft(i), kTop, squareLeft(i), kTop + kGrid, colour::Grid, 1, false);
      c_.line(kLeft, kTop + kSquare * i, kLeft + kGrid, kTop + kSquare * i, colour::Grid, 1, false);
    }
  }

  void boundaries() {
    for (int x = 0; x < 20; ++x) {
      for (int y = 0; y < 20; ++y) {
        const int left = squareLeft(x), top = squareTop(y);
        boundary(p_.west[x][y], false, left, top, x == 0);
        boundary(p_.south[x][y], true, left, top + kSquare, y == 0);
        // The floor wraps: the far edges show the same boundaries again.
        if (x == 0) boundary(p_.west[x][y], false, left + kGrid, top, true);
        if (y == 0) boundary(p_.south[x][y], true, left, kTop, true);
      }
    }
  }

  // A boundary from (x, y) along its square's side; `horizontal` for a south one.
  void boundary(const Boundary& b, bool horizontal, int x, int y, bool edge) {
    const int x2 = horizontal ? x + kSquare : x, y2 = horizontal ? y : y + kSquare;
    if (b.isOpen()) {
      if (edge) c_.line(x, y, x2, y2, colour::Edge, 1, true);
      return;
    }
    passage(b.kind(), horizontal, x, y);
    if (b.isOneWay()) arrow((x + x2) / 2, (y + y2) / 2, oneWayDirection(b, horizontal));
  }

  void passage(Passage kind, bool horizontal, int x, int y) {
    const int x2 = horizontal ? x + kSquare : x, y2 = horizontal ? y : y + kSquare;
    if (kind == Passage::Hidden) {
      c_.line(x, y, x2, y2, colour::Hidden, 3, true);
      return;
    }
    c_.line(x, y, x2, y2, colour::Ink, 3, false);
    if (kind == Passage::Door) {
      const int cx = (x + x2) / 2, cy = (y + y2) / 2;
      if (horizontal) {
        c_.box(cx - 8, cy - 4, 16, 8, colour::Door);
      } else {
        c_.box(cx - 4, cy - 8, 8, 16, colour::Door);
      }
    }
  }

  void arrow(int cx, int cy, int direction) {
    const int dx = kStepX[direction], dy = kStepY[direction];
    const int xs[3] = {cx + 8 * dx, cx - 6 * dx + 6 * dy, cx - 6 * dx - 6 * dy};
    const int ys[3] = {cy + 8 * dy, cy - 6 * dy + 6 * dx, cy - 6 * dy - 6 * dx};
    c_.triangle(xs, ys, colour::OneWay);
  }

  void labels() {
    for (int i = 0; i < 20; ++i) {
      const std::string n = std::to_string(i);
      const int columnX = squareLeft(i) + kSquare / 2 - 4 * static_cast<int>(n.size());
      c_.text(columnX, kTop - 20, n, colour::Labels);
      c_.text(columnX, kTop + kGrid + 4, n, colour::Labels);
      const int rowY = squareTop(i) + kSquare / 2 - 8;
      c_.text(kLeft - 6 - 8 * static_cast<int>(n.size()), rowY, n, colour::Labels);
      c_.text(kLeft + kGrid + 6, rowY, n, colour::Labels);
    }
  }

  void legend() {
    int y = kLegendTop;
    for (const LegendLine& line : legendLines(p_)) {
      swatch(line, kSwatchLeft, y);
      const bool besideSwatch = line.swatch != Swatch::None || line.continued;
      c_.text(besideSwatch ? kTextLeft : kSwatchLeft, y, line.text, colour::Ink);
      y += kLineHeight;
    }
  }

  void swatch(const LegendLine& line, int x, int y) {
    const int mid = y + 8;
    switch (line.swatch) {
      case Swatch::Wall:
        passage(Passage::Wall, true, x, mid);
        break;
      case Swatch::Door:
        passage(Passage::Door, true, x, mid);
        break;
      case Swatch::Hidden:
        passage(Passage::Hidden, true, x, mid);
        break;
      case Swatch::OneWay:
      case Swatch::OneWayDoor:
      case Swatch::OneWayHidden: {
        const Passage kind = line.swatch == Swatch::OneWay       ? Passage::Wall
                             : line.swatch == Swatch::OneWayDoor ? Passage::Door
                                                                 : Passage::Hidden;
        passage(kind, true, x, mid);
        arrow(x + kSquare / 2, mid, 0);
        break;
      }
      case Swatch::Edge:
        c_.line(x, mid, x + kSquare, mid, colour::Edge, 1, true);
        break;
      case Swatch::Dark:
        c_.box(x + 8, y - 2, 20, 20, colour::Dark);
        break;
      case Swatch::Rock:
        c_.box(x + 8, y - 2, 20, 20, colour::Rock);
        break;
      case Swatch::Symbol:
        symbol(x + kSquare / 2, mid, line.symbol, line.family);
        break;
      case Swatch::None:
        break;
    }
  }

  const FloorPlan& p_;
  Canvas& c_;
};

}  // namespace

int textColumns(const std::string& utf8) {
  int columns = 0;
  for (size_t i = 0; i < utf8.size();) {
    const unsigned char lead = static_cast<unsigned char>(utf8[i]);
    const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    // Half-width katakana (U+FF61..U+FF9F) take one column like ASCII.
    const bool halfWidthKana = length == 3 && lead == 0xEF && i + 2 < utf8.size() &&
                               ((static_cast<unsigned char>(utf8[i + 1]) == 0xBD &&
                                 static_cast<unsigned char>(utf8[i + 2]) >= 0xA1) ||
                                static_cast<unsigned char>(utf8[i + 1]) == 0xBE);
    columns += length == 1 || halfWidthKana ? 1 : 2;
    i += length;
  }
  return columns;
}

PictureSize pictureSize(const FloorPlan& plan) {
  const int lines = static_cast<int>(legendLines(plan).size());
  return {kWidth, kLegendTop + lines * kLineHeight + 12};
}

void drawPlan(const FloorPlan& plan, Canvas& canvas) {
  PlanDrawer(plan, canvas).draw();
}

}  // namespace kestrun::forge::plan
