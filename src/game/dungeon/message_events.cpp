#include "game/character/message_timing.h"
#include "game/character/screen_lines.h"
#include "game/dungeon/dungeon_screen.h"
#include "game/dungeon/position.h"
#include "game/dungeon/square_event_parts.h"
#include "game/state/fields.h"
#include "game/state/game.h"
#include "runtime/errors.h"
#include "runtime/sjis.h"
#include "runtime/strings.h"
#include "runtime/values.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kFile = 1;
constexpr int kTextBytes = 28;
constexpr int kMessageLines = 20;
constexpr int kPictureContext = 3;
constexpr int kMessageContext = 5;

// The line of the floor texts that a parameter names in its units digit
// (1..5).
const std::string& floorText(const Game& g, int parameter) {
  return g.FloorText(parameter % 10 - 1);
}

// The text centred on row 9: its length counts up to its last non-blank byte.
void showCentred(Game& g, const std::string& text) {
  const size_t last = text.find_last_not_of(' ');
  const int length = last == std::string::npos ? 0 : static_cast<int>(last + 1);
  printAt(g, 40 - (length + 1) / 2, 9, text.substr(0, length));
}

void showFloorText(Game& g) {
  openMessageWindow(g);
  g.con.COLOR(6);
  showCentred(g, floorText(g, squareParameter(g, SquareLayer)));
  printAt(g, 34, 11, "Hit Any Key");
  g.KeyAnswer = g.con.waitKey();
}

// Where the riddle sends the party: the squares it names in the tens of p0
// and p1 for the right answer, (p2, p3) for a wrong one.
Place riddleDestination(const Game& g, bool right) {
  if (!right) return {squareParameter(g, SouthBoundary), squareParameter(g, ExtraLayer)};
  return {squareParameter(g, SquareLayer) / 10, squareParameter(g, WestBoundary) / 10};
}

// The main line's cases for a square's optional file: a missing file skips
// it, and the end of a message file ends its listing; anything else goes on
// to the main line's handler.
void passOnUnless(Game& g, const rt::RuntimeError& error, int expected) {
  g.con.files().closeAll();
  if (error.code() != expected) throw error;
}

void listMessageFile(Game& g) {
  rt::FileTable& files = g.con.files();
  g.con.CLS();
  try {
    for (int row = 1; row <= kMessageLines; ++row) printAt(g, 9, row, files.lineInput(kFile));
  } catch (const rt::RuntimeError& error) {
    passOnUnless(g, error, rt::err::InputPastEnd);
  }
  files.closeAll();
}

}  // namespace

bool riddleAnswerMatches(const std::string& stored, const std::string& reply) {
  for (int position = 1; position <= kTextBytes; ++position) {
    const std::string wanted = rt::MID(stored, position, 1);
    if (wanted != " " && wanted != rt::MID(reply, position, 1)) return false;
  }
  return true;
}

Flow showFloorMessage(Game& g) {
  showFloorText(g);
  closeMessageWindow(g);
  refreshView(g);
  return Flow::KeyWait;
}

Flow askRiddle(Game& g) {
  showFloorText(g);
  closeMessageWindow(g);
  openMessageWindow(g);
  printAt(g, 32, 9, "答は何ですか ?"_sj);
  g.con.LOCATE(26, 11);
  const std::string reply = g.con.inputString("");
  closeMessageWindow(g);
  openMessageWindow(g);
  g.GameState(PreviousSquare) = g.GameState(Square);
  const bool right = riddleAnswerMatches(floorText(g, squareParameter(g, WestBoundary)), reply);
  printAt(g, 36, 10, right ? "正解です"_sj : "違います"_sj);
  setSquare(g, riddleDestination(g, right));
  TMWAIT(g);
  closeMessageWindow(g);
  return Flow::Cycle;
}

Flow showMessageFile(Game& g) {
  g.FileContext = kMessageContext;
  const std::string name = rt::HEX(squareParameter(g, SquareLayer)) + "C.DAT";
  try {
    g.con.files().OPEN(name, rt::FileMode::Input, rt::FileAccess::Default, kFile);
  } catch (const rt::RuntimeError& error) {
    passOnUnless(g, error, rt::err::FileNotFound);
    g.FileContext = 0;
    return Flow::Quiet;
  }
  listMessageFile(g);
  printAt(g, 29, 23, "Hit Any Key");
  g.KeyAnswer = g.con.waitKey();
  g.FileContext = 0;
  g.con.CLS();
  refreshView(g);
  return Flow::KeyWait;
}

Flow showSquarePicture(Game& g) {
  g.FileContext = kPictureContext;
  rt::Picture& picture = g.con.picture();
  bool shown = true;
  try {
    picture.load(rt::HEX(squareParameter(g, SquareLayer)) + "G.BMP");
    picture.show(g.con.graphics(), 260, 155, 120, 120);
  } catch (const rt::RuntimeError& error) {
    passOnUnless(g, error, rt::err::FileNotFound);
    shown = false;
  }
  g.con.files().closeAll();
  picture.free();
  g.FileContext = 0;
  return shown ? Flow::KeyWaitAsShown : Flow::KeyWait;
}

}  // namespace kestrun::game
