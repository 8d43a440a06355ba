#include "game/state/floor_load.h"

#include "game/character/message_timing.h"
#include "game/character/status_panel.h"
#include "game/state/floor_file.h"
#include "game/state/game.h"
#include "game/state/roster_write.h"
#include "game/town/program_end.h"
#include "runtime/sjis.h"
#include "runtime/strings.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kFile = 1;
// The enemy-identification effect of strength 2 ends on a floor change.
constexpr int kFloorBoundIdentification = 2;

int currentFloor(const Game& g) {
  return rt::toInt32(rt::INT(g.GameState(FloorAndFacing) / 100));
}

// Where the progress message goes: row 11, or row 18 in the other layout.
int messageRow(const Game& g) {
  return g.SysWord(ScreenLayout) == 0 ? 11 : 18;
}

void showProgress(Game& g) {
  rt::Console& con = g.con;
  if (g.SysWord(ScreenLayout) != 0) {
    con.LOCATE(20, 18);
    con.PRINT(rt::SPACE(50));
    con.LOCATE(27, 20);
    con.PRINT(rt::SPACE(10));
  }
  con.LOCATE(29, messageRow(g));
  con.PRINT("別の階へ移動しています"_sj);
}

void readFloorFile(Game& g, FloorSeal& seal) {
  rt::FileTable& files = g.con.files();
  Table<float, 5, 29> textCodes;
  files.OPEN(floorFileName(g.ScenarioLetter, currentFloor(g)), rt::FileMode::Input,
             rt::FileAccess::Read, kFile);
  readFloor(files, kFile, g, seal, textCodes);
  files.closeAll();
  unscrambleFloor(g, seal, textCodes);
}

[[noreturn]] void handleReadError(Game& g, const rt::RuntimeError& error) {
  rt::Console& con = g.con;
  con.files().closeAll();
  con.COLOR(6);
  con.LOCATE(19, 11);
  con.PRINT(rt::SPACE(50));
  con.LOCATE(23, 11);
  if (error.code() == rt::err::FileNotFound) missingFloorDialogue(g);
  // A damaged floor file: say so rather than vanish.
  closeWithError(g, error);
}

[[noreturn]] void refuseFloor(Game& g) {
  rt::Console& con = g.con;
  con.CLS();
  con.LOCATE(31, 11);
  con.PRINT("ＤＡＴＡが違います"_sj);
  TMWAIT(g);
  TMWAIT(g);
  con.CLS();
  endProgram(g);
}

}  // namespace

void missingFloorDialogue(Game& g) {
  HYOJI4(g);
  g.KeyAnswer = g.con.waitKey();
  if (g.KeyAnswer == "N" || g.KeyAnswer == "n" || g.KeyAnswer == "-") endProgram(g);
  g.GameState(FloorAndFacing) = g.GameState(PreviousFloorAndFacing);
  g.GameState(Square) = g.GameState(PreviousSquare);
  CHWRT(g);
  endProgram(g);
}

void FLREAD(Game& g) {
  g.SysWord(FloorReading) = 2;
  if (g.SysWord(ActingSlot) <= 999) showProgress(g);
  FloorSeal seal;
  try {
    readFloorFile(g, seal);
  } catch (const rt::RuntimeError& error) {
    handleReadError(g, error);
  }
  if (seal.scenarioId != g.ScenarioId(ScenarioNumber) || seal.floorNumber != currentFloor(g))
    refuseFloor(g);
  if (rt::MOD(g.GameState(IdentifyEffect), 1000) == kFloorBoundIdentification)
    g.GameState(IdentifyEffect) = 0;
  g.SysWord(FloorReading) = 0;
  g.con.LOCATE(29, messageRow(g));
  g.con.PRINT(rt::SPACE(24));
}

}  // namespace kestrun::game
