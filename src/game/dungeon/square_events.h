#pragma once

#include "game/dungeon/dungeon_flow.h"

namespace kestrun::game {

struct Game;

// The event codes of the squares (FloorMap(x, y, 0) MOD 100).
namespace square {
inline constexpr int Nothing = 0;
inline constexpr int Rock = 1;
inline constexpr int Elevator = 2;
inline constexpr int Pit = 3;
inline constexpr int Spinner = 4;
inline constexpr int NoSpells = 5;
inline constexpr int Dark = 6;
inline constexpr int StairsUp = 7;
inline constexpr int StairsDown = 8;
inline constexpr int Teleport = 9;
inline constexpr int Guardian = 10;
inline constexpr int HiddenItem = 11;
inline constexpr int TeleportUnlessKey = 12;
inline constexpr int Altar = 13;
inline constexpr int Fountain = 14;
inline constexpr int Search = 15;
inline constexpr int TeleportIfKey = 16;
inline constexpr int Mud = 17;
inline constexpr int TeleportUnlessFloating = 18;
inline constexpr int Message = 19;
inline constexpr int GuardianToo = 20;
inline constexpr int Battle = 21;
inline constexpr int Picture = 22;
inline constexpr int FloorGuardian = 23;
inline constexpr int Vendor = 24;
inline constexpr int Riddle = 25;
inline constexpr int Rockfall = 26;
inline constexpr int PoisonPool = 27;
inline constexpr int PoisonMist = 28;
inline constexpr int GuardianUnlessKey = 29;
inline constexpr int GuardianIfKey = 30;
inline constexpr int MessageFile = 31;
}  // namespace square

// The events of the party's square after a step, a turn or a redraw, in
// their order: the spinner, mud, the teleports a step sets off, the view,
// the messages and pictures, then (after a step only) the square's own
// event and the encounter checks.
Flow runSquareEvents(Game& g);

// Whether the party facing `facing` sees a message or picture square whose
// direction set is `set` (0 all, 1..4 one direction, 5..14 two or three).
bool facesDirectionSet(int set, int facing);

}  // namespace kestrun::game
