#include "game/battle/battle_end.h"

#include <string>

#include "game/battle/battle_common.h"
#include "game/battle/chest.h"
#include "game/battle/fought_room.h"
#include "game/battle/treasure_rules.h"
#include "game/character/battle_values.h"
#include "game/character/levels.h"
#include "game/character/message_timing.h"
#include "game/character/money.h"
#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/character/upkeep.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "runtime/sjis.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kBattleRows = 8;
constexpr float kMostKills = 30001;

void endIfRunning(float& effect) {
  if (effect == 1) effect = 0;
}

void replaceStatus(float& code, float from, float to) {
  if (code == from) code = to;
}

// The sleepers wake and the kill counts stay within their limit.
void wakeTheParty(Game& g) {
  for (int p = 1; p <= partySize(g); ++p) {
    const int c = memberSlot(g, p);
    replaceStatus(g.CharRec(c, Status), 11, 1);
    replaceStatus(g.CharRec(c, Status), 1011, 1001);
    if (g.CharRec(c, Kills) > kMostKills) g.CharRec(c, Kills) = kMostKills;
  }
}

void shareExperience(Game& g, int able) {
  const int32_t share = treasure_rules::experienceShare(g.WorkLong(ExpPool), able);
  g.con.COLOR(6);
  printAt(g, 28, 9, "パーティーのメンバーは"_sj);
  g.con.LOCATE(26, 11);
  g.con.PRINT("それぞれ "_sj);
  g.con.PRINT(share);
  g.con.PRINT(" の経験値を得た"_sj);
  for (int p = 1; p <= partySize(g); ++p) {
    const int c = memberSlot(g, p);
    if (isAbleToAct(g, c)) {
      addExperience(g, c, share);
    }
  }
  for (int p = 1; p <= partySize(g); ++p) {
    float& code = g.CharRec(memberSlot(g, p), Status);
    replaceStatus(code, 10, 1);
    replaceStatus(code, 1010, 1001);
  }
  TMWAIT(g);
}

// The victory up to the chest; false when a chest trap called monsters and
// the next battle must follow at once.
bool winBattle(Game& g) {
  const bool calledByTrap = g.SysWord(BattleChain) == 1;
  clearGroupFrame(g);
  endIfRunning(g.GameState(LevitationEffect));
  endIfRunning(g.GameState(InvisibilityEffect));
  for (int row = 0; row < kBattleRows; ++row) g.BattleParty(row, SpellsSealed) = 0;
  blankLines(g, 0, 14);
  wakeTheParty(g);
  CCHEC4(g);
  CCHEC2(g);
  const int able = membersAbleToAct(g);
  if (able > 0) shareExperience(g, able);
  endIfRunning(g.GameState(IdentifyEffect));
  if (able > 0) {
    g.SysWord(BattleKind) += static_cast<float>(10 * able);
    chestAndGold(g);
  }
  g.SysWord(Outcome) = 0;
  // A battle called by a trap never calls another: one trap, one battle.
  return calledByTrap || g.SysWord(BattleChain) != 1;
}

// The experience of a level lost: back to where his present level began.
void payForLevelsLost(Game& g, int c) {
  const int level = levelOf(g, c);
  if (level < 1) {
    g.CharRec(c, Status) = status::Lost;
    return;
  }
  if (level == 1) {
    g.CharLong(c, Experience) = 0;
    return;
  }
  float& field = g.CharRec(c, LevelAndFloor);
  g.SysWord(ActingSlot) = static_cast<float>(c);
  field -= 1;
  LVCALC(g);
  field += 1;
  g.CharLong(c, Experience) = g.WorkLong(NextLevelExperience);
}

void accountLevelLoss(Game& g) {
  blankLines(g, 7, 15);
  for (int p = 1; p <= partySize(g); ++p) {
    blankColumns(g, 24, 10, 50);
    blankColumns(g, 24, 12, 45);
    float& lost = g.BattleParty(p - 1, LevelsLost);
    if (lost == 0) continue;
    const int c = memberSlot(g, p);
    sayAt(g, 24, 10,
          {g.CharName(c), " は "_sj, static_cast<float>(rt::MOD(lost, 1000)),
           " レベル分の経験値を失った"_sj});
    payForLevelsLost(g, c);
    lost = static_cast<float>(rt::MOD(lost, 1000) - rt::INT(lost / 1000));
  }
  CCHEC4(g);
  CCHEC2(g);
}

void closeBattle(Game& g) {
  CCHEC3(g);
  for (int p = 1; p <= partySize(g); ++p) {
    printAt(g, 61, 15 + p, g.CharRec(memberSlot(g, p), MaxHitPoints));
    for (int f = FirstStatBonus; f <= EquippedOtherKind; ++f) g.BattleParty(p - 1, f) = 0;
  }
  rt::Picture& picture = g.con.picture();
  if (g.Setting(MonsterPictures) == 1 && g.SysWord(PictureGroups) > 0 && picture.created())
    picture.free();
  g.con.CLS();
  g.SysWord(BattleChain) = 0;
}

}  // namespace

void endBattle(Game& g, BattleEnding ending) {
  switch (ending) {
    case BattleEnding::Victory:
      if (!winBattle(g)) return;
      [[fallthrough]];
    case BattleEnding::Fled:
      accountLevelLoss(g);
      [[fallthrough]];
    case BattleEnding::Negotiated:
      clearFoughtRoom(g);
      break;
    case BattleEnding::Defeat:
    case BattleEnding::LeftBySpell:
      break;
  }
  closeBattle(g);
}

}  // namespace kestrun::game
