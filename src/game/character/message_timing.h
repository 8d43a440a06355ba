#pragma once

namespace kestrun::game {

struct Game;

// The pause after a message: none, a time (SysWord(MessageTime) / 2 ms), or, at
// 10000, until a key is pressed with a blinking "Hit Any Key".
void TMWAIT(Game& g);

// Asks the player for a new message time (0..10000) and keeps it in
// SysWord(MessageTime).
void TWC(Game& g);

}  // namespace kestrun::game
