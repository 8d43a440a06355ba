#include "game/state/scenario.h"

#include "game/state/game.h"
#include "runtime/sjis.h"
#include "runtime/strings.h"

namespace kestrun::game {

using namespace rt::literals;

void askScenario(Game& g) {
  rt::Console& con = g.con;
  con.COLOR(6);
  con.LOCATE(23, 14);
  con.PRINT("数字または英字１文字 (半角に限る)"_sj);
  con.COLOR(7);
  con.LOCATE(24, 11);
  g.KeyAnswer = con.inputString("シナリオのファイル名は ?  "_sj);
  g.ScenarioLetter = rt::LEFT(g.KeyAnswer, 1);
  con.LOCATE(9, 14);
  con.PRINT(rt::SPACE(65));
  con.LOCATE(24, 11);
  con.PRINT("   ただいまＤＡＴＡ読み込み中      "_sj);
  g.SysWord(21) = 0;
  con.files().OPEN(g.ScenarioLetter + "-S.DAT", rt::FileMode::Input, rt::FileAccess::Read, 1);
}

}  // namespace kestrun::game
