#include <benchmark/benchmark.h>

#include "frontends/frontends.h"
#include "game/character/sheet.h"
#include "game/character/status_panel.h"
#include "game/state/game.h"
#include "runtime/console.h"
#include "runtime/font.h"
#include "runtime/sjis.h"

namespace {

using namespace kestrun;
using namespace kestrun::rt::literals;

// A full party of six seasoned casters carrying ten items each, on a
// headless console, in the dungeon so that the panel shows its state words.
struct FullParty {
  FullParty() {
    for (int i = 4; i <= 11; ++i) g.Setting(i) = 1;
    g.Setting(3) = 1;
    g.Setting(30) = 6;
    g.Setting(37) = 10;
    g.Setting(44) = 7;
    g.Setting(45) = 7;
    g.Setting(55) = 1;
    g.Setting(70) = 5;
    g.Setting(72) = 1;
    g.GameState(0) = 6;
    g.GameState(9) = 301;
    for (int i = 1; i <= 9; ++i) g.StatusName(i) = "正常"_sj;
    for (int a = 1; a <= 3; ++a) g.AlignmentLetter(a) = "Ｎ"_sj;
    for (int k = 0; k < 15; ++k) g.ClassName(k) = "ロード"_sj;
    for (int s = 1; s <= 80; ++s) {
      g.SpellName(s) = "ファイアボール"_sj;
      g.SpellTable(s, 0) = 501;
      g.SpellTable(s, 1) = static_cast<float>(1 + s % 7);
    }
    for (int item = 0; item <= 120; ++item) {
      g.ItemName(item, 0) = "ロングソード＋１"_sj;
      g.ItemName(item, 1) = "剣"_sj;
      g.ItemTable(item, 0) = 4801;
      g.ItemTable(item, 5) = 51;
      g.ItemTable(item, 13) = 3;
    }
    for (int c = 0; c < 6; ++c) {
      g.GameState(c + 1) = static_cast<float>(c + 1);
      g.CharName(c) = "ADVENTURER" + std::to_string(c);
      g.CharRec(c, 0) = c == 2 ? 1001 : 1;
      g.CharRec(c, 1) = 210;
      g.CharRec(c, 2) = 12;
      g.CharRec(c, 4) = 120;
      g.CharRec(c, 5) = 140;
      for (int f = 10; f <= 13; ++f) g.CharRec(c, f) = 1816;
      for (int slot = 0; slot < 10; ++slot) {
        g.CharRec(c, 14 + slot) = static_cast<float>(11000 + slot * 7 + c);
      }
      for (int f = 24; f <= 39; ++f) g.CharRec(c, f) = 11111;
      g.CharLong(c, 3) = 9999999;
      g.CharLong(c, 5) = 9999999;
    }
    g.SysWord(15) = 15;
    g.SysWord(1) = 0;
  }
  std::unique_ptr<rt::Frontend> frontend = fe::makeHeadlessFrontend();
  rt::Font font;
  rt::Console con{*frontend, font};
  game::Game g{con};
};

void BM_PartyPanel(benchmark::State& state) {
  FullParty party;
  for (auto _ : state) {
    game::HYOJI(party.g);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PartyPanel)->Unit(benchmark::kMicrosecond);

void BM_CharacterSheet(benchmark::State& state) {
  FullParty party;
  for (auto _ : state) {
    game::LOOK(party.g);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CharacterSheet)->Unit(benchmark::kMicrosecond);

}  // namespace
