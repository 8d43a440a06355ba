#include <sstream>

#include "plan_pictures.h"

namespace kestrun::forge::plan {

namespace {

constexpr int kMargin = 4;

// Arrows by the kind of way through and its direction (north, east, south, west).
const char* const kArrows[3][4] = {
    {"↑", "→", "↓", "←"},  // open one way
    {"⇑", "⇒", "⇓", "⇐"},  // a door one way
    {"⇡", "⇢", "⇣", "⇠"},  // a hidden passage one way
};

// Box-drawing joins by the arms that meet: up 1, down 2, left 4, right 8.
const char* const kJoins[16] = {" ", "╵", "╷", "│", "╴", "┘", "┐", "┤",
                                "╶", "└", "┌", "├", "─", "┴", "┬", "┼"};

const char* arrowOf(const Boundary& b, bool southBoundary) {
  return kArrows[static_cast<int>(b.kind())][oneWayDirection(b, southBoundary)];
}

// The middle character of a boundary; empty when it is open.
std::string boundaryMark(const Boundary& b, bool southBoundary) {
  if (b.isOpen()) return "";
  if (b.isOneWay()) return arrowOf(b, southBoundary);
  switch (b.kind()) {
    case Passage::Door:
      return "D";
    case Passage::Hidden:
      return "H";
    default:
      return southBoundary ? "─" : "│";
  }
}

class TextPlan {
 public:
  explicit TextPlan(const FloorPlan& plan) : p_(plan) {}

  std::string render() {
    out_ << "Floor " << p_.floor << (p_.title.empty() ? "" : " of \"" + p_.title + "\"") << "\n";
    columnLabels();
    for (int k = 0; k <= 40; ++k) {
      if (k % 2 == 0) {
        boundaryLine(k);
      } else {
        interiorLine(19 - k / 2);
      }
    }
    columnLabels();
    legend();
    return out_.str();
  }

 private:
  // The south boundary drawn on line k (0..40): line 0 and line 40 both show
  // row 0's (the floor wraps).
  const Boundary& southOn(int k, int x) const { return p_.south[x][k == 0 ? 0 : 20 - k / 2]; }
  bool isEdgeLine(int k) const { return k == 0 || k == 40; }

  void columnLabels() {
    std::string line(kMargin + 81, ' ');
    for (int x = 0; x < 20; ++x) {
      const std::string label = std::to_string(x);
      line.replace(kMargin + 4 * x + 2, label.size(), label);
    }
    out_ << line << "\n";
  }

  int corner(int k, int c) const {
    int arms = 0;
    if (k > 0 && !p_.west[c % 20][19 - (k - 1) / 2].isOpen()) arms |= 1;
    if (k < 40 && !p_.west[c % 20][19 - (k + 1) / 2].isOpen()) arms |= 2;
    if (c > 0 && !southOn(k, c - 1).isOpen()) arms |= 4;
    if (c < 20 && !southOn(k, c).isOpen()) arms |= 8;
    return arms;
  }

  void boundaryLine(int k) {
    out_ << std::string(kMargin, ' ');
    for (int c = 0; c <= 20; ++c) {
      const int arms = corner(k, c);
      const bool edge = isEdgeLine(k) || c == 0 || c == 20;
      out_ << (arms == 0 && edge ? "·" : kJoins[arms]);
      if (c == 20) break;
      const Boundary& b = southOn(k, c);
      const std::string mark = boundaryMark(b, true);
      if (mark.empty()) {
        out_ << (isEdgeLine(k) ? "┄┄┄" : "   ");
      } else {
        out_ << "─" << mark << "─";
      }
    }
    out_ << "\n";
  }

  std::string squareCells(const Square& s) const {
    if (s.rock) return "▓X▓";
    const std::string fill = s.dark ? "░" : " ";
    const std::string mark = s.encounterMark == 1 ? "!" : s.encounterMark > 1 ? "$" : fill;
    return fill + (s.symbol.empty() ? fill : s.symbol) + mark;
  }

  void interiorLine(int y) {
    char label[8];
    std::snprintf(label, sizeof label, "%3d ", y);
    out_ << label;
    for (int x = 0; x <= 20; ++x) {
      const Boundary& b = p_.west[x % 20][y];
      const std::string mark = boundaryMark(b, false);
      out_ << (mark.empty() ? (x == 0 || x == 20 ? "┆" : " ") : mark);
      if (x < 20) out_ << squareCells(p_.squares[x][y]);
    }
    std::snprintf(label, sizeof label, " %d", y);
    out_ << label << "\n";
  }

  void legend() {
    out_ << "\nBoundaries: │ ─ wall, D door, H hidden passage (a wall to the eye; the door key "
            "opens it);\n"
            "  one way, the arrow pointing the way through: → open, ⇒ door, ⇢ hidden passage;\n"
            "  ┆ ┄ an open outer edge.\n"
         << kWrapNote << "\nSquares: ░ dark, ▓X▓ rock.\n";
    for (const KeyEntry& entry : symbolKey(p_)) {
      out_ << "  " << entry.symbol << "  " << entry.meaning << "\n";
    }
    for (const std::string& note : p_.notes) out_ << "Floor: " << note << ".\n";
    out_ << "\n";
    for (int y = 19; y >= 0; --y) {
      for (int x = 0; x < 20; ++x) {
        const Square& s = p_.squares[x][y];
        if (s.description.empty()) continue;
        char place[16];
        std::snprintf(place, sizeof place, "(%2d, %2d)", x, y);
        out_ << place << "  " << s.symbol << "  " << s.description << "\n";
      }
    }
  }

  const FloorPlan& p_;
  std::ostringstream out_;
};

}  // namespace

std::string renderText(const FloorPlan& plan) {
  return TextPlan(plan).render();
}

}  // namespace kestrun::forge::plan
