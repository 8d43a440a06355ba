#pragma once

namespace kestrun::game {

struct Game;

// Every living, awake monster chooses its action for this turn, after the
// party's commands (it reads Battle.AliveCount). Monsters that had not
// noticed the party do nothing this once; a party surprised is so only
// for one turn.
void chooseMonsterActions(Game& g);

// Monster `index` of group place `group` carries out its chosen action
// when its initiative comes up.
void actMonster(Game& g, int group, int index);

}  // namespace kestrun::game
