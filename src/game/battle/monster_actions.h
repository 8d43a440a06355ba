#pragma once

namespace kestrun::game {

struct Game;

// Every living monster chooses its action for this turn.
void chooseMonsterActions(Game& g);

// Monster `index` of group place `group` carries out its chosen action.
void actMonster(Game& g, int group, int index);

}  // namespace kestrun::game
