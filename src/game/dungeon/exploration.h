#pragma once

namespace kestrun::game {

struct Game;

// How the party comes into the dungeon: from the town gate (onto the first
// up stairs of floor 1) or back where a saved game was suspended.
enum class EntryMode { Gate = 0, Resume = 1 };

// Where the game goes on once the party has left the dungeon.
enum class DungeonEnd { TownMenu, TitleScreen };

// The dungeon: the start screen, the camp, and the step cycle until the party
// is back in town, wiped out or lost in rock. The program ends inside when
// the player suspends or quits in the camp. A first floor without up stairs
// refuses the roster and leads back to the title screen.
DungeonEnd enterDungeon(Game& g, EntryMode mode);

}  // namespace kestrun::game
