// Temporary bodies so that each part of the battle builds before the others
// are in. Each owner deletes his entries from this file; the file must be
// gone before the battle is merged.
#include "game/battle/battle_end.h"
#include "game/battle/chest.h"
#include "game/battle/commands.h"
#include "game/battle/monster_actions.h"
#include "game/battle/monster_picture.h"
#include "game/battle/opening.h"

namespace kestrun::game {

// owner: battle (opening, pictures)
OpeningResult openBattle(Game&) {
  return OpeningResult::NoMonsters;
}
void showGroupPicture(Game&, int) {}
// owner: commands (commands, monster actions)
void startOfTurn(Game&) {}
void chooseCommands(Game&) {}
void chooseMonsterActions(Game&) {}
void actMonster(Game&, int, int) {}

}  // namespace kestrun::game
