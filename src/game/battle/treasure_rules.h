#pragma once

#include <cstdint>

#include "runtime/random.h"

// The numbers behind the battle's spoils: experience and gold shares, the
// chest's trap and its contents, and the thief's chances at a trap.
namespace kestrun::game {

struct Game;

namespace treasure_rules {

// The chest's trap when it has none.
inline constexpr int kNoTrap = 15;
inline constexpr int kChestTraps = 15;
// Only treasure classes from this one on can leave a chest or items.
inline constexpr int kFirstChestClass = 15;

// The treasure class of monster m, from MonsterTable(m, field) (the gold
// class in field 14, the chest's in field 15).
int treasureClass(const Game& g, int monster, int field);

bool trapExists(const Game& g, int trap);
// Trap t is among those a chest of treasure class k may carry.
bool chestMayCarry(const Game& g, int treasureClass, int trap);
// The chest's trap: up to 300 draws of 0..15, each kept when the class
// allows it (15, no trap, when the class may be untrapped); 15 when every
// draw is refused.
int drawChestTrap(const Game& g, rt::Random& random, int treasureClass);
// A trap reported by a failed inspection or spell: drawn until it exists or
// is 15 (no trap).
int drawReportedTrap(const Game& g, rt::Random& random);

// Each member's share of the experience pool among `members` able to act.
int32_t experienceShare(int32_t pool, int members);

// The gold of treasure class k: three rolls, each adding its dice and bonus
// when its chance comes up, times the multiplier and the party size.
double rollGold(const Game& g, rt::Random& random, int treasureClass);
// One member's share of `gold` among `members`; a share below 6 becomes
// 2..5 at random.
double goldShare(double gold, int members, rt::Random& random);

// The thief's factor at a trap: 10 for a class without the thief skill, 50
// with it, 45 when the class has other skills besides.
int trapSkillFactor(const Game& g, int slot);
// How much a trap's difficulty weighs: the hundreds of the setting v taken
// as v - 50 from 50 on, else v + 50.
double difficultyWeight(double setting);
// A disarming or inspecting member beats the trap: Dexterity x factor >
// scaleDraw (RND x stat scale x 50) + difficulty x weight.
bool beatsTrap(double dexterity, int factor, double scaleDraw, double difficulty, double weight);

// An inspecting member misreads the trap: Dexterity x factor < scaleDraw +
// difficulty x weight.
bool missesTrap(double dexterity, int factor, double scaleDraw, double difficulty, double weight);

// Whether an item of rarity r (1..9) found on a floor is drawn again.
bool rarityRedraws(const Game& g, int rarity, int floor, int monster, double draw90,
                   double draw200);

}  // namespace treasure_rules
}  // namespace kestrun::game
