#include "game/dungeon/dungeon_screen.h"

#include "game/character/screen_lines.h"
#include "game/character/status_panel.h"
#include "game/dungeon/position.h"
#include "game/dungeon/view3d.h"
#include "game/dungeon/view_geometry.h"
#include "game/state/fields.h"
#include "game/state/game.h"
#include "game/state/packed.h"

namespace kestrun::game {

namespace {

constexpr int kWindowColour = 13;
constexpr view::Box kWindow = {{200, 135}, {440, 242}};
constexpr int kWordY = 206;
// The widest move word, " Right ", starts at 293 and is seven glyphs wide.
constexpr view::Box kWordBox = {{293, kWordY}, {293 + 7 * 8, kWordY + 17}};

void box(Game& g, const view::Box& b, int colour, rt::BoxMode mode) {
  g.con.graphics().LINE(b.topLeft.x, b.topLeft.y, b.bottomRight.x, b.bottomRight.y, colour, mode);
}

// The light is too weak for a dark square: strength 1 or none, and no
// second light source above 15000.
bool darknessWins(const Game& g) {
  return squareCode(g) == kDarkSquare && digit(g.GameState(LightEffect), 1) <= 1 &&
         g.GameState(TimedEffect) <= 15000;
}

void clearGraphics(Game& g) {
  g.con.graphics().LINE(0, 0, rt::kPlaneWidth - 1, rt::kPlaneHeight - 1, 0, rt::BoxMode::Filled);
}

}  // namespace

void drawViewFrame(Game& g) {
  box(g, view::kFrame, 15, rt::BoxMode::Outline);
}

void refreshView(Game& g) {
  // The text stays: events leave their messages on it, and every word the
  // loop prints is blanked where it was printed.
  clearGraphics(g);
  drawViewFrame(g);
  g.SysWord(ViewSlot) = 0;
  if (darknessWins(g)) {
    blackOutView(g);
    g.GameState(LightEffect) = 0;
    blankColumns(g, 20, 0, 4);
    CALC(g);
  } else {
    CALC(g);
    MAP3D(g);
  }
  showPartyPanel(g, true);
}

void showPartyPanel(Game& g, bool withNumbers) {
  if (g.SysWord(DisplayMode) >= 2) return;
  g.SysWord(PanelRow) = 15;
  HYOJI(g);
  if (withNumbers) HYOJI3(g);
}

void openMessageWindow(Game& g) {
  showPartyPanel(g, false);
  box(g, kWindow, 0, rt::BoxMode::Filled);
  box(g, kWindow, kWindowColour, rt::BoxMode::Outline);
}

void closeMessageWindow(Game& g) {
  box(g, kWindow, 0, rt::BoxMode::Filled);
  for (int row = 8; row <= 13; ++row) blankColumns(g, 19, row, 60);
}

void showMoveWord(Game& g, std::string_view word, int x, int hundredths) {
  g.con.graphics().drawText(x, kWordY, word, kWindowColour, g.con.font());
  g.con.WAIT(hundredths);
}

void clearMoveWord(Game& g) {
  box(g, kWordBox, 0, rt::BoxMode::Filled);
}

void drainKeys(Game& g) {
  while (!g.con.INKEY().empty()) {
  }
}

}  // namespace kestrun::game
