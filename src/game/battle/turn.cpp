#include "game/battle/turn.h"

#include <algorithm>
#include <utility>

#include "game/battle/battle_common.h"
#include "game/battle/battle_rules.h"
#include "game/battle/commands.h"
#include "game/battle/monster_actions.h"
#include "game/battle/party_actions.h"
#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/character/upkeep.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/values.h"

namespace kestrun::game {

namespace {

constexpr int kFight = 1;
constexpr int kSpell = 2;
constexpr int kDispel = 3;
constexpr int kItem = 4;
constexpr int kRun = 6;
constexpr int kMonstersUnaware = 1;
constexpr int kCannotEscape = 10000;

int commandOf(const Game& g, int position) {
  return rt::MOD(g.BattleParty(position - 1, Command), 10);
}

bool monstersBarEscape(const Game& g) {
  for (int group = 0; group < kGroupPlaces; ++group) {
    if (isGroupInUse(g, group) &&
        g.MonsterTable(groupMonsterOf(g, group), MonsterTreasure) >= kCannotEscape) {
      return true;
    }
  }
  return false;
}

void cancelPartyCommands(Game& g) {
  for (int p = 1; p <= partySize(g); ++p) g.BattleParty(p - 1, Command) = 0;
}

// Returns true when the action took the party out of the battle: only a
// spell or an item's spell can, so an outcome word left over from an earlier
// spell never ends this battle after a blow.
bool act(Game& g, int position) {
  blankActionRows(g);
  const int command = commandOf(g, position);
  switch (command) {
    case kFight:
      memberFights(g, position);
      break;
    case kSpell:
      memberCasts(g, position);
      break;
    case kDispel:
      memberDispels(g, position);
      break;
    case kItem:
      memberUsesItem(g, position);
      break;
    default:
      break;
  }
  return (command == kSpell || command == kItem) && partyLeftBySpell(g);
}

bool membersAct(Game& g, double tick) {
  for (int p = 1; p <= partySize(g); ++p) {
    const int command = commandOf(g, p);
    if (g.BattleParty(p - 1, Command) == 0 || command > kItem) continue;
    if (g.Initiative(0, p - 1) < tick || !memberCanActAt(g, p)) continue;
    if (act(g, p)) return false;
  }
  return true;
}

void monstersAct(Game& g, double tick) {
  for (int group = 0; group < kGroupPlaces; ++group) {
    for (int place = 0; place < kMonsterPlaces; ++place) {
      if (g.Initiative(group + 1, place) == tick) actMonster(g, group, place);
    }
  }
}

// --- end of the turn ----------------------------------------------------------------

void moveMonster(Game& g, int group, int from, int toGroup, int to, int lastField) {
  for (int f = 0; f <= lastField; ++f) {
    g.BattleMonsters(toGroup, to, f) = g.BattleMonsters(group, from, f);
  }
}

void clearMonster(Game& g, int group, int place) {
  for (int f = 0; f < MonsterSpellResistance; ++f) g.BattleMonsters(group, place, f) = 0;
}

void closeUpMonsters(Game& g, int group) {
  int next = 0;
  for (int place = 0; place < kMonsterPlaces; ++place) {
    if (!isMonsterAlive(g, group, place)) continue;
    if (place != next) moveMonster(g, group, place, group, next, MonsterSpell);
    ++next;
  }
  for (int place = next; place < kMonsterPlaces; ++place) clearMonster(g, group, place);
}

bool isPlaceEmpty(const Game& g, int group) {
  return g.GroupMonster(group) < 0 || g.GroupCount(group) < 1;
}

void moveGroupUp(Game& g, int from) {
  for (int group = from; group < kGroupPlaces - 1; ++group) {
    g.GroupMonster(group) = g.GroupMonster(group + 1);
    g.GroupUnknown(group) = g.GroupUnknown(group + 1);
    g.GroupCount(group) = g.GroupCount(group + 1);
    for (int place = 0; place < kMonsterPlaces; ++place) {
      moveMonster(g, group + 1, place, group, place, MonsterSpell);
    }
  }
  const int last = kGroupPlaces - 1;
  g.GroupMonster(last) = -1;
  g.GroupUnknown(last) = 0;
  g.GroupCount(last) = 0;
  for (int place = 0; place < kMonsterPlaces; ++place) clearMonster(g, last, place);
}

// The first empty place that a used one follows, or -1.
int gapBeforeUsedGroup(const Game& g) {
  for (int group = 0; group < kGroupPlaces - 1; ++group) {
    if (!isPlaceEmpty(g, group)) continue;
    for (int later = group + 1; later < kGroupPlaces; ++later) {
      if (!isPlaceEmpty(g, later)) return group;
    }
  }
  return -1;
}

void swapGroups(Game& g, int group) {
  std::swap(g.GroupMonster(group), g.GroupMonster(group + 1));
  std::swap(g.GroupUnknown(group), g.GroupUnknown(group + 1));
  std::swap(g.GroupCount(group), g.GroupCount(group + 1));
  for (int place = 0; place < kMonsterPlaces; ++place) {
    for (int f = 0; f < BattleMonsterFields; ++f) {
      std::swap(g.BattleMonsters(group, place, f), g.BattleMonsters(group + 1, place, f));
    }
  }
}

bool keepsAway(const Game& g, int group) {
  return digit(g.MonsterTable(groupMonsterOf(g, group), MonsterTreasure), 3) == 1;
}

void wakeSleepers(Game& g) {
  for (int p = 1; p <= partySize(g); ++p) {
    float& code = g.CharRec(memberSlot(g, p), Status);
    if (digit(code, 1) != 1) continue;
    const double resistance = battleStat(g, p, Health) * 3 + battleStat(g, p, Luck);
    if (resistance > randomDraw(g) * (g.SysWord(StatScale) * 10)) code -= 10;
  }
}

// A party spell ends when the member who cast it can no longer act.
void endSpellsOfFallen(Game& g) {
  for (int p = 1; p <= partySize(g); ++p) {
    const int c = memberSlot(g, p);
    if (isAbleToAct(g, c)) continue;
    for (int effect : {LightEffect, ProtectionEffect, IdentifyEffect}) {
      float& word = g.GameState(effect);
      if (word <= 0 || rt::INT(word / 1000) != c) continue;
      word = 0;
      if (effect != ProtectionEffect) continue;
      for (int q = 1; q <= partySize(g); ++q) g.CharRec(memberSlot(g, q), ArmourModifier) = 0;
    }
  }
}

void regenerate(Game& g) {
  for (int p = 1; p <= partySize(g); ++p) {
    const int c = memberSlot(g, p);
    if (g.CharRec(c, Status) >= status::Dead) continue;
    float& hp = g.CharRec(c, HitPoints);
    hp = std::min(hp + g.BattleParty(p - 1, RegenerationTotal), g.CharRec(c, MaxHitPoints));
  }
}

bool partyDefeated(const Game& g) {
  for (int p = 1; p <= partySize(g); ++p) {
    const float code = g.CharRec(memberSlot(g, p), Status);
    if (code < 100 || code == 1001) return false;
  }
  return true;
}

bool monstersRemain(const Game& g) {
  for (int group = 0; group < kGroupPlaces; ++group) {
    if (g.GroupCount(group) > 0) return true;
  }
  return false;
}

}  // namespace

void rollInitiative(Game& g) {
  for (int p = 1; p <= partySize(g); ++p) {
    double value = battleStat(g, p, Agility) * 2 + rt::INT(randomDraw(g) * 6);
    if (g.Battle.MudPenalty == 1) value -= rt::INT(randomDraw(g) * 4);
    g.Initiative(0, p - 1) = static_cast<float>(value);
  }
  for (int group = 0; group < kGroupPlaces; ++group) {
    for (int place = 0; place < g.GroupCount(group); ++place) {
      g.Initiative(group + 1, place) =
          static_cast<float>(g.MonsterAgility(group, place) * 2 + rt::INT(randomDraw(g) * 6));
    }
  }
}

bool someoneRuns(const Game& g) {
  for (int p = 1; p <= partySize(g); ++p) {
    if (commandOf(g, p) == kRun) return true;
  }
  return false;
}

bool runAttempt(Game& g) {
  if (g.Battle.Surprise == kMonstersUnaware) return true;
  const double scale = g.SysWord(StatScale) + 2;
  for (int p = 1; p <= partySize(g); ++p) {
    if (randomDraw(g) * 50 > 48 || monstersBarEscape(g)) return false;
    const double agilityDraw = randomDraw(g) * scale;
    const double luckDraw = randomDraw(g) * scale;
    if (memberGetsAway(battleStat(g, p, Agility), g.Battle.MudPenalty, g.Battle.TopLuck,
                       agilityDraw, luckDraw)) {
      return true;
    }
  }
  return false;
}

void escape(Game& g) {
  if (g.SysWord(BattleChain) != 1) {
    std::swap(g.GameState(FloorAndFacing), g.GameState(PreviousFloorAndFacing));
    std::swap(g.GameState(Square), g.GameState(PreviousSquare));
  }
  for (int p = 1; p <= partySize(g); ++p) {
    float& code = g.CharRec(memberSlot(g, p), Status);
    if (code < 12000) code = static_cast<float>(rt::INT(code / 100) * 100 + 1);
  }
  blankColumns(g, 27, 8, 20);
  blankColumns(g, 29, 11, 20);
  g.SysWord(Outcome) = 0;
}

void mudSlowsFighters(Game& g) {
  if (g.Battle.MudPenalty != 1) return;
  for (int p = 1; p <= partySize(g); ++p) {
    const int command = commandOf(g, p);
    if (command != kFight && command != kItem) continue;
    g.Initiative(0, p - 1) -= static_cast<float>(3 + rt::INT(randomDraw(g) * 3));
  }
}

bool playTicks(Game& g, bool partyActs) {
  for (int tick = 100; tick >= 1; --tick) {
    g.con.COLOR(7);
    printAt(g, 60, 6, static_cast<float>(tick));
    g.con.COLOR(6);
    if (partyActs && !membersAct(g, tick)) return false;
    monstersAct(g, tick);
  }
  return true;
}

void closeUpGroups(Game& g) {
  for (int group = 0; group < kGroupPlaces; ++group) {
    if (isGroupInUse(g, group)) closeUpMonsters(g, group);
  }
  for (int gap = gapBeforeUsedGroup(g); gap >= 0; gap = gapBeforeUsedGroup(g)) moveGroupUp(g, gap);
  for (int group = 0; group < kGroupPlaces; ++group) {
    if (g.GroupCount(group) < 1) g.GroupMonster(group) = -1;
  }
}

void driftGroups(Game& g) {
  if (g.Setting(WeaponRange) != 1) return;
  for (int group = 0; group < kGroupPlaces - 1; ++group) {
    if (!isGroupInUse(g, group) || !isGroupInUse(g, group + 1)) continue;
    const bool stays = randomDraw(g) * 10 > 7;
    if (stays || !keepsAway(g, group) || keepsAway(g, group + 1)) continue;
    swapGroups(g, group);
  }
}

std::optional<BattleEnding> endOfTurn(Game& g) {
  blankActionRows(g);
  closeUpGroups(g);
  driftGroups(g);
  wakeSleepers(g);
  CCHEC(g);
  CCHEC4(g);
  CCHEC2(g);
  endSpellsOfFallen(g);
  regenerate(g);
  if (partyDefeated(g)) return BattleEnding::Defeat;
  g.con.graphics().LINE(1, 1, 135, 270, 0, rt::BoxMode::Filled);
  g.con.graphics().LINE(510, 1, 638, 270, 0, rt::BoxMode::Filled);
  if (!monstersRemain(g)) return BattleEnding::Victory;
  return std::nullopt;
}

std::optional<BattleEnding> playTurn(Game& g, bool first) {
  if (first) {
    drawGroupList(g);
    g.Battle.MudPenalty = partyStandsInMud(g) ? 1 : 0;
  } else {
    startOfTurn(g);
  }
  rollInitiative(g);
  chooseCommands(g);
  bool partyActs = true;
  if (someoneRuns(g)) {
    if (runAttempt(g)) {
      escape(g);
      return BattleEnding::Fled;
    }
    cancelPartyCommands(g);
    partyActs = false;
  }
  chooseMonsterActions(g);
  mudSlowsFighters(g);
  for (int group = 0; group < kGroupPlaces; ++group) {
    g.GroupSlots(group, SlotsAtTurnStart) = g.GroupCount(group);
    g.GroupSlots(group, SlotsCalledIn) = 0;
  }
  if (!playTicks(g, partyActs)) return BattleEnding::LeftBySpell;
  return endOfTurn(g);
}

BattleEnding playTurns(Game& g) {
  for (bool first = true;; first = false) {
    if (const std::optional<BattleEnding> ending = playTurn(g, first)) return *ending;
  }
}

}  // namespace kestrun::game
