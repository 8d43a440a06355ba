// The pieces of the browser's front end that are plain C++: the on-screen
// pad's model, the browser's key names, and the check of a roster file the
// player loads into the page.
#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "app/roster_check.h"
#include "frontends/keys.h"
#include "frontends/pad/pad.h"
#include "game/state/roster_file.h"
#include "game/state/scenario_file.h"
#include "game_fixture.h"
#include "runtime/keyboard.h"

namespace kestrun {
namespace {

namespace pad = fe::pad;

std::vector<pad::Cell> everyControl(const pad::Layout& layout) {
  std::vector<pad::Cell> cells;
  for (const pad::Button& b : layout.buttons) cells.push_back(b.cell);
  cells.push_back(layout.field.cell);
  cells.push_back(layout.field.submit.cell);
  return cells;
}

TEST(OnScreenPad, EveryControlHasItsOwnPlaceOnTheGrid) {
  const pad::Layout& layout = pad::layout();
  std::set<std::pair<int, int>> taken;
  for (const pad::Cell& cell : everyControl(layout)) {
    ASSERT_GE(cell.row, 0);
    ASSERT_LT(cell.row, layout.rows);
    ASSERT_GE(cell.column, 0);
    ASSERT_GE(cell.width, 1);
    ASSERT_LE(cell.column + cell.width, layout.columns);
    for (int c = cell.column; c < cell.column + cell.width; ++c) {
      EXPECT_TRUE(taken.insert({cell.row, c}).second) << "row " << cell.row << " column " << c;
    }
  }
}

TEST(OnScreenPad, TypesTheKeysTheMenusAskFor) {
  std::set<uint8_t> codes;
  for (const pad::Button& b : pad::layout().buttons) {
    EXPECT_TRUE(codes.insert(b.code).second) << "two buttons type " << int(b.code);
  }
  const std::set<uint8_t> wanted{'0',
                                 '1',
                                 '2',
                                 '3',
                                 '4',
                                 '5',
                                 '6',
                                 '7',
                                 '8',
                                 '9',
                                 'Y',
                                 'N',
                                 rt::key::Enter,
                                 rt::key::Escape,
                                 rt::key::Up,
                                 rt::key::Down,
                                 rt::key::Left,
                                 rt::key::Right};
  EXPECT_EQ(codes, wanted);
  EXPECT_EQ(pad::layout().field.submit.code, rt::key::Enter);
}

TEST(OnScreenPad, JsonCarriesEveryButtonAndEscapesLabels) {
  const std::string json = pad::toJson(pad::layout());
  EXPECT_NE(json.find(R"({"label":"Enter","code":13,"row":1,"column":5,"width":1})"),
            std::string::npos)
      << json;
  EXPECT_NE(json.find(R"("label":"↑","code":30)"), std::string::npos);
  EXPECT_NE(json.find(R"("submit":{"label":"OK","code":13,"row":3,"column":4,"width":2})"),
            std::string::npos);

  const pad::Button odd[] = {{"say \"hi\" \\", 'H', {0, 0}}};
  const pad::Layout layout{1, 1, odd, {{0, 0, 1}, "", {"", 13, {0, 0}}}};
  EXPECT_NE(pad::toJson(layout).find(R"("label":"say \"hi\" \\")"), std::string::npos);
}

TEST(BrowserKeys, MapAsTheWindowMapsItsKeys) {
  using fe::consoleKeyCode;
  using fe::specialKeyOfBrowserName;
  const auto code = [](std::string_view name, bool shift = false) -> int {
    const auto key = specialKeyOfBrowserName(name);
    return key ? consoleKeyCode(*key, shift) : -1;
  };
  EXPECT_EQ(code("ArrowRight"), rt::key::Right);
  EXPECT_EQ(code("ArrowLeft"), rt::key::Left);
  EXPECT_EQ(code("ArrowUp"), rt::key::Up);
  EXPECT_EQ(code("ArrowDown"), rt::key::Down);
  EXPECT_EQ(code("Enter"), rt::key::Enter);
  EXPECT_EQ(code("Escape"), rt::key::Escape);
  EXPECT_EQ(code("Esc"), rt::key::Escape);
  EXPECT_EQ(code("Home"), rt::key::Home);
  EXPECT_EQ(code("Home", true), rt::key::ShiftHome);
  EXPECT_EQ(code("Clear"), rt::key::ShiftHome);
  EXPECT_EQ(code("Insert"), rt::key::Insert);
  EXPECT_EQ(code("Delete"), rt::key::Delete);
  EXPECT_EQ(code("Backspace"), rt::key::Backspace);
  // Characters come as text; keys the console lacks give nothing.
  for (const char* name : {"a", "1", "F1", "Shift", "Tab", "PageUp", ""}) {
    EXPECT_EQ(code(name), -1) << name;
  }
}

// A scenario file "T-S.DAT" with the identity `id`, and a roster for `rosterId`.
void writeScenarioAndRoster(float id, float rosterId) {
  std::filesystem::remove("T-S.DAT");
  std::filesystem::remove("T-C.DAT");
  auto scenario = std::make_unique<game::ScenarioTables>();
  scenario->ScenarioId(0) = id;
  rt::FileTable files;
  files.OPEN("T-S.DAT", rt::FileMode::Output, rt::FileAccess::Write, 1);
  game::writeScenario(files, 1, *scenario);
  files.closeAll();
  auto roster = std::make_unique<game::RosterTables>();
  roster->CharName(0) = "MIRA";
  roster->CharRec(0, game::Status) = 1;
  game::sealCharacters(*roster);
  files.OPEN("T-C.DAT", rt::FileMode::Output, rt::FileAccess::Write, 1);
  game::writeRoster(files, 1, *roster, 4321, rosterId);
  files.closeAll();
}

TEST(LoadedRoster, IsTakenOnlyWhenTheGameWouldTakeIt) {
  game::GameFixture t;
  writeScenarioAndRoster(55, 55);
  EXPECT_EQ(app::rosterProblem("T-S.DAT", "T-C.DAT"), "");

  EXPECT_EQ(app::rosterProblem("T-S.DAT", "nothing.DAT"), "there is no roster file");
  EXPECT_EQ(app::rosterProblem("X-S.DAT", "T-C.DAT"), "there is no scenario file");
  EXPECT_EQ(app::rosterProblem("T-S.DAT", "T-S.DAT").rfind("the roster file cannot be read", 0),
            0u);
  std::ofstream("short.DAT") << " 1 \r\n";
  EXPECT_EQ(app::rosterProblem("T-S.DAT", "short.DAT"),
            "the roster file cannot be read (error 54)");

  writeScenarioAndRoster(55, 56);
  EXPECT_EQ(app::rosterProblem("T-S.DAT", "T-C.DAT"),
            "the roster is refused: it belongs to another scenario");
}

}  // namespace
}  // namespace kestrun
