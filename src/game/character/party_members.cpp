#include "game/character/party_members.h"

#include "game/state/game.h"

namespace kestrun::game {

int partySize(const Game& g) {
  return rt::toInt32(g.GameState(MemberCount));
}

int memberSlot(const Game& g, int position) {
  return rt::toInt32(g.GameState(position)) - 1;
}

int partyPositionOf(const Game& g, int c) {
  for (int p = 1; p <= partySize(g); ++p) {
    if (memberSlot(g, p) == c) return p;
  }
  return 0;
}

void joinParty(Game& g, int c) {
  const int position = partySize(g) + 1;
  g.GameState(MemberCount) = static_cast<float>(position);
  g.GameState(position) = static_cast<float>(c + 1);
}

void leaveParty(Game& g, int position) {
  const int size = partySize(g);
  for (int p = position; p < size; ++p) g.GameState(p) = g.GameState(p + 1);
  g.GameState(size) = 0;
  g.GameState(MemberCount) = static_cast<float>(size - 1);
}

}  // namespace kestrun::game
