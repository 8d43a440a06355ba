#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "game/state/floor_file.h"
#include "game/state/packed.h"
#include "game/state/roster_file.h"
#include "game/state/scenario_file.h"
#include "test_support.h"

namespace kestrun::game {
namespace {

namespace fs = std::filesystem;
using rt::errorCodeOf;

class GameFiles : public ::testing::Test {
 public:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("kestrun-files-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string path(const std::string& name) const { return (dir / name).string(); }

  template <typename Write>
  void writeFile(const std::string& name, Write write) {
    rt::FileTable files;
    files.OPEN(path(name), rt::FileMode::Output, rt::FileAccess::Write, 1);
    write(files);
    files.closeAll();
  }
  template <typename Read>
  void readFile(const std::string& name, Read read) {
    rt::FileTable files;
    files.OPEN(path(name), rt::FileMode::Input, rt::FileAccess::Read, 1);
    read(files);
    files.closeAll();
  }
  std::string bytes(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  fs::path dir;
};

ScenarioTables sampleScenario() {
  ScenarioTables s;
  s.ScenarioText(0) = "Title, with a comma";
  s.ScenarioText(1) = " leading blank";
  s.SpellName(80) = "last";
  s.ItemName(120, 1) = "unknown thing";
  s.Setting(ScrambleKey) = -4321;  // the key may be any whole number
  s.Setting(ArmourAndTrapDamage) = 5010;
  s.ClassTable(14, HitPointDice) = 30608;
  s.ClassExpPart(3, 0) = 1250;
  s.ClassExpPart(3, 1) = 500;
  s.ItemTable(7, ItemPriceHigh) = 9999;
  s.ItemTable(7, ItemPriceLow) = 9999;
  s.ScenarioId(0) = 4711;
  s.ScenarioId(2) = 3;
  s.InitialStock(0) = 1;
  s.InitialStock(120) = 9000;
  return s;
}

TEST_F(GameFiles, ScenarioReadsBackWhatWasWrittenAndDerivesTheExperienceFactor) {
  const ScenarioTables original = sampleScenario();
  writeFile("T-S.DAT", [&](rt::FileTable& f) { writeScenario(f, 1, original); });
  ScenarioTables loaded;
  readFile("T-S.DAT", [&](rt::FileTable& f) {
    readScenarioTexts(f, 1, loaded);
    EXPECT_EQ(loaded.ScenarioText(0), "Title, with a comma");
    readScenarioRest(f, 1, loaded);
    EXPECT_TRUE(f.atEnd(1));
  });
  EXPECT_NE(loaded.ItemTable(7, ItemPriceHigh), 9999.0f);  // numbers are stored scrambled
  unscrambleScenario(loaded);
  EXPECT_EQ(loaded.ScenarioText(1), " leading blank");
  EXPECT_EQ(loaded.SpellName(80), "last");
  EXPECT_EQ(loaded.ItemName(120, 1), "unknown thing");
  EXPECT_EQ(loaded.Setting(ScrambleKey), -4321.0f);
  EXPECT_EQ(loaded.Setting(ArmourAndTrapDamage), 5010.0f);
  EXPECT_EQ(loaded.ClassTable(14, HitPointDice), 30608.0f);
  EXPECT_EQ(loaded.ItemTable(7, ItemPriceHigh), 9999.0f);
  EXPECT_EQ(loaded.ScenarioId(0), 4711.0f);
  EXPECT_EQ(loaded.ScenarioId(2), 3.0f);
  EXPECT_EQ(loaded.InitialStock(120), 9000.0f);
  EXPECT_FLOAT_EQ(loaded.ClassExpFactor(3), 1.2505f);

  // Writing the loaded tables again gives the same bytes.
  writeFile("U-S.DAT", [&](rt::FileTable& f) { writeScenario(f, 1, loaded); });
  EXPECT_EQ(bytes("T-S.DAT"), bytes("U-S.DAT"));
}

TEST_F(GameFiles, ScenarioCutShortRaisesEndOfFile) {
  writeFile("T-S.DAT", [&](rt::FileTable& f) { writeScenario(f, 1, sampleScenario()); });
  const std::string all = bytes("T-S.DAT");
  std::ofstream(path("T-S.DAT"), std::ios::binary | std::ios::trunc)
      << all.substr(0, all.size() / 2);
  ScenarioTables loaded;
  EXPECT_EQ(errorCodeOf([&] {
              readFile("T-S.DAT", [&](rt::FileTable& f) {
                readScenarioTexts(f, 1, loaded);
                readScenarioRest(f, 1, loaded);
              });
            }),
            rt::err::InputPastEnd);
}

RosterTables sampleRoster() {
  RosterTables r;
  r.CharName(0) = "ALDO";
  r.CharRec(0, Status) = 1;
  r.CharRec(0, Identity) = 10203;
  r.CharRec(0, AgeDays) = -30000;           // ages are stored below zero
  r.CharRec(0, ChecksumAndSchools) = 2000;  // a spell school above the checksum digits
  r.CharRec(0, FirstStatPair) = 1517;
  r.CharLong(0, Experience) = 1000000000;
  r.CharLong(0, Gold) = 12345;
  r.GameState(MemberCount) = 1;
  r.GameState(FirstMember) = 1;
  r.GameState(FloorAndFacing) = 301;
  r.AutoMap(19, 19, 2) = 11111;
  r.ShopStock(0) = 777;
  r.ShopStock(5) = 9000;
  sealCharacters(r);
  return r;
}

RosterVerdict loadRoster(GameFiles& t, const std::string& name, RosterTables& loaded, float id) {
  RosterSeal seal;
  t.readFile(name, [&](rt::FileTable& f) { readRoster(f, 1, loaded, seal); });
  const RosterLinks links = unscrambleRoster(loaded, seal);
  return checkRoster(loaded, links, id);
}

TEST_F(GameFiles, RosterRoundTripsWithAnyKeyAndPassesItsChecks) {
  const RosterTables original = sampleRoster();
  for (int32_t key : {3000, 5555, 9999}) {
    writeFile("T-C.DAT", [&](rt::FileTable& f) { writeRoster(f, 1, original, key, 4711); });
    RosterTables loaded;
    ASSERT_EQ(loadRoster(*this, "T-C.DAT", loaded, 4711), RosterVerdict::Sound) << key;
    EXPECT_EQ(loaded.CharName(0), "ALDO");
    EXPECT_EQ(loaded.CharRec(0, AgeDays), -30000.0f);
    EXPECT_EQ(loaded.CharLong(0, Experience), 1000000000);
    EXPECT_EQ(loaded.GameState(FloorAndFacing), 301.0f);
    EXPECT_EQ(loaded.AutoMap(19, 19, 2), 11111.0f);
    EXPECT_EQ(loaded.ShopStock(5), 9000.0f);
    EXPECT_EQ(rt::INT(loaded.CharRec(0, ChecksumAndSchools) / 1000),
              2);  // the school survives sealing
    fs::remove(path("T-C.DAT"));
  }
}

TEST_F(GameFiles, NamesWithACommaOrALeadingBlankReadBackWhole) {
  // Both can be typed as a quoted answer; written plain, the first would
  // read back to its comma and the second without its blanks.
  RosterTables r = sampleRoster();
  r.CharName(1) = "BO, THE BOLD";
  r.CharName(2) = "  CY";
  r.CharName(3) = "DEE";
  writeFile("T-C.DAT", [&](rt::FileTable& f) { writeRoster(f, 1, r, 4000, 4711); });
  RosterTables loaded;
  ASSERT_EQ(loadRoster(*this, "T-C.DAT", loaded, 4711), RosterVerdict::Sound);
  EXPECT_EQ(loaded.CharName(1), "BO, THE BOLD");
  EXPECT_EQ(loaded.CharName(2), "  CY");
  EXPECT_EQ(loaded.CharName(3), "DEE");
}

TEST_F(GameFiles, RosterChecksRefuseChangedRecordsAndOtherScenarios) {
  RosterTables r = sampleRoster();
  writeFile("T-C.DAT", [&](rt::FileTable& f) { writeRoster(f, 1, r, 4000, 4711); });
  RosterTables loaded;
  EXPECT_EQ(loadRoster(*this, "T-C.DAT", loaded, 4712), RosterVerdict::OtherScenario);

  RosterTables changed = r;
  changed.CharRec(0, HitPoints) += 1;  // one hit point more, without sealing again
  writeFile("A-C.DAT", [&](rt::FileTable& f) { writeRoster(f, 1, changed, 4000, 4711); });
  EXPECT_EQ(loadRoster(*this, "A-C.DAT", loaded, 4711), RosterVerdict::WrongCharacterChecksum);

  RosterTables school = r;
  school.CharRec(0, ChecksumAndSchools) += 1000;  // the thousands digit is outside the checksum
  writeFile("B-C.DAT", [&](rt::FileTable& f) { writeRoster(f, 1, school, 4000, 4711); });
  EXPECT_EQ(loadRoster(*this, "B-C.DAT", loaded, 4711), RosterVerdict::Sound);

  RosterTables shop = r;
  shop.ShopStock(3) = 1;
  writeFile("C-C.DAT", [&](rt::FileTable& f) { writeRoster(f, 1, shop, 4000, 4711); });
  RosterSeal seal;
  readFile("C-C.DAT", [&](rt::FileTable& f) { readRoster(f, 1, loaded, seal); });
  RosterLinks links = unscrambleRoster(loaded, seal);
  links.checksum -= 1;
  EXPECT_EQ(checkRoster(loaded, links, 4711), RosterVerdict::WrongGlobalChecksum);
}

TEST_F(GameFiles, NegativeCharacterChecksumsKeepTheSchoolDigits) {
  RosterTables r;
  r.CharRec(1, AgeDays) = -31999;  // -31999 MOD 4 = -3: a negative sum
  r.CharRec(1, ChecksumAndSchools) = 1000;
  ASSERT_LT(characterChecksum(r, 1), 0);
  EXPECT_EQ(rt::MOD(-31999, 4), -3);
  sealCharacters(r);
  EXPECT_EQ(digit(r.CharRec(1, ChecksumAndSchools), 3), 1);
  writeFile("T-C.DAT", [&](rt::FileTable& f) { writeRoster(f, 1, r, 7000, 1); });
  RosterTables loaded;
  EXPECT_EQ(loadRoster(*this, "T-C.DAT", loaded, 1), RosterVerdict::Sound);
  // A record sealed the older way (the negative remainder kept) still passes.
  RosterTables older;
  older.CharRec(1, AgeDays) = -31999;
  older.CharRec(1, ChecksumAndSchools) =
      static_cast<float>(rt::MOD(characterChecksum(older, 1), 1000));
  writeFile("O-C.DAT", [&](rt::FileTable& f) { writeRoster(f, 1, older, 7000, 1); });
  EXPECT_EQ(loadRoster(*this, "O-C.DAT", loaded, 1), RosterVerdict::Sound);
}

TEST_F(GameFiles, FloorsRoundTripWithTheirTextsAndHexadecimalNames) {
  EXPECT_EQ(floorFileName("A", 1), "A-1F.DAT");
  EXPECT_EQ(floorFileName("A", 10), "A-AF.DAT");
  EXPECT_EQ(floorFileName("A", 15), "A-FF.DAT");
  EXPECT_EQ(floorFileName("A", 16), "A-10F.DAT");

  FloorTables floor;
  floor.FloorMap(0, 0, SquareLayer) = 7;
  floor.FloorMap(19, 0, WestBoundary) = 2;
  floor.FloorMap(3, 19, SouthBoundary) = 1508;
  floor.FloorMap(12, 7, ExtraLayer) = 101;
  floor.FloorHeader(MapRule) = 2;
  floor.FloorText(0) = "the first line";
  floor.FloorText(4) = std::string(40, 'x');
  writeFile("A-AF.DAT", [&](rt::FileTable& f) { writeFloor(f, 1, floor, {1234, 4711, 10}); });

  FloorTables loaded;
  FloorSeal seal;
  Table<float, 5, 29> codes;
  readFile("A-AF.DAT", [&](rt::FileTable& f) {
    readFloor(f, 1, loaded, seal, codes);
    EXPECT_TRUE(f.atEnd(1));
  });
  unscrambleFloor(loaded, seal, codes);
  EXPECT_EQ(seal.seed, 1234.0f);
  EXPECT_EQ(seal.scenarioId, 4711.0f);
  EXPECT_EQ(seal.floorNumber, 10.0f);
  EXPECT_EQ(loaded.FloorMap(0, 0, SquareLayer), 7.0f);
  EXPECT_EQ(loaded.FloorMap(19, 0, WestBoundary), 2.0f);
  EXPECT_EQ(loaded.FloorMap(3, 19, SouthBoundary), 1508.0f);
  EXPECT_EQ(loaded.FloorMap(12, 7, ExtraLayer), 101.0f);
  EXPECT_EQ(loaded.FloorHeader(MapRule), 2.0f);
  EXPECT_EQ(loaded.FloorText(0), "the first line" + std::string(14, ' '));
  EXPECT_EQ(loaded.FloorText(4), std::string(28, 'x'));
}

}  // namespace
}  // namespace kestrun::game
