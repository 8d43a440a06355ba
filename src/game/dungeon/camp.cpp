#include "game/dungeon/camp.h"

#include <optional>

#include "game/battle/trap_list.h"
#include "game/character/battle_values.h"
#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/character/status_panel.h"
#include "game/dungeon/camp_parts.h"
#include "game/dungeon/encounter.h"
#include "game/dungeon/floor_squares.h"
#include "game/party/character_actions.h"
#include "game/spells/catalogue.h"
#include "game/state/fields.h"
#include "game/state/game.h"
#include "game/town/program_end.h"
#include "runtime/keyboard.h"
#include "runtime/sjis.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kNormal = 6;
constexpr int kUnavailable = 2;
constexpr float kEndedInRock = 8000;
constexpr float kWipedOut = 9000;

bool alone(const Game& g) {
  return partySize(g) == 1;
}

bool full(const Game& g) {
  return partySize(g) >= g.Setting(PartySize);
}

void entry(Game& g, int column, int row, bool available, const std::string& text) {
  g.con.COLOR(available ? kNormal : kUnavailable);
  printAt(g, column, row, text);
}

void showCampScreen(Game& g) {
  rt::Console& con = g.con;
  con.CLS();
  con.COLOR(6);
  g.SysWord(PanelRow) = 3;
  HYOJI(g);
  CCHEC3(g);
  entry(g, 23, 16, true, "パーティーは休息しています"_sj);
  entry(g, 29, 18, true, "何をしますか ?"_sj);
  entry(g, 9, 20, true, "0 行動を再開する       1 キャラクターを見る"_sj);
  entry(g, 56, 20, !alone(g), "2 順番を変える"_sj);
  entry(g, 9, 21, true, "3 パーティを解散する"_sj);
  entry(g, 32, 21, !full(g), "4 キャラクターを探す"_sj);
  entry(g, 56, 21, true, "5 呪文の効果を見る"_sj);
  entry(g, 9, 22, true, "6 現在の状態をＳＡＶＥしゲームを中断する       7 罠の効果を見る"_sj);
  entry(g, 9, 23, true, "8 設定を変更する"_sj);
  entry(g, 32, 23, !alone(g), "9 所持金を分配する"_sj);
  entry(g, 56, 23, true, "Hit 0 - 9 Key");
}

// A camp key 0..9 the party can use now; Esc asks whether to quit.
int campKey(Game& g) {
  for (;;) {
    g.KeyAnswer = g.con.waitKey();
    if (g.KeyAnswer == std::string(1, static_cast<char>(rt::key::Escape))) {
      quitConfirmation(g);
      continue;
    }
    const std::optional<int> key = digitKey(g.KeyAnswer, 9);
    if (!key) continue;
    if ((*key == 2 || *key == 9) && alone(g)) continue;
    if (*key == 4 && full(g)) continue;
    return *key;
  }
}

// After CHARA: a spell may have ended the party in rock or in the air, or
// taken it home. Nothing: the camp goes on.
std::optional<Flow> afterActions(Game& g) {
  if (g.SysWord(Outcome) == kEndedInRock) return partyLost(g, Catastrophe::InRock);
  if (g.SysWord(Outcome) == kWipedOut) return partyLost(g, Catastrophe::WipedOut);
  if (partyFloor(g) == 0) {
    g.CurrentFloor = 0;
    return Flow::Town;
  }
  g.CurrentFloor = partyFloor(g);
  return std::nullopt;
}

std::optional<Flow> actForMembers(Game& g) {
  HYOJI3(g);
  blankLines(g, 16, 20);
  // An outcome left from an earlier spell must not end this party.
  g.SysWord(Outcome) = 0;
  CHARA(g);
  return afterActions(g);
}

// The level-loss counters start again for every member.
void resumeExploring(Game& g) {
  for (int p = 1; p <= partySize(g); ++p) g.BattleParty(p - 1, LevelsLost) = 0;
  g.con.CLS();
}

}  // namespace

Flow restInCamp(Game& g) {
  for (;;) {
    showCampScreen(g);
    const int key = campKey(g);
    if (key >= 3) blankLines(g, 20, 23);
    switch (key) {
      case 0:
        resumeExploring(g);
        return Flow::Cycle;
      case 1:
        if (const std::optional<Flow> end = actForMembers(g)) return *end;
        break;
      case 2:
        reorderParty(g);
        break;
      case 3:
        if (leaveTheParty(g, true)) return Flow::Town;
        break;
      case 4:
        searchForCharacters(g);
        break;
      case 5:
        SPR(g);
        break;
      case 6:
        leaveTheParty(g, false);
        break;
      case 7:
        WND(g);
        break;
      case 8:
        changeSettings(g);
        break;
      default:
        shareTheGold(g);
        break;
    }
  }
}

}  // namespace kestrun::game
