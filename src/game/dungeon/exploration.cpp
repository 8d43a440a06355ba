#include "game/dungeon/exploration.h"

#include <cctype>
#include <optional>
#include <string>

#include "game/character/message_timing.h"
#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/character/upkeep.h"
#include "game/dungeon/camp.h"
#include "game/dungeon/dungeon_flow.h"
#include "game/dungeon/dungeon_screen.h"
#include "game/dungeon/encounter.h"
#include "game/dungeon/floor_change.h"
#include "game/dungeon/map_view.h"
#include "game/dungeon/position.h"
#include "game/dungeon/square_events.h"
#include "game/dungeon/view3d.h"
#include "game/dungeon/view_slots.h"
#include "game/state/fields.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "game/state/roster_write.h"
#include "game/state/scenario_load.h"
#include "runtime/keyboard.h"
#include "runtime/sjis.h"
#include "runtime/strings.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kRunning = 1;
constexpr int kJustStopped = 2;
constexpr float kMessageTimeUnchosen = 777;

enum class Key { Forward, Right, Left, Around, Run, Door, Camp, Map, Other };

Key keyOf(const std::string& typed) {
  if (typed.size() != 1) return Key::Other;
  const auto c = static_cast<unsigned char>(typed[0]);
  switch (std::toupper(c)) {
    case '8':
    case 'F':
    case rt::key::Up:
      return Key::Forward;
    case '6':
    case 'R':
    case rt::key::Right:
      return Key::Right;
    case '4':
    case 'L':
    case rt::key::Left:
      return Key::Left;
    case '2':
    case 'B':
    case 'A':
    case rt::key::Down:
      return Key::Around;
    case 'G':
    case '/':
      return Key::Run;
    case 'P':
    case 'Q':
    case 'O':
    case 'K':
    case '*':
      return Key::Door;
    case 'Z':
    case 'X':
    case 'C':
    case 'S':
    case 'D':
    case '=':
      return Key::Camp;
    case 'V':
      return Key::Map;
    default:
      return Key::Other;
  }
}

void showStartScreen(Game& g) {
  rt::Console& con = g.con;
  con.CLS();
  con.COLOR(7);
  printAt(g, 31, 3, "パーティーは"_sj);
  const std::string& title = g.ScenarioText(0);
  printAt(g, 38 - rt::LEN(title) / 2, 6, title + " の"_sj);
  printAt(g, 26, 9, "Ｄｕｎｇｅｏｎ に入っていきます"_sj);
  con.COLOR(6);
  printAt(g, 29, 13, "移動中に使用する Ｋｅｙ"_sj);
  printAt(g, 13, 15, "８･Ｆ  前進する　  ６･Ｒ　右を向く　  ４･Ｌ　左を向く"_sj);
  printAt(g, 13, 17, "２･Ｂ　後を向く    Ｐ･Ｋ　扉を開く　  Ｚ･Ｃ　休息する"_sj);
  printAt(g, 13, 19, "Ｇ･／  直進する"_sj);
  if (g.MapViewAllowed) printAt(g, 32, 19, "Ｖ   　地図を見る"_sj);
}

// The first up stairs of floor 1, scanning x and within it y.
std::optional<Place> firstUpStairs(const Game& g) {
  for (int x = 0; x < kFloorSize; ++x) {
    for (int y = 0; y < kFloorSize; ++y) {
      if (squareKind(g, {x, y}) == square::StairsUp) return Place{x, y};
    }
  }
  return std::nullopt;
}

// The party steps in from the gate: every member is marked as in the
// dungeon on the stairs, and the roster is saved.
bool arriveAtGate(Game& g) {
  const std::optional<Place> stairs = firstUpStairs(g);
  if (!stairs) {
    refuseRoster(g);
    return false;
  }
  setSquare(g, *stairs);
  for (int p = 1; p <= partySize(g); ++p) {
    const int c = memberSlot(g, p);
    g.CharRec(c, LevelAndFloor) = static_cast<float>(levelOf(g, c) + 1000);
    g.CharRec(c, LeftAt) = static_cast<float>(stairs->x * 100 + stairs->y);
  }
  CHWRT(g);
  return true;
}

void ageTwoDays(Game& g) {
  for (int p = 1; p <= partySize(g); ++p) g.CharRec(memberSlot(g, p), AgeDays) += 2;
  g.con.WAIT(50);
}

void advanceRunState(Game& g) {
  if (g.RunState == kJustStopped) g.RunState = 0;
  if (g.RunState == kRunning) g.RunState = kJustStopped;
}

// The second light counts its steps down and goes out at the last one.
void countDownTimedEffect(Game& g) {
  float& effect = g.GameState(TimedEffect);
  if (rt::MOD(effect, 1000) <= 0) return;
  effect -= 1;
  if (rt::MOD(effect, 1000) == 0) effect = 0;
}

