#include "game/state/scenario_load.h"

#include <gtest/gtest.h>

#include <fstream>

#include "game/state/floor_file.h"
#include "game/state/floor_load.h"
#include "game/state/packed.h"
#include "game/state/roster_file.h"
#include "game/state/scenario_file.h"
#include "game_fixture.h"
#include "runtime/sjis.h"
#include "test_support.h"

namespace kestrun::game {
namespace {

using namespace rt::literals;
using rt::rowText;

constexpr float kId = 321;

ScenarioTables smallScenario() {
  ScenarioTables s;
  s.ScenarioText(0) = std::string(70, 'N');
  s.Setting(ScrambleKey) = 2468;
  s.Setting(CreationStatLimit) = 99;
  s.Setting(PlayStatLimit) = 99;
  s.RaceTable(0, RaceExists) = 1;
  s.RaceTable(0, FirstRaceStat) = 18;
  s.RaceTable(1, RaceExists) = 1;
  s.RaceTable(1, FirstRaceStat + 1) = 18;  // a second race shares the highest value
  s.RaceTable(1, FirstRaceStat + 2) = 16;
  s.RaceTable(2, FirstRaceStat + 3) = 30;  // a race that does not exist does not count
  s.SpellTable(5, SpellLevel) = 3;
  s.SpellTable(6, SpellLevel) = 2004;
  s.ScenarioId(0) = kId;
  return s;
}

RosterTables smallRoster() {
  RosterTables r;
  r.CharName(0) = "KAI";
  r.CharRec(0, Status) = 1;
  r.CharRec(0, HitPoints) = 12;
  r.CharRec(0, MaxHitPoints) = 9;
  r.CharRec(0, FirstStatPair) = 9070;  // strength 90 and health 70
  for (int c = 1; c < 20; ++c) r.CharRec(c, Status) = 20000;
  r.ShopStock(0) = 20000;
  sealCharacters(r);
  return r;
}

template <typename Write>
void writeFile(const std::string& name, Write write) {
  std::filesystem::remove(name);
  rt::FileTable files;
  files.OPEN(name, rt::FileMode::Output, rt::FileAccess::Write, 1);
  write(files);
  files.closeAll();
}

void writeScenarioFiles(const ScenarioTables& s, const RosterTables& r) {
  writeFile("T-S.DAT", [&](rt::FileTable& f) { writeScenario(f, 1, s); });
  writeFile("T-C.DAT", [&](rt::FileTable& f) { writeRoster(f, 1, r, 3333, kId); });
}

TEST(ScenarioLoad, DerivesTheValuesOfTheLoadedScenario) {
  GameFixture t;
  writeScenarioFiles(smallScenario(), smallRoster());
  t.type("Tx{Enter}");
  ASSERT_TRUE(LoadScenario(t.g));
  Game& g = t.g;
  EXPECT_EQ(g.ScenarioLetter, "T");
  EXPECT_EQ(g.CharRec(0, HitPoints), 9.0f);   // hit points clamped to the maximum
  EXPECT_EQ(statOf(g, 0, 0), 18 + 99 - 50);   // stat clamp with the stored 99
  EXPECT_EQ(statOf(g, 0, 1), 49);             // race 0 has 0 for health: 0 + 49
  EXPECT_EQ(g.SysWord(MessageTime), 777.0f);  // message time out of range
  EXPECT_EQ(g.Setting(CreationStatLimit), 60.0f);
  EXPECT_EQ(g.Setting(PlayStatLimit), 65.0f);
  EXPECT_EQ(g.SpellTable(5, SpellLevel), 3003.0f);
  EXPECT_EQ(g.SpellTable(6, SpellLevel), 2004.0f);
  EXPECT_EQ(g.SysWord(StatScale), 16 + 60 - 50.0f);  // next distinct value below 18
  EXPECT_TRUE(g.MapViewAllowed);                     // every other slot is dead
  // The title is cut to 60 bytes and centred on that length.
  EXPECT_EQ(rowText(t.con.text(), 17),
            std::string(3, ' ') + "シナリオ名   "_sj + std::string(60, 'N'));
}

TEST(ScenarioLoad, StatScaleAndMapViewFollowTheirSettings) {
  GameFixture t;
  ScenarioTables s = smallScenario();
  s.Setting(CreationStatLimit) = 30;
  RosterTables r = smallRoster();
  r.CharRec(7, Status) = 0;  // an empty slot forbids the map view...
  sealCharacters(r);
  writeScenarioFiles(s, r);
  t.type("T{Enter}");
  ASSERT_TRUE(LoadScenario(t.g));
  EXPECT_EQ(t.g.SysWord(StatScale), 30.0f);
  EXPECT_FALSE(t.g.MapViewAllowed);

  s.InitialStock(0) = 1;  // ...unless the scenario allows it outright
  writeScenarioFiles(s, r);
  t.type("T{Enter}");
  ASSERT_TRUE(LoadScenario(t.g));
  EXPECT_TRUE(t.g.MapViewAllowed);
}

TEST(ScenarioLoad, ARefusedRosterShowsItsMessage) {
  GameFixture t;
  writeScenarioFiles(smallScenario(), smallRoster());
  writeFile("T-C.DAT", [&](rt::FileTable& f) { writeRoster(f, 1, smallRoster(), 3333, kId + 1); });
  t.type("T{Enter}");
  EXPECT_FALSE(LoadScenario(t.g));
  EXPECT_EQ(rowText(t.con.text(), 15), std::string(28, ' ') + "   ＤＡＴＡが違います"_sj);
}

std::string readAll(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs one load; it may succeed, refuse or raise an error, but nothing else.
void loadOnce(GameFixture& t) {
  t.type("T{Enter}");
  try {
    LoadScenario(t.g);
  } catch (const rt::RuntimeError&) {
  } catch (const rt::ProgramEnd&) {
  }
  t.con.files().closeAll();
}

TEST(ScenarioLoad, FilesCutAnywhereOrSwollenNeverBreakTheLoader) {
  GameFixture t;
  writeScenarioFiles(smallScenario(), smallRoster());
  const std::string scenario = readAll("T-S.DAT");
  const std::string roster = readAll("T-C.DAT");
  for (const auto& [name, whole] : {std::pair{"T-S.DAT", scenario}, {"T-C.DAT", roster}}) {
    for (size_t cut = 0; cut < whole.size(); cut += 97) {
      std::ofstream(name, std::ios::binary | std::ios::trunc) << whole.substr(0, cut);
      loadOnce(t);
    }
    std::ofstream(name, std::ios::binary | std::ios::trunc)
        << whole.substr(0, 200) << std::string(10 << 20, '7') << "\r\n"
        << whole.substr(200);
    loadOnce(t);
    std::ofstream(name, std::ios::binary | std::ios::trunc) << whole;
  }
}

TEST(FloorLoad, ReadsTheFloorAndEndsTheIdentificationOfStrengthTwo) {
  GameFixture t;
  FloorTables floor;
  floor.FloorMap(4, 5, SquareLayer) = 7;
  writeFile("T-AF.DAT", [&](rt::FileTable& f) { writeFloor(f, 1, floor, {77, kId, 10}); });
  Game& g = t.g;
  g.ScenarioLetter = "T";
  g.ScenarioId(0) = kId;
  g.GameState(FloorAndFacing) = 1002;
  g.GameState(IdentifyEffect) = 3002;
  g.SysWord(ActingSlot) = 1000;  // no progress message
  FLREAD(g);
  EXPECT_EQ(g.FloorMap(4, 5, SquareLayer), 7.0f);
  EXPECT_EQ(g.GameState(IdentifyEffect), 0.0f);
  EXPECT_EQ(g.SysWord(FloorReading), 0.0f);
  EXPECT_EQ(rowText(t.con.text(), 11), "");

  g.GameState(IdentifyEffect) = 3001;
  g.SysWord(ActingSlot) = 0;
  FLREAD(g);
  EXPECT_EQ(g.GameState(IdentifyEffect), 3001.0f);
}

TEST(FloorLoad, AMissingFloorAnsweredYesSavesThePreviousPosition) {
  GameFixture t;
  Game& g = t.g;
  writeScenarioFiles(smallScenario(), smallRoster());
  t.type("T{Enter}");
  ASSERT_TRUE(LoadScenario(g));
  g.GameState(FloorAndFacing) = 500;
  g.GameState(Square) = 1010;
  g.GameState(PreviousFloorAndFacing) = 101;
  g.GameState(PreviousSquare) = 304;
  t.type("y");
  EXPECT_THROW(FLREAD(g), rt::ProgramEnd);
  EXPECT_FALSE(std::filesystem::exists("T-C.DAT.NEW"));

  RosterTables saved;
  RosterSeal seal;
  rt::FileTable files;
  files.OPEN("T-C.DAT", rt::FileMode::Input, rt::FileAccess::Read, 1);
  readRoster(files, 1, saved, seal);
  const RosterLinks links = unscrambleRoster(saved, seal);
  EXPECT_EQ(checkRoster(saved, links, kId), RosterVerdict::Sound);
  EXPECT_EQ(saved.GameState(FloorAndFacing), 101.0f);
  EXPECT_EQ(saved.GameState(Square), 304.0f);
}

TEST(FloorLoad, FloorsOfAnotherScenarioOrDamagedEndTheProgram) {
  GameFixture t;
  Game& g = t.g;
  g.ScenarioLetter = "T";
  g.ScenarioId(0) = kId;
  g.GameState(FloorAndFacing) = 200;
  FloorTables floor;
  writeFile("T-2F.DAT", [&](rt::FileTable& f) { writeFloor(f, 1, floor, {77, kId, 3}); });
  EXPECT_THROW(FLREAD(g), rt::ProgramEnd);

  const std::string whole = readAll("T-2F.DAT");
  std::ofstream("T-2F.DAT", std::ios::binary | std::ios::trunc)
      << whole.substr(0, whole.size() / 3);
  try {
    FLREAD(g);
    ADD_FAILURE() << "a cut floor file was read";
  } catch (const rt::ProgramEnd& end) {
    EXPECT_EQ(end.exitCode, 1);
    EXPECT_EQ(rowText(t.con.text(), 12), std::string(28, ' ') + "ウィンドウを閉じてください"_sj);
  }
}

}  // namespace
}  // namespace kestrun::game
