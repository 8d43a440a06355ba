#include "app/roster_place.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "game/state/roster_file.h"

namespace kestrun::app {
namespace {

namespace fs = std::filesystem;

constexpr fs::perms kReadOnlyFolder = fs::perms::owner_read | fs::perms::owner_exec |
                                      fs::perms::group_read | fs::perms::group_exec |
                                      fs::perms::others_read | fs::perms::others_exec;

// Each test has a folder of its own with a scenario folder "games/sample"
// holding a roster, and a user whose data home lies inside it.
class RosterPlaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> counter{0};
    root_ = fs::temp_directory_path() /
            ("kestrun-place-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    scenario_ = root_ / "games" / "sample";
    fs::create_directories(scenario_);
    write(scenario_ / "1-C.DAT", "installed roster");
    write(scenario_ / "1-S.DAT", "rules");
    user_ = {(root_ / "data").string(), (root_ / "home").string()};
  }
  void TearDown() override {
    std::error_code ignored;
    for (const auto& entry : fs::recursive_directory_iterator(root_, ignored)) {
      if (entry.is_directory()) fs::permissions(entry.path(), fs::perms::owner_all, ignored);
    }
    fs::remove_all(root_, ignored);
  }

  static void write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  // A read-only scenario folder named `name` under `parent`.
  fs::path readOnlyScenario(const fs::path& parent, const std::string& name) const {
    const fs::path folder = root_ / parent / name;
    fs::create_directories(folder);
    write(folder / "1-C.DAT", "other roster");
    fs::permissions(folder, kReadOnlyFolder);
    return folder;
  }
  fs::path saves() const { return root_ / "data" / "kestrun"; }

  fs::path root_;
  fs::path scenario_;
  UserFolders user_;
};

using RosterPlaceChoice = RosterPlaceTest;
using RosterPlaceDataHome = RosterPlaceTest;
using RosterPlaceNames = RosterPlaceTest;
using RosterPlacePreparing = RosterPlaceTest;
using RosterPlaceFiles = RosterPlaceTest;

TEST_F(RosterPlaceChoice, WritableFolderKeepsItsRoster) {
  const RosterPlace place = findRosterPlace(scenario_, user_);
  EXPECT_FALSE(place.elsewhere);
  EXPECT_TRUE(place.problem.empty());
  EXPECT_EQ(place.folder, fs::canonical(scenario_));
  EXPECT_TRUE(prepareRosterPlace(place).empty());
  EXPECT_FALSE(fs::exists(saves()));
}

// Also for users the system lets write everywhere: the tests may run as root.
TEST_F(RosterPlaceChoice, FolderWithoutWritePermissionSendsRosterToDataHome) {
  fs::permissions(scenario_, kReadOnlyFolder);
  EXPECT_FALSE(userCanWrite(scenario_));
  const RosterPlace place = findRosterPlace(scenario_, user_);
  EXPECT_TRUE(place.elsewhere);
  EXPECT_EQ(place.folder, saves() / "sample");
}

TEST_F(RosterPlaceChoice, InstalledFolderSendsRosterToDataHomeThoughWritable) {
  write(scenario_ / kInstalledMark, "");
  EXPECT_TRUE(userCanWrite(scenario_));
  EXPECT_EQ(findRosterPlace(scenario_, user_).folder, saves() / "sample");
}

TEST_F(RosterPlaceChoice, RelativeScenarioFolderIsTakenAsAbsolute) {
  fs::permissions(scenario_, kReadOnlyFolder);
  const fs::path started = fs::current_path();
  fs::current_path(scenario_);
  const RosterPlace place = findRosterPlace(".", user_);
  fs::current_path(started);
  EXPECT_EQ(place.scenarioFolder, fs::canonical(scenario_));
  EXPECT_EQ(place.folder, saves() / "sample");
}

TEST_F(RosterPlaceDataHome, XdgDataHomeThenHomeThenNothing) {
  fs::permissions(scenario_, kReadOnlyFolder);
  EXPECT_EQ(findRosterPlace(scenario_, user_).folder, saves() / "sample");
  const fs::path underHome = root_ / "home" / ".local" / "share" / "kestrun" / "sample";
  EXPECT_EQ(findRosterPlace(scenario_, {"", user_.home}).folder, underHome);
  EXPECT_EQ(findRosterPlace(scenario_, {"relative/data", user_.home}).folder, underHome);

  for (const UserFolders& nowhere : {UserFolders{}, UserFolders{"data", "home"}}) {
    const RosterPlace place = findRosterPlace(scenario_, nowhere);
    EXPECT_FALSE(place.elsewhere);
    EXPECT_NE(place.problem.find("HOME"), std::string::npos);
    EXPECT_EQ(prepareRosterPlace(place), place.problem);
  }
}

TEST_F(RosterPlaceNames, FoldersOfTheSameNameGetSaveFoldersOfTheirOwn) {
  fs::permissions(scenario_, kReadOnlyFolder);
  const RosterPlace first = findRosterPlace(scenario_, user_);
  ASSERT_TRUE(prepareRosterPlace(first).empty());
  const fs::path other = readOnlyScenario("elsewhere", "sample");
  const RosterPlace second = findRosterPlace(other, user_);
  ASSERT_TRUE(prepareRosterPlace(second).empty());

  EXPECT_NE(second.folder, first.folder);
  EXPECT_EQ(second.folder.parent_path(), saves());
  EXPECT_TRUE(second.folder.filename().string().starts_with("sample-"));
  EXPECT_EQ(read(second.folder / "1-C.DAT"), "other roster");
  EXPECT_EQ(read(first.folder / "1-C.DAT"), "installed roster");
  // The choice is stable from one start to the next.
  EXPECT_EQ(findRosterPlace(scenario_, user_).folder, first.folder);
  EXPECT_EQ(findRosterPlace(other, user_).folder, second.folder);
}

TEST_F(RosterPlaceNames, FolderThatIsNotASaveFolderIsLeftAlone) {
  fs::permissions(scenario_, kReadOnlyFolder);
  fs::create_directories(saves() / "sample");
  write(saves() / "sample" / "notes", "mine");
  const RosterPlace place = findRosterPlace(scenario_, user_);
  EXPECT_NE(place.folder, saves() / "sample");
  EXPECT_TRUE(prepareRosterPlace(place).empty());
  EXPECT_FALSE(fs::exists(saves() / "sample" / "1-C.DAT"));
}

// A scenario folder installed elsewhere since finds its characters again.
TEST_F(RosterPlaceNames, SaveFolderOfAFolderThatIsGoneIsTakenOver) {
  const fs::path gone = readOnlyScenario("old", "sample");
  const RosterPlace old = findRosterPlace(gone, user_);
  ASSERT_TRUE(prepareRosterPlace(old).empty());
  write(old.folder / "1-C.DAT", "characters");
  fs::permissions(gone, fs::perms::owner_all);
  fs::remove_all(gone);

  fs::permissions(scenario_, kReadOnlyFolder);
  const RosterPlace moved = findRosterPlace(scenario_, user_);
  EXPECT_EQ(moved.folder, old.folder);
  ASSERT_TRUE(prepareRosterPlace(moved).empty());
  EXPECT_EQ(read(moved.folder / "1-C.DAT"), "characters");
  EXPECT_EQ(read(moved.folder / kOwnerMark), fs::canonical(scenario_).string() + "\n");
}

TEST_F(RosterPlacePreparing, CopiesEachRosterOnceAndNothingElse) {
  write(scenario_ / "2-C.DAT", "second roster");
  write(scenario_ / "1-C.DAT.NEW", "an interrupted save");
  fs::permissions(scenario_, kReadOnlyFolder);
  const RosterPlace place = findRosterPlace(scenario_, user_);
  ASSERT_EQ(prepareRosterPlace(place), "");

  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(place.folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"1-C.DAT", "2-C.DAT", kOwnerMark}));
  EXPECT_EQ(read(place.folder / "2-C.DAT"), "second roster");

  write(place.folder / "1-C.DAT", "saved characters");
  ASSERT_EQ(prepareRosterPlace(place), "");
  EXPECT_EQ(read(place.folder / "1-C.DAT"), "saved characters");
  EXPECT_EQ(read(scenario_ / "1-C.DAT"), "installed roster");
}

