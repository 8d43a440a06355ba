#pragma once

#include <cmath>
#include <string>

#include "game/character/party_members.h"
#include "game/state/fields.h"
#include "game_fixture.h"

namespace kestrun::game {

// Classes of the spoils tests, by their skill digits.
inline constexpr int kFighter = 0;
inline constexpr int kPriest = 1;
inline constexpr int kMage = 2;
inline constexpr int kThief = 3;
inline constexpr int kNinja = 6;  // combat and thief

// The monster the party has just beaten, and the treasure classes it names.
inline constexpr int kBeaten = 7;
inline constexpr int kGoldOnly = 2;
inline constexpr int kChestClass = 15;

// A won battle's aftermath: `members` sound fighters named A, B, ... with
// 30 of 30 hit points, Luck and Dexterity 10 in battle, eight item slots,
// messages without pauses, the party on an ordinary square.
inline void setUpSpoils(Game& g, int members) {
  g.SysWord(MessageTime) = 0;
  g.SysWord(StatScale) = 18;
  g.SysWord(DisplayMode) = 0;
  g.Setting(ItemSlots) = 8;
  g.Setting(PartySize) = 6;
  g.ClassTable(kFighter, ClassSkills) = 10001;
  g.ClassTable(kPriest, ClassSkills) = 1001;
  g.ClassTable(kMage, ClassSkills) = 101;
  g.ClassTable(kThief, ClassSkills) = 11;
  g.ClassTable(kNinja, ClassSkills) = 10011;
  g.GameState(FloorAndFacing) = 100;
  g.GameState(Square) = 505;
  g.GroupKills(0) = kBeaten * 100 + 3;
  g.MonsterTable(kBeaten, MonsterGold) = kGoldOnly * 100;
  for (int c = 0; c < members; ++c) {
    g.CharName(c) = std::string(1, static_cast<char>('A' + c));
    g.CharRec(c, Status) = 1;
    g.CharRec(c, LevelAndFloor) = 5;
    g.CharRec(c, HitPoints) = 30;
    g.CharRec(c, MaxHitPoints) = 30;
    joinParty(g, c);
    g.BattleOrder(c) = static_cast<float>(c + 1);
    g.BattleParty(c, FirstBattleStat + Luck) = 10;
    g.BattleParty(c, FirstBattleStat + Dexterity) = 10;
  }
}

// Treasure class k rolls exactly `dice` gold (dice of one side, always
// added), times 1 and the party size setting.
inline void setFixedGold(Game& g, int k, int dice) {
  g.TreasureTable(k, FirstGoldRoll) = static_cast<float>(100 + dice);
  g.TreasureTable(k, FirstGoldRoll + 1) = 100 * 100;
  g.TreasureTable(k, GoldMultiplier) = 1;
}

// Trap t exists and is the only one a chest of class k can carry.
inline void onlyTrap(Game& g, int k, int t) {
  g.TrapTable(t, TrapExists) = 1;
  for (int f = 0; f < 3; ++f) g.TreasureTable(k, FirstTrapDigits + f) = 0;
  g.TreasureTable(k, FirstTrapDigits + t / 5) = static_cast<float>(std::pow(10, 4 - t % 5));
}

}  // namespace kestrun::game
