#include <benchmark/benchmark.h>

#include <filesystem>

#include "frontends/frontends.h"
#include "game/state/game.h"
#include "game/state/roster_file.h"
#include "game/state/roster_write.h"
#include "game/state/scenario_file.h"
#include "game/state/scenario_load.h"

namespace {

using namespace kestrun;

// A scenario and a roster with every number in use, in a directory of their
// own, and a game ready to load them.
struct LoadedDirectory {
  LoadedDirectory() {
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    game::ScenarioTables s;
    for (float& v : s.ClassTable.raw()) v = 12345;
    for (float& v : s.ItemTable.raw()) v = 2345;
    for (float& v : s.MonsterTable.raw()) v = 345;
    for (float& v : s.Setting.raw()) v = 45;
    for (auto& name : s.ItemName.raw()) name = "LONGSWORD+1";
    game::RosterTables r;
    for (float& v : r.CharRec.raw()) v = 1001;
    for (float& v : r.AutoMap.raw()) v = 11111;
    for (int c = 0; c < 20; ++c) r.CharName(c) = "NAME" + std::to_string(c);
    game::sealCharacters(r);
    rt::FileTable files;
    std::filesystem::remove("B-S.DAT");
    std::filesystem::remove("B-C.DAT");
    files.OPEN("B-S.DAT", rt::FileMode::Output, rt::FileAccess::Write, 1);
    game::writeScenario(files, 1, s);
    files.closeAll();
    files.OPEN("B-C.DAT", rt::FileMode::Output, rt::FileAccess::Write, 1);
    game::writeRoster(files, 1, r, 5000, s.ScenarioId(0));
    files.closeAll();
  }
  ~LoadedDirectory() {
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(dir);
  }
  std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::path dir = std::filesystem::temp_directory_path() / "kestrun-bench-files";
};

void BM_LoadScenarioAndRoster(benchmark::State& state) {
  LoadedDirectory files;
  auto frontend = fe::makeHeadlessFrontend();
  rt::Font font;
  rt::Console con(*frontend, font);
  game::Game g(con);
  for (auto _ : state) {
    con.setScript({'B', 13});
    const bool loaded = game::LoadScenario(g);
    benchmark::DoNotOptimize(loaded);
  }
}
BENCHMARK(BM_LoadScenarioAndRoster)->Unit(benchmark::kMillisecond);

void BM_WriteRoster(benchmark::State& state) {
  LoadedDirectory files;
  auto frontend = fe::makeHeadlessFrontend();
  rt::Font font;
  rt::Console con(*frontend, font);
  game::Game g(con);
  con.setScript({'B', 13});
  game::LoadScenario(g);
  for (auto _ : state) game::CHWRT(g);
}
BENCHMARK(BM_WriteRoster)->Unit(benchmark::kMillisecond);

}  // namespace
