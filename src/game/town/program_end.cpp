#include "game/town/program_end.h"

#include "game/state/game.h"
#include "runtime/sjis.h"
#include "runtime/strings.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {
constexpr int kClosedOnError = 1;
}

void endProgram(Game& g) {
  g.con.CLS();
  throw rt::ProgramEnd{0};
}

void closeWithError(Game& g, const rt::RuntimeError& error) {
  rt::logFatalError(error);
  rt::Console& con = g.con;
  con.COLOR(6);
  con.LOCATE(28, 12);
  con.PRINT("ウィンドウを閉じてください"_sj);
  con.LOCATE(30, 15);
  con.PRINT(static_cast<int16_t>(error.code()));
  con.PRINT(static_cast<int32_t>(error.line()));
  con.waitForClose(kClosedOnError);
}

void YesNoKey(Game& g) {
  for (;;) {
    const std::string key = g.con.waitKey();
    if (key == "Y" || key == "y" || key == "+") {
      g.KeyAnswer = "Y";
      return;
    }
    if (key == "N" || key == "n" || key == "-") {
      g.KeyAnswer = "N";
      return;
    }
  }
}

void quitConfirmation(Game& g) {
  rt::Console& con = g.con;
  con.COLOR(7);
  con.LOCATE(25, 13);
  con.PRINT("本当に終了してよろしいですか ?"_sj);
  con.LOCATE(33, 15);
  con.PRINT("Hit Y - N Key");
  con.COLOR(6);
  YesNoKey(g);
  if (g.KeyAnswer == "Y") endProgram(g);
  con.LOCATE(25, 13);
  con.PRINT(rt::SPACE(30));
  con.LOCATE(33, 15);
  con.PRINT(rt::SPACE(14));
}

}  // namespace kestrun::game
