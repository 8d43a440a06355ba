#pragma once

namespace kestrun::game {

struct Game;

// Reads the floor the party is on (GameState(FloorAndFacing)) into the floor tables and
// checks that it belongs to this scenario and floor. A missing file asks
// whether to save and ends the program; a file of another scenario or floor
// ends it after "ＤＡＴＡが違います".
void FLREAD(Game& g);

// The dialogue after a missing floor file: "N" ends without saving, any other
// key puts the party back where it was, saves and ends.
[[noreturn]] void missingFloorDialogue(Game& g);

}  // namespace kestrun::game
