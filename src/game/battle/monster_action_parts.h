#pragma once

#include <string>

// The pieces of a monster's action shared by its blows and its other deeds.
namespace kestrun::game {

struct Game;

// The monster carrying out its action.
struct MonsterActor {
  Game& g;
  int group;
  int index;
  int monster;
};

// What a member's items can shield him from.
enum class Ward { Drain, Poison, Petrification, Fire, Frost, Acid, Stone, Life };

// The breath's element (1..5; higher elements count as 1) as a ward.
Ward breathWard(int element);
// Item i shields against `ward`.
bool itemWards(const Game& g, int item, Ward ward);
// Any item character c carries, worn or not, shields against `ward`.
bool carriesWard(const Game& g, int c, Ward ward);
// Some item character c wears shields against `ward`.
bool wearsWard(const Game& g, int c, Ward ward);

// The member at `position` dies: no hit points, dead, no command left.
void memberFalls(Game& g, int position);
// His hit points on his line of the party panel, in colour 6.
void showMemberHitPoints(Game& g, int position);

// A monster's weapon attack on the member at `position`, with its touches
// and everything they do.
void attackMember(const MonsterActor& actor, int position);

}  // namespace kestrun::game
