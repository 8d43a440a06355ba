#pragma once

namespace kestrun::game {

struct Game;

// The party is GameState(MemberCount) members; position p (1-based) holds roster slot
// GameState(p) - 1.

int partySize(const Game& g);
int memberSlot(const Game& g, int position);
// The position of roster slot c in the party, or 0 when he is not a member.
int partyPositionOf(const Game& g, int c);
// Slot c becomes the last member.
void joinParty(Game& g, int c);
// The member leaves; the later members move up one position.
void leaveParty(Game& g, int position);

}  // namespace kestrun::game