TEST_F(RosterPlacePreparing, FailureNamesTheFolder) {
  fs::permissions(scenario_, kReadOnlyFolder);
  write(root_ / "file", "");
  const RosterPlace place = findRosterPlace(scenario_, {(root_ / "file").string(), ""});
  const std::string problem = prepareRosterPlace(place);
  EXPECT_NE(problem.find((root_ / "file" / "kestrun" / "sample").string()), std::string::npos);
  EXPECT_EQ(problem.find('\n'), std::string::npos);
}

TEST_F(RosterPlaceFiles, RosterFilesAreSentToThePlace) {
  fs::permissions(scenario_, kReadOnlyFolder);
  const RosterPlace place = findRosterPlace(scenario_, user_);
  ASSERT_EQ(prepareRosterPlace(place), "");
  rt::FileTable files;
  placeRosters(files, place);
  const fs::path started = fs::current_path();
  fs::current_path(scenario_);
  files.OPEN("1-C.DAT", rt::FileMode::Input, rt::FileAccess::Read, 1);
  EXPECT_EQ(files.lineInput(1), "installed roster");
  files.OPEN("1-S.DAT", rt::FileMode::Input, rt::FileAccess::Read, 2);
  EXPECT_EQ(files.lineInput(2), "rules");
  files.closeAll();
  files.OPEN(game::rosterTempName("1"), rt::FileMode::Output, rt::FileAccess::Write, 3);
  files.PRINT(3, std::string("saved"));
  files.closeAll();
  files.replaceFile(game::rosterTempName("1"), game::rosterFileName("1"));
  fs::current_path(started);
  EXPECT_EQ(read(place.folder / "1-C.DAT"), "saved\r\n");
  EXPECT_EQ(read(scenario_ / "1-C.DAT"), "installed roster");
}

TEST(RosterNames, TheGameWritesOnlyRosters) {
  for (const char* name : {"1-C.DAT", "Z-C.DAT", "-C.DAT", "1-C.DAT.NEW"}) {
    EXPECT_TRUE(game::isRosterFile(name)) << name;
  }
  for (const char* name :
       {"1-S.DAT", "12-C.DAT", "1-C.DAT.OLD", "1-1F.DAT", "1C.DAT", "x/1-C.DAT"}) {
    EXPECT_FALSE(game::isRosterFile(name)) << name;
  }
  EXPECT_TRUE(game::isSavedRoster("1-C.DAT"));
  EXPECT_FALSE(game::isSavedRoster("1-C.DAT.NEW"));
}

}  // namespace
}  // namespace kestrun::app
