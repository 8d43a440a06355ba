#include "game/battle/fight.h"

#include "game/battle/battle_end.h"
#include "game/battle/opening.h"
#include "game/battle/turn.h"
#include "game/state/game.h"
#include "runtime/errors.h"

namespace kestrun::game {

void FIGHT(Game& g) {
  rt::ModuleScope module("FIGHT");
  for (;;) {
    const BattleEnding ending =
        openBattle(g) == OpeningResult::Negotiated ? BattleEnding::Negotiated : playTurns(g);
    endBattle(g, ending);
    // A chest's trap that called monsters: the next battle follows at once.
    if (ending != BattleEnding::Victory || g.SysWord(BattleChain) != 1) return;
  }
}

}  // namespace kestrun::game
