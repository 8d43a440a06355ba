#include "game/character/message_timing.h"

#include "game/state/game.h"
#include "runtime/strings.h"

namespace kestrun::game {

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
  const double time = g.SysWord(22);
  if (time == 0) return;
  if (time >= kWaitForKey) {
    waitForKeyBlinking(g);
    return;
  }
  g.con.WAIT(rt::INT(time / 20));
}

}  // namespace kestrun::game
