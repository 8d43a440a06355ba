#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>

#include "commands.h"
#include "frontends/frontends.h"
#include "game/battle/battle_common.h"
#include "game/battle/opening.h"
#include "game/battle/turn.h"
#include "game/dungeon/floor_change.h"
#include "game/state/game.h"
#include "game/state/scenario_load.h"
#include "runtime/keyscript.h"

namespace {

using namespace kestrun;
using namespace kestrun::game;
namespace fs = std::filesystem;

// The bundled scenario with the battle sessions' party (two fighters and a
// priest saved on a battle square of floor 1), compiled into a directory of
// its own and loaded as the title screen loads it; messages do not pause.
// The battle is opened with seed 1 (a lone thief), whose hit points are
// raised so that it stands through every turn, and the whole game is kept
// so that each measured battle starts from the same state and the same
// draws.
struct BattleScene {
  BattleScene() {
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::copy(fs::path(KESTRUN_SOURCE_DIR) / "scenarios/sample", dir / "src",
             fs::copy_options::recursive);
    fs::copy_file(fs::path(KESTRUN_SOURCE_DIR) / "tests/data/battle/roster.toml",
                  dir / "src/roster.toml");
    std::ostringstream out;
    std::ostringstream err;
    if (forge::buildCommand(dir / "src", dir / "game", true, out, err) != 0) {
      throw std::runtime_error("the sample scenario does not build: " + err.str());
    }
    fs::current_path(dir / "game");
    con.setScript(rt::parseKeyScript("1{Enter}"));
    if (!LoadScenario(g)) throw std::runtime_error("the sample scenario does not load");
    g.SysWord(MessageTime) = 0;
    g.CurrentFloor = 1;
    g.SysWord(ActingSlot) = 1000;
    loadFloor(g);
    g.SysWord(ActingSlot) = 1;
    g.con.random().RANDOMIZE(1);
    g.SysWord(EncounterSource) = 3;
    openBattle(g);
    for (int group = 0; group < kGroupPlaces; ++group) {
      for (int place = 0; place < kMonsterPlaces; ++place) {
        if (!isMonsterAlive(g, group, place)) continue;
        g.BattleMonsters(group, place, MonsterMaxHitPoints) = 100000;
        g.BattleMonsters(group, place, MonsterHitPoints) = 100000;
      }
    }
    saved = std::make_unique<Saved>(g);
  }
  ~BattleScene() {
    fs::current_path(previous);
    fs::remove_all(dir);
  }

  // Everything a battle changes: the roster, the battle's tables, the
  // control words and the generator.
  struct Saved {
    explicit Saved(Game& g)
        : roster(g),
          party(g.BattleParty),
          monsters(g.BattleMonsters),
          groupMonster(g.GroupMonster),
          groupCount(g.GroupCount),
          groupUnknown(g.GroupUnknown),
          groupKills(g.GroupKills),
          groupAim(g.GroupAim),
          groupSlots(g.GroupSlots),
          initiative(g.Initiative),
          agility(g.MonsterAgility),
          order(g.BattleOrder),
          words(g.Battle),
          sys(g.SysWord),
          random(g.con.random()) {}
    void restore(Game& g) const {
      static_cast<RosterTables&>(g) = roster;
      g.BattleParty = party;
      g.BattleMonsters = monsters;
      g.GroupMonster = groupMonster;
      g.GroupCount = groupCount;
      g.GroupUnknown = groupUnknown;
      g.GroupKills = groupKills;
      g.GroupAim = groupAim;
      g.GroupSlots = groupSlots;
      g.Initiative = initiative;
      g.MonsterAgility = agility;
      g.BattleOrder = order;
      g.Battle = words;
      g.SysWord = sys;
      g.con.random() = random;
    }
    RosterTables roster;
    decltype(Game::BattleParty) party;
    decltype(Game::BattleMonsters) monsters;
    decltype(Game::GroupMonster) groupMonster;
    decltype(Game::GroupCount) groupCount;
    decltype(Game::GroupUnknown) groupUnknown;
    decltype(Game::GroupKills) groupKills;
    decltype(Game::GroupAim) groupAim;
    decltype(Game::GroupSlots) groupSlots;
    decltype(Game::Initiative) initiative;
    decltype(Game::MonsterAgility) agility;
    decltype(Game::BattleOrder) order;
    Game::BattleWords words;
    decltype(Game::SysWord) sys;
    rt::Random random;
  };

  // The three members' commands for one turn: each fights the lone group,
  // and the party confirms.
  static constexpr const char* kTurnKeys = "111y";

  fs::path previous = fs::current_path();
  fs::path dir = fs::temp_directory_path() / "kestrun-bench-battle";
  std::unique_ptr<rt::Frontend> frontend = fe::makeHeadlessFrontend();
  rt::Font font;
  rt::Console con{*frontend, font};
  Game g{con};
  std::unique_ptr<Saved> saved;
};

// One whole turn after the opening: the commands typed, everybody's
// initiative, the monsters' choices, every action with its messages and the
// end of the turn.
void BM_BattleTurn(benchmark::State& state) {
  BattleScene scene;
  Game& g = scene.g;
  for (auto _ : state) {
    state.PauseTiming();
    scene.saved->restore(g);
    g.con.setScript(rt::parseKeyScript(BattleScene::kTurnKeys));
    state.ResumeTiming();
    benchmark::DoNotOptimize(playTurn(g, true));
  }
}
BENCHMARK(BM_BattleTurn)->Unit(benchmark::kMicrosecond);

// A battle of ten turns from its first command, the keys of all ten typed
// ahead; it stops early only if the battle ends.
void BM_TenTurnBattle(benchmark::State& state) {
  BattleScene scene;
  Game& g = scene.g;
  std::string keys;
  for (int turn = 0; turn < 10; ++turn) keys += BattleScene::kTurnKeys;
  int turnsPlayed = 0;
  for (auto _ : state) {
    state.PauseTiming();
    scene.saved->restore(g);
    g.con.setScript(rt::parseKeyScript(keys));
    state.ResumeTiming();
    turnsPlayed = 0;
    for (bool first = true; turnsPlayed < 10; first = false) {
      ++turnsPlayed;
      if (playTurn(g, first)) break;
    }
  }
  state.counters["turns"] = turnsPlayed;
}
BENCHMARK(BM_TenTurnBattle)->Unit(benchmark::kMillisecond);

}  // namespace
