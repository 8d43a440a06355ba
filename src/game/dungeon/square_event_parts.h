#pragma once

#include <string>

#include "game/dungeon/dungeon_flow.h"

// The events of single squares, each run by the square events in its turn.
// Those that end with a key wait return Flow::KeyWait; Flow::Quiet means the
// square did nothing and the encounter checks follow.
namespace kestrun::game {

struct Game;

// Passages: the stairs, the elevator and the teleports.
Flow takeStairs(Game& g, bool up);
Flow rideElevator(Game& g);
Flow teleportParty(Game& g);
// Some member carries an item with this number in one of his slots.
bool partyCarries(const Game& g, int item);

// Pits, rockfalls and poison.
Flow springTrap(Game& g, int code);
// The damage of a pit or rockfall for a member: `percent` of his maximum,
// halved when he evades, at least 1 and at most what he has.
double fallDamage(double maxHitPoints, int percent, bool evaded, double hitPoints);

// Things to find, buy, offer and drink.
Flow searchHiddenItem(Game& g);
Flow visitVendor(Game& g);
Flow visitAltar(Game& g);
Flow drinkFromFountain(Game& g);
Flow searchForGuardian(Game& g);

// Messages, the riddle and pictures; the first three return Flow::Quiet when
// they showed nothing.
Flow showFloorMessage(Game& g);
Flow askRiddle(Game& g);
Flow showMessageFile(Game& g);
Flow showSquarePicture(Game& g);
// A reply is right when at every byte position 1..28 the stored answer has
// a blank or the reply's byte.
bool riddleAnswerMatches(const std::string& stored, const std::string& reply);

// The message window's pieces the events share: the member who found or
// bought an item gets it (identified when the scenario needs no
// identification) with "... は 何かを手にいれた".
void receiveItem(Game& g, int c, int item);
// A member by his position, asked on a line until the answer is 0 ..
// party size; 0 means nobody.
int askMember(Game& g, int column, int row, const std::string& prompt);
// "0 -", the party size and `tail` at (column, row).
void showMemberRange(Game& g, int column, int row, const std::string& lead,
                     const std::string& tail);

}  // namespace kestrun::game
