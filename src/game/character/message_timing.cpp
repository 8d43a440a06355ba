#include "game/character/message_timing.h"

#include "game/character/screen_lines.h"
#include "game/state/game.h"
#include "runtime/sjis.h"
#include "runtime/strings.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {
constexpr int kWaitForKey = 10000;
// How long "Hit Any Key" stays shown, and then hidden, while it blinks.
constexpr int kBlinkMilliseconds = 400;

void waitForKeyBlinking(Game& g) {
  rt::Console& con = g.con;
  con.COLOR(4);
  // A key typed before the wait ends it at once, without the prompt.
  std::string key = con.INKEY();
  for (bool shown = false; key.empty(); key = con.waitKey(kBlinkMilliseconds)) {
    shown = !shown;
    con.LOCATE(36, 15);
    con.PRINT(shown ? std::string("Hit Any Key") : rt::SPACE(12));
  }
  con.LOCATE(36, 15);
  con.PRINT(rt::SPACE(12));
  con.COLOR(6);
}
}  // namespace

void TMWAIT(Game& g) {
  const double time = g.SysWord(MessageTime);
  if (time == 0) return;
  if (time >= kWaitForKey) {
    waitForKeyBlinking(g);
    return;
  }
  g.con.WAIT(rt::INT(time / 20));
}

void TWC(Game& g) {
  rt::Console& con = g.con;
  for (;;) {
    blankLines(g, 21, 23);
    con.COLOR(7);
    printAt(g, 21, 22, "2000 で 1 秒   (10000 では何かキーを押すまで停止)"_sj);
    printAt(g, 25, 23, "Input  0 - 10000    (現在 "_sj);
    con.PRINT(g.SysWord(MessageTime));
    con.PRINT(")");
    const double time = askNumber(g, 19, 21, "メッセージ表示時間をいくらにしますか ?  "_sj);
    if (time >= 0 && time <= kWaitForKey) {
      g.SysWord(MessageTime) = static_cast<float>(rt::INT(time));
      return;
    }
  }
}

}  // namespace kestrun::game
