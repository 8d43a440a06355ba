#pragma once

namespace kestrun::game {

struct Game;

// After a battle won, fled or talked out of: a monster's square (kind 20)
// on the party's square becomes an ordinary one, and the room around a
// battle square (room code 1 in layer 3) is marked as fought (code 2) over
// every square reachable from it without crossing a wall.
void clearFoughtRoom(Game& g);

}  // namespace kestrun::game
