#include "game/state/scenario_load.h"

#include <algorithm>

#include "game/character/message_timing.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "game/state/roster_file.h"
#include "game/state/scenario_file.h"
#include "runtime/sjis.h"
#include "runtime/strings.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kFile = 1;
constexpr size_t kTitleBytes = 60;

void askScenarioLetter(Game& g) {
  rt::Console& con = g.con;
  con.COLOR(6);
  con.LOCATE(23, 14);
  con.PRINT("数字または英字１文字 (半角に限る)"_sj);
  con.COLOR(7);
  con.LOCATE(24, 11);
  g.KeyAnswer = con.inputString("シナリオのファイル名は ?  "_sj);
  g.ScenarioLetter = rt::LEFT(g.KeyAnswer, 1);
  con.LOCATE(9, 14);
  con.PRINT(rt::SPACE(65));
  con.LOCATE(24, 11);
  con.PRINT("   ただいまＤＡＴＡ読み込み中      "_sj);
}

void showScenarioTitle(Game& g) {
  std::string& title = g.ScenarioText(0);
  if (title.empty()) return;
  title = rt::LEFT(title, kTitleBytes);
  g.con.LOCATE(33 - rt::INT(rt::LEN(title) / 2.0), 17);
  g.con.PRINT("シナリオ名   "_sj + title);
}

void readScenarioFile(Game& g) {
  rt::FileTable& files = g.con.files();
  g.SysWord(FloorReading) = 0;
  files.OPEN(scenarioFileName(g.ScenarioLetter), rt::FileMode::Input, rt::FileAccess::Read, kFile);
  readScenarioTexts(files, kFile, g);
  showScenarioTitle(g);
  readScenarioRest(files, kFile, g);
  files.closeAll();
}

RosterSeal readRosterFile(Game& g) {
  rt::FileTable& files = g.con.files();
  RosterSeal seal;
  files.OPEN(rosterFileName(g.ScenarioLetter), rt::FileMode::Input, rt::FileAccess::Read, kFile);
  readRoster(files, kFile, g, seal);
  files.closeAll();
  return seal;
}

// The stat limit in play: a plain number, or the race's value plus the
// setting's distance from 50.
double statLimit(const Game& g, int race, int stat) {
  const float setting = g.Setting(PlayStatLimit);
  return setting <= 40 ? setting : g.RaceTable(race, FirstRaceStat + stat) + setting - 50;
}

void clampRoster(Game& g) {
  for (int c = 0; c < kRosterSlots; ++c) {
    g.CharRec(c, HitPoints) = std::min(g.CharRec(c, HitPoints), g.CharRec(c, MaxHitPoints));
    if (c > 0 && g.CharRec(c, Status) < status::Dead) g.MapViewAllowed = false;
    for (int k = 0; k < StatCount; ++k) {
      const double limit = statLimit(g, raceOf(g, c), k);
      if (statOf(g, c, k) > limit) setStat(g, c, k, rt::toInt32(limit));
    }
  }
}

// The highest stat a character can normally reach: the scenario's plain
// limit, or the second-highest distinct race stat moved by the setting.
float statScale(const Game& g) {
  if (g.Setting(NoRaces) == 1 || g.Setting(CreationStatLimit) < 40)
    return g.Setting(CreationStatLimit);
  float highest = 0;
  float second = 0;
  for (int r = 0; r < 8; ++r) {
    if (g.RaceTable(r, RaceExists) == 0) continue;
    for (int k = 0; k < StatCount; ++k)
      highest = std::max(highest, g.RaceTable(r, FirstRaceStat + k));
  }
  for (int r = 0; r < 8; ++r) {
    if (g.RaceTable(r, RaceExists) == 0) continue;
    for (int k = 0; k < StatCount; ++k) {
      const float value = g.RaceTable(r, FirstRaceStat + k);
      if (value < highest) second = std::max(second, value);
    }
  }
  return rt::toSingle(second + g.Setting(CreationStatLimit) - 50.0);
}

}  // namespace

void refuseRoster(Game& g) {
  g.con.LOCATE(28, 15);
  g.con.PRINT("   ＤＡＴＡが違います"_sj);
  TMWAIT(g);
}

void deriveScenarioValues(Game& g) {
  g.MapViewAllowed = true;
  clampRoster(g);
  g.SysWord(MessageTime) = g.ShopStock(StockedMessageTime);
  if (g.SysWord(MessageTime) < 0 || g.SysWord(MessageTime) > 10000) g.SysWord(MessageTime) = 777;
  if (g.InitialStock(MapAlwaysAllowed) > 0) g.MapViewAllowed = true;
  if (g.Setting(CreationStatLimit) == 99) g.Setting(CreationStatLimit) = 60;
  if (g.Setting(PlayStatLimit) == 99) g.Setting(PlayStatLimit) = 65;
  for (int s = 1; s <= 80; ++s) {
    float& level = g.SpellTable(s, SpellLevel);
    if (level < 1000) level = rt::toSingle(level + rt::MOD(level, 10) * 1000.0);
  }
  g.SysWord(StatScale) = statScale(g);
}

bool LoadScenario(Game& g) {
  askScenarioLetter(g);
  readScenarioFile(g);
  const RosterSeal seal = readRosterFile(g);
  unscrambleScenario(g);
  const RosterLinks links = unscrambleRoster(g, seal);
  if (checkRoster(g, links, g.ScenarioId(ScenarioNumber)) != RosterVerdict::Sound) {
    refuseRoster(g);
    return false;
  }
  deriveScenarioValues(g);
  return true;
}

}  // namespace kestrun::game
