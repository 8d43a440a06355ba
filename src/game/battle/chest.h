#pragma once

namespace kestrun::game {

struct Game;

// The chest and the gold after a victory: SysWord(BattleKind) holds the kind
// + 10 x the members able to act.
void chestAndGold(Game& g);

}  // namespace kestrun::game
