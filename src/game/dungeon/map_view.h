#pragma once

namespace kestrun::game {

struct Game;

// Shows where the party is and waits for a key: returns at once when the
// floor has no map (FloorHeader(MapRule) = 2). Map mode SysWord(MapAsked): 0 only the
// text block (floor, coordinates, facing from GameState(FloorAndFacing), GameState(Square)); 1 the
// squares visited (AutoMap) with their walls and doors; any other value the
// whole floor with the visited squares marked by a dot. Clears the screen
// before it returns.
void XMAP(Game& g);

}  // namespace kestrun::game
