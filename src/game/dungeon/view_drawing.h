#pragma once

#include "game/dungeon/view_slots.h"
#include "runtime/graphics.h"

namespace kestrun::game {

// Draws one slot of the 3-D view, as much of it as is seen: an open slot
// onto a dark square as the dark shape, any other opening not at all, walls
// as the wall shape and doors as the wall and the door shape.
void drawSlot(rt::GraphicsPlane& plane, const ViewSight& sight, int slot, Seen seen);

// The five grey boxes that fill the inside of the view frame.
void fillViewDark(rt::GraphicsPlane& plane);

}  // namespace kestrun::game
