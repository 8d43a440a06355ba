#include "game/town/town_menu.h"

#include <optional>

#include "game/character/settings_view.h"
#include "game/character/status_panel.h"
#include "game/dungeon/exploration.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "game/state/roster_write.h"
#include "game/town/castle.h"
#include "game/town/inn.h"
#include "game/town/party_room.h"
#include "game/town/program_end.h"
#include "game/town/shop.h"
#include "game/town/temple.h"
#include "game/town/training.h"
#include "runtime/sjis.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kAvailable = 6;
constexpr int kUnavailable = 2;

bool partyExists(const Game& g) {
  return g.GameState(MemberCount) > 0;
}
bool savedInDungeon(const Game& g) {
  return g.GameState(FloorAndFacing) / 100 >= 1;
}

bool someoneReadyInTown(const Game& g) {
  for (int c = 0; c < kRosterSlots; ++c) {
    if (hasSoundStatus(g.CharRec(c, Status)) && isInTown(g, c)) return true;
  }
  return false;
}

// Option 1 (and the facilities after it) can be visited.
bool townIsOpen(const Game& g) {
  return !savedInDungeon(g) && !isEmptySlot(g, 0) && someoneReadyInTown(g);
}

void option(Game& g, int column, int row, bool available, const std::string& text) {
  g.con.COLOR(available ? kAvailable : kUnavailable);
  g.con.LOCATE(column, row);
  g.con.PRINT(text);
}

void drawMenu(Game& g) {
  rt::Console& con = g.con;
  con.CLS();
  con.COLOR(6);
  con.graphics().LINE(64, 286, 600, 287 + 18.0 * g.Setting(PartySize), 13, rt::BoxMode::Outline);
  g.SysWord(DisplayMode) = 0;
  if (partyExists(g)) {
    g.SysWord(PanelRow) = 15;
    HYOJI(g);
  }
  con.LOCATE(31, 1);
  con.PRINT("どこへ行きますか ?"_sj);
  const bool open = townIsOpen(g);
  option(g, 15, 4, open, "１　"_sj + g.ScenarioText(1));
  const bool facilities = open && partyExists(g);
  option(g, 15, 6, facilities, "２　"_sj + g.ScenarioText(2));
  option(g, 15, 8, facilities, "３　"_sj + g.ScenarioText(3));
  option(g, 15, 10, facilities, "４　"_sj + g.ScenarioText(4));
  option(g, 15, 12, facilities, "５　"_sj + g.ScenarioText(5));
  option(g, 41, 4, true, "６　冒険者ギルド"_sj);
  option(g, 41, 6, partyExists(g) && !savedInDungeon(g), "７　地下迷宮に入る"_sj);
  option(g, 41, 8, savedInDungeon(g), "８　迷宮内でＳＡＶＥしたところから再開"_sj);
  option(g, 41, 10, true, "９　シナリオの基本設定データを見る"_sj);
  option(g, 41, 12, true, "０　ＳＡＶＥしてプログラムを終了する"_sj);
  con.LOCATE(32, 14);
  con.PRINT("Hit 0 - 9 Key");
}

// The facilities are in town: no floor is loaded and the party stands
// nowhere in the dungeon.
void prepareFacility(Game& g) {
  const float townHeader[] = {0, 2, 1, 0};
  for (int i = 0; i < 4; ++i) g.FloorHeader(i) = townHeader[i];
  for (int n = FloorAndFacing; n <= TimedEffect; ++n) g.GameState(n) = 0;
}

// Key 7 sends the party in at the gate of floor 1, facing north; key 8
// resumes where it was saved.
bool mayEnterAtGate(const Game& g) {
  return partyExists(g) && !savedInDungeon(g) && !isEmptySlot(g, 0);
}

DungeonEnd enterAtGate(Game& g) {
  g.GameState(FloorAndFacing) = 100;
  for (int n = Square; n <= TimedEffect; ++n) g.GameState(n) = 0;
  return enterDungeon(g, EntryMode::Gate);
}

}  // namespace

void TownMenu(Game& g) {
  struct Facility {
    const char* key;
    void (*visit)(Game&);
    bool needsParty;
  };
  static constexpr Facility facilities[] = {{"1", PartyRoom, false},
                                            {"2", Shop, true},
                                            {"3", Inn, true},
                                            {"4", Temple, true},
                                            {"5", Castle, true}};
  for (;;) {
    drawMenu(g);
    for (bool redraw = false; !redraw;) {
      g.KeyAnswer = g.con.waitKey();
      if (g.KeyAnswer == "0") {
        CHWRT(g);
        endProgram(g);
      }
      for (const Facility& facility : facilities) {
        if (g.KeyAnswer != facility.key || !townIsOpen(g)) continue;
        if (facility.needsParty && !partyExists(g)) continue;
        prepareFacility(g);
        facility.visit(g);
        redraw = true;
      }
      if (g.KeyAnswer == "6") {
        TRAIN(g);
        redraw = true;
      }
      std::optional<DungeonEnd> dungeon;
      if (g.KeyAnswer == "7" && mayEnterAtGate(g)) dungeon = enterAtGate(g);
      if (g.KeyAnswer == "8" && savedInDungeon(g)) dungeon = enterDungeon(g, EntryMode::Resume);
      if (dungeon == DungeonEnd::TitleScreen) return;
      if (dungeon) redraw = true;
      if (g.KeyAnswer == "9") {
        SETUMEI(g);
        redraw = true;
      }
    }
  }
}

}  // namespace kestrun::game
