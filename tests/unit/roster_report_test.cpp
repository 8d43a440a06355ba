#include "roster_report.h"

#include <gtest/gtest.h>

#include <sstream>

#include "game/state/fields.h"
#include "test_support.h"

namespace kestrun::forge {
namespace {

std::string reportOf(const LoadedRoster& roster) {
  std::ostringstream out;
  printRosterReport(game::ScenarioTables{}, roster, out);
  return out.str();
}

TEST(RosterReport, SaysWhereThePartyIs) {
  LoadedRoster roster;
  roster.tables.GameState(game::FloorAndFacing) = 201;
  roster.tables.GameState(game::Square) = 304;
  EXPECT_NE(reportOf(roster).find("on floor 2 at (3, 4) facing east"), std::string::npos);
}

// A damaged roster can hold any single-precision number where the report
// expects whole numbers; it is refused with error 6, never turned into
// garbage.
TEST(RosterReport, NumbersBeyondWholeRangeAreError6) {
  for (const int field : {game::MemberCount, game::FloorAndFacing, game::Square}) {
    LoadedRoster roster;
    roster.tables.GameState(game::FloorAndFacing) = 201;
    roster.tables.GameState(field) = 1e30f;
    EXPECT_EQ(rt::errorCodeOf([&] { reportOf(roster); }), rt::err::Overflow) << field;
  }
  LoadedRoster member;
  member.tables.GameState(game::MemberCount) = 1;
  member.tables.GameState(1) = -3e9f;
  EXPECT_EQ(rt::errorCodeOf([&] { reportOf(member); }), rt::err::Overflow);
}

}  // namespace
}  // namespace kestrun::forge
