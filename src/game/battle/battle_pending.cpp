// Temporary bodies so that each part of the battle builds before the others
// are in. Each owner deletes his entries from this file; the file must be
// gone before the battle is merged.
#include "game/battle/battle_end.h"
#include "game/battle/chest.h"
#include "game/battle/commands.h"
#include "game/battle/monster_actions.h"

namespace kestrun::game {

// owner: commands (commands, monster actions)
void startOfTurn(Game&) {}
void chooseCommands(Game&) {}
void chooseMonsterActions(Game&) {}
void actMonster(Game&, int, int) {}
// owner: ending (battle end, chest)
void endBattle(Game&, BattleEnding) {}
void chestAndGold(Game&) {}

}  // namespace kestrun::game
