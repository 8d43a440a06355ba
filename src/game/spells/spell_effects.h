#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "runtime/numformat.h"

// The pieces of SPL shared by its effect families (party, monster, teleport).
namespace kestrun::game {

struct Game;

// One cast, decoded from SysWord(SpellCode) and SysWord(SpellCasterTarget).
struct SpellCast {
  int spell = 0;   // 1..80
  int kind = 0;    // holy or magic
  int effect = 0;  // the effect kind 1..18 within the spell's kind
  bool inBattle = false;
  bool byMonster = false;
  int caster = 0;  // a party caster's roster slot
  int casterGroup = 0;
  int casterPlace = 0;
  // A roster slot, or group x 10 + place for a monster.
  int target = 0;
  // The spell's parameters: who is reached, and the dice (a faces, b dice).
  double scope = 0;
  double a = 0;
  double b = 0;
};

SpellCast decodeCast(const Game& g);

// A monster of the battle: group 0..3, place 0..8 within the group.
struct MonsterRef {
  int group;
  int place;
};

// --- messages -------------------------------------------------------------

// The cast's message line (row 10 in battle, 16 in the camp) is cleared and
// the items are printed from column 24 in the caster's colour; then the
// message pause.
void sayLine(Game& g, const SpellCast& cast, std::initializer_list<rt::PrintItem> items);
// The same without the pause (several lines of one message).
void printLine(Game& g, const SpellCast& cast, std::initializer_list<rt::PrintItem> items);

// --- whom a spell reaches ---------------------------------------------------

// Scope below 3: the target member alone; 3: every member, in marching order.
std::vector<int> memberTargets(const Game& g, const SpellCast& cast);
// Scope 1: the target monster; 2: every living monster of its group; 3 and
// up: every living monster of every group.
std::vector<MonsterRef> monsterTargets(const Game& g, const SpellCast& cast);

int monsterNumber(const Game& g, int group);
// The group's name as the party knows it now.
const std::string& monsterName(const Game& g, int group);
const std::string& casterName(const Game& g, const SpellCast& cast);
double casterLevel(const Game& g, const SpellCast& cast);
double monsterLevel(const Game& g, int monster);
// The battle row of a party member (his position - 1), or -1.
int battleRowOf(const Game& g, int slot);

// --- resistance and the level contest ----------------------------------------

// The monster's spell resistance beats RND x divisor: "は呪文に抵抗した".
bool monsterResists(Game& g, const SpellCast& cast, MonsterRef m, double divisor = 100);
// Warding items (50 each) and, while he is sound, his battle resistance
// beat RND x divisor: "は呪文に抵抗した".
bool memberResists(Game& g, const SpellCast& cast, int slot, double divisor = 100);
// Reports a member as resisting without a draw.
void sayResisted(Game& g, const SpellCast& cast, int slot);
// The monster escapes a party caster's spell by its level edge (capped at
// `cap`): weight x edge + base > RND x 100.
bool monsterEscapes(Game& g, const SpellCast& cast, MonsterRef m, double cap, double weight,
                    double base);
// The member escapes a monster's spell: edge (capped) + base > RND x 100.
bool memberEscapes(Game& g, const SpellCast& cast, int slot, double cap, double base);

// --- hurting, killing ---------------------------------------------------------

// "<monster> は <n> のダメージ", then the monster dies when its HP are gone.
void hurtMonster(Game& g, const SpellCast& cast, MonsterRef m, double damage);
// The monster dies with `words` ("は倒れた", "は消滅した"): the caster's kill,
// the battle's experience, the group's count.
void killMonster(Game& g, const SpellCast& cast, MonsterRef m, const std::string& words);
// "<name> は <n> のダメージ" (never more than he has); below 1 HP he dies.
void hurtMember(Game& g, const SpellCast& cast, int slot, double damage);
// Status dead, no hit points, and `words` after his name.
void killMember(Game& g, const SpellCast& cast, int slot, const std::string& words);

// The damage a spell's dice deal to a victim of `hp` hit points.
double spellDamage(Game& g, const SpellCast& cast, double hp);

// --- spells stolen --------------------------------------------------------------

// The party caster takes the monster's spell points of both kinds (up to his
// own maximum); the monster is left with none and its spells marked stolen.
void stealFromMonster(Game& g, const SpellCast& cast, MonsterRef m);
// The monster caster takes the member's points (as far as its kind holds
// them); the member is left with none.
void stealFromMember(Game& g, const SpellCast& cast, int slot);

// --- the effect families --------------------------------------------------------

// Effects that help the party (and the light, identification, movement and
// locate effects); false when the kind is not one of them.
bool castPartyEffect(Game& g, const SpellCast& cast);
// Effects of a party caster on monsters, and of a monster caster on members.
bool castMonsterEffect(Game& g, const SpellCast& cast);
bool castMemberEffect(Game& g, const SpellCast& cast);
// The floor is neither closed outright nor, by its alignment rule, to a
// member of the party.
bool isFloorOpen(const Game& g, int floor);
// Home to town (holy 14) and the teleport (magic 14).
void castReturnToTown(Game& g, const SpellCast& cast);
void castTeleport(Game& g, const SpellCast& cast);

// Lost members leave the party; the later members and their battle rows move
// up, the last row is cleared.
void removeLostMembers(Game& g);
// The member at `position` leaves the party with his battle row.
void removeMemberAt(Game& g, int position);

}  // namespace kestrun::game
