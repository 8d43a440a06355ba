#pragma once

namespace kestrun::game {

struct Game;

// How a facility asks which member comes in.
struct MemberChoiceScreen {
  int facility;  // its name (ScenarioText) heads the screen at row 4; 0 for none
  int panelRow;  // SysWord(15) for the party panel
  bool keyHint;  // "Hit 0 - n Key" under the question
};

// The facility's name centred on `row`.
void showFacilityName(Game& g, int facility, int row);

// A party of one is taken at once; otherwise the party panel, the question
// and a key 0..party size. Returns the party position, 0 to leave.
int chooseMember(Game& g, const MemberChoiceScreen& screen);
// Only the key wait of the choice, on whatever the screen shows.
int waitForMemberKey(Game& g);

}  // namespace kestrun::game