Flow takeStep(Game& g) {
  rememberPosition(g);
  if (g.SysWord(EncounterRespite) > 0) g.SysWord(EncounterRespite) -= 1;
  CCHEC(g);
  countDownTimedEffect(g);
  setSquare(g, stepFrom(partySquare(g), partyFacing(g)));
  return Flow::Turned;
}

Flow blocked(Game& g) {
  clearMoveWord(g);
  if (g.RunState == kRunning) {
    g.RunState = 0;
    return Flow::KeyWait;
  }
  printAt(g, 34, 12, "通れません ！"_sj);
  drainKeys(g);
  TMWAIT(g);
  blankColumns(g, 34, 12, 14);
  return Flow::KeyWait;
}

// What lies ahead decides: walking passes only openings; the door key
// passes doors and one-side walls, and has nothing to do at an opening.
Flow moveForward(Game& g, bool doorKey) {
  blankColumns(g, 29, 12, 20);
  g.SysWord(ViewSlot) = 0;
  CALC(g);
  const int ahead = rt::toInt32(g.View3D(BoundaryAhead));
  if (!doorKey) return ahead == kOpen ? takeStep(g) : blocked(g);
  if (ahead == kOpen) return Flow::KeyWait;
  return ahead == kWall ? blocked(g) : takeStep(g);
}

Flow turn(Game& g, const std::string& word, int x, int quarters) {
  showMoveWord(g, word, x, 10);
  setFacing(g, (partyFacing(g) + quarters) % 4);
  return Flow::Turned;
}

Flow walk(Game& g) {
  showMoveWord(g, "  Go  ", 297, 6);
  g.StepTaken = 1;
  return moveForward(g, false);
}

Flow act(Game& g, Key key) {
  switch (key) {
    case Key::Forward:
      return walk(g);
    case Key::Right:
      return turn(g, " Right ", 293, 1);
    case Key::Left:
      return turn(g, " Left ", 297, 3);
    case Key::Around:
      return turn(g, "Around", 297, 2);
    case Key::Run:
      g.RunState = kRunning;
      return walk(g);
    case Key::Door:
      g.SysWord(DoorKeyUsed) = 1;
      g.StepTaken = 1;
      return moveForward(g, true);
    case Key::Camp:
      g.StepTaken = 1;
      g.GameState(LevitationEffect) = 0;
      g.GameState(InvisibilityEffect) = 0;
      return restInCamp(g);
    case Key::Map:
      if (!g.MapViewAllowed) return Flow::KeyWaitAsShown;
      g.SysWord(MapAsked) = 1;
      XMAP(g);
      refreshView(g);
      return Flow::Cycle;
    default:
      return Flow::KeyWaitAsShown;
  }
}

Flow keyWait(Game& g, Flow flow) {
  if (partyIsDead(g)) return partyLost(g, Catastrophe::WipedOut);
  if (flow != Flow::KeyWaitAsShown) refreshView(g);
  const std::string typed = g.RunState == kRunning ? std::string("8") : g.con.waitKey();
  g.SysWord(DoorKeyUsed) = 0;
  return act(g, keyOf(typed));
}

bool waitsForKey(Flow flow) {
  return flow == Flow::Quiet || flow == Flow::KeyWait || flow == Flow::KeyWaitAsShown;
}

void stepCycle(Game& g) {
  Flow flow = Flow::Cycle;
  for (;;) {
    if (flow == Flow::Cycle) showPartyPanel(g, false);
    drainKeys(g);
    drawViewFrame(g);
    blankColumns(g, 29, 12, 20);
    markVisited(g, partyFloor(g), partySquare(g));
    advanceRunState(g);
    // A party that fell to the last member in a trap or by poison does not
    // walk on.
    flow = partyIsDead(g) ? partyLost(g, Catastrophe::WipedOut) : runSquareEvents(g);
    if (flow == Flow::Quiet && g.RunState == kJustStopped) g.RunState = kRunning;
    while (waitsForKey(flow)) flow = keyWait(g, flow);
    if (flow == Flow::Town) return;
  }
}

}  // namespace

DungeonEnd enterDungeon(Game& g, EntryMode mode) {
  g.CurrentFloor = partyFloor(g);
  showStartScreen(g);
  if (g.SysWord(MessageTime) == kMessageTimeUnchosen) TWC(g);
  g.StepTaken = 1;
  g.RunState = 0;
  g.GameState(LevitationEffect) = 0;
  g.GameState(InvisibilityEffect) = 0;
  g.SysWord(ActingSlot) = 1000;
  const Flow loaded = loadFloor(g);
  g.SysWord(ActingSlot) = 1;
  if (loaded == Flow::Town) return DungeonEnd::TownMenu;
  ageTwoDays(g);
  if (mode == EntryMode::Gate && !arriveAtGate(g)) return DungeonEnd::TitleScreen;
  if (restInCamp(g) == Flow::Town) return DungeonEnd::TownMenu;
  g.con.CLS();
  stepCycle(g);
  return DungeonEnd::TownMenu;
}

}  // namespace kestrun::game
