#include "game/character/status_panel.h"

#include "game/state/game.h"
#include "runtime/sjis.h"

namespace kestrun::game {

using namespace rt::literals;

void HYOJI4(Game& g) {
  rt::Console& con = g.con;
  con.CLS();
  con.LOCATE(19, 11);
  con.PRINT("移動先のマップデータファイルがありません"_sj);
  con.LOCATE(23, 13);
  con.PRINT("プログラムを終了します"_sj);
  con.LOCATE(15, 16);
  con.PRINT("ここまでのキャラクターデータをＳＡＶＥしますか ?"_sj);
  con.LOCATE(33, 18);
  con.PRINT("Hit Y - N Key");
}

}  // namespace kestrun::game
