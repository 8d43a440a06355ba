#include "game/state/roster_write.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <fstream>

#include "game/state/roster_file.h"
#include "game_fixture.h"
#include "test_support.h"

namespace kestrun::game {
namespace {

std::string readAll(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

RosterVerdict loadSaved(RosterTables& saved, float id) {
  rt::FileTable files;
  RosterSeal seal;
  files.OPEN("T-C.DAT", rt::FileMode::Input, rt::FileAccess::Read, 1);
  readRoster(files, 1, saved, seal);
  return checkRoster(saved, unscrambleRoster(saved, seal), id);
}

void prepare(Game& g) {
  g.ScenarioLetter = "T";
  g.ScenarioId(0) = 55;
  g.CharName(0) = "MIRA";
  g.CharRec(0, Status) = 1;
  g.CharRec(0, AgeDays) = -29000;
  g.SysWord(MessageTime) = 1234;
}

TEST(RosterWriter, SavesASealedRosterAndReplacesALeftoverFile) {
  GameFixture t;
  prepare(t.g);
  std::ofstream("T-C.DAT.NEW") << "left from an interrupted save";
  CHWRT(t.g);
  EXPECT_FALSE(std::filesystem::exists("T-C.DAT.NEW"));
  RosterTables saved;
  ASSERT_EQ(loadSaved(saved, 55), RosterVerdict::Sound);
  EXPECT_EQ(saved.CharName(0), "MIRA");
  EXPECT_EQ(saved.ShopStock(0), 1234.0f);  // the message time travels in the shop stock

  // Every save uses a fresh key, so the bytes differ but the roster does not.
  const std::string first = readAll("T-C.DAT");
  CHWRT(t.g);
  EXPECT_NE(readAll("T-C.DAT"), first);
  ASSERT_EQ(loadSaved(saved, 55), RosterVerdict::Sound);
  EXPECT_EQ(saved.CharRec(0, AgeDays), -29000.0f);
}

TEST(RosterWriter, TheKeyIsDrawnInDoublePrecision) {
  // RND = 61117 / 2^23: RND x 7000 is 50.999999..., which a single would
  // round up to 51.
  GameFixture t;
  prepare(t.g);
  rt::makeNextFraction(t.con.random(), 61117);
  CHWRT(t.g);
  rt::FileTable files;
  RosterTables saved;
  RosterSeal seal;
  files.OPEN("T-C.DAT", rt::FileMode::Input, rt::FileAccess::Read, 1);
  readRoster(files, 1, saved, seal);
  EXPECT_EQ(seal.key, 3050);
}

TEST(RosterWriter, AFailedWriteLeavesTheOldRosterLoadable) {
  GameFixture t;
  prepare(t.g);
  CHWRT(t.g);
  const std::string before = readAll("T-C.DAT");

  t.g.CharName(0) = "CHANGED";
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit tiny = saved;
  tiny.rlim_cur = 512;  // the disk is "full" after half a kilobyte
  auto* previous = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
  int exitCode = -1;
  try {
    CHWRT(t.g);
  } catch (const rt::ProgramEnd& end) {
    exitCode = end.exitCode;
  }
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);

  EXPECT_EQ(exitCode, 1);  // the failure is shown, not hidden
  EXPECT_EQ(readAll("T-C.DAT"), before);
  EXPECT_FALSE(std::filesystem::exists("T-C.DAT.NEW"));
  RosterTables old;
  ASSERT_EQ(loadSaved(old, 55), RosterVerdict::Sound);
  EXPECT_EQ(old.CharName(0), "MIRA");
}

}  // namespace
}  // namespace kestrun::game
