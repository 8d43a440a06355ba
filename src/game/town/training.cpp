#include "game/town/training.h"

#include <cmath>

#include "game/character/screen_lines.h"
#include "game/character/stat_rules.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "game/town/training_parts.h"
#include "runtime/sjis.h"
#include "runtime/strings.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kNormal = 6;
constexpr int kDimmed = 2;
constexpr int kMaxNameBytes = 12;

bool gameInProgress(const Game& g) {
  for (int x = 0; x < 20; ++x) {
    for (int y = 0; y < 20; ++y) {
      if (g.AutoMap(x, y, 0) > 0) return true;
    }
  }
  return false;
}

struct MenuState {
  bool rosterFull;
  bool rosterEmpty;
  bool canRestart;
};

MenuState menuState(const Game& g) {
  const bool empty = isEmptySlot(g, 0);
  return {!isEmptySlot(g, 19), empty, !empty || gameInProgress(g)};
}

void option(Game& g, int row, bool available, const std::string& text) {
  g.con.COLOR(available ? kNormal : kDimmed);
  g.con.LOCATE(23, row);
  g.con.PRINT(text);
}

void drawMenu(Game& g, const MenuState& state) {
  rt::Console& con = g.con;
  con.CLS();
  con.COLOR(kNormal);
  con.LOCATE(30, 5);
  con.PRINT("どれにしますか ?"_sj);
  option(g, 8, !state.rosterFull, "１　キャラクターを新規に作成する"_sj);
  option(g, 10, !state.rosterEmpty, "２　既成のキャラクターを操作する"_sj);
  option(g, 12, true, "３  レベルアップに必要な経験値を見る"_sj);
  option(g, 14, !state.rosterEmpty, "４　既成のキャラクターをすべて削除する"_sj);
  option(g, 16, state.canRestart, "５　ゲームを最初から新規に始める"_sj);
  option(g, 18, true, "０  街に戻る"_sj);
  con.COLOR(kNormal);
  con.LOCATE(32, 22);
  con.PRINT("Hit 0 - 5 Key");
}

bool isAccepted(int choice, const MenuState& state) {
  if (choice == 2 || choice == 4) return !state.rosterEmpty;
  if (choice == 5) return state.canRestart;
  return true;
}

int chooseOption(Game& g, const MenuState& state) {
  for (;;) {
    const int choice = readKeyNumber(g, 0, 5);
    if (isAccepted(choice, state)) return choice;
  }
}

}  // namespace

int readKeyNumber(Game& g, int low, int high) {
  for (;;) {
    g.KeyAnswer = g.con.waitKey();
    const double value = rt::VAL(g.KeyAnswer);
    if (value >= low && value <= high) return rt::toInt32(value);
  }
}

std::string askFromColumn(Game& g, int column, int row, const std::string& prompt) {
  blankColumns(g, column, row, 80 - column);
  g.con.LOCATE(column, row);
  g.KeyAnswer = g.con.inputString(prompt);
  return g.KeyAnswer;
}

double askNumberFromColumn(Game& g, int column, int row, const std::string& prompt) {
  const std::string answer = askFromColumn(g, column, row, prompt);
  try {
    return rt::VAL(answer);
  } catch (const rt::RuntimeError& error) {
    // A number beyond every range is out of range for any question.
    if (error.code() != rt::err::Overflow) throw;
    return HUGE_VAL;
  }
}

bool askYesNoLine(Game& g, int column, int row, const std::string& prompt) {
  for (;;) {
    const std::string answer = askFromColumn(g, column, row, prompt);
    if (answer == "Y" || answer == "y" || answer == "+") return true;
    if (answer == "N" || answer == "n" || answer == "-") return false;
  }
}

std::string nameFromLine(const std::string& line) {
  size_t end = 0;
  while (end < line.size()) {
    const size_t next = end + rt::charLength(line, end);
    if (next > kMaxNameBytes) break;
    end = next;
  }
  return line.substr(0, end);
}

bool qualifiesForClass(const Game& g, int slot, int cls, StatsChecked stats) {
  for (int s = 1; s <= StatCount; ++s) {
    if (stats == StatsChecked::Used && !isStatUsed(g, s - 1)) continue;
    if (statOf(g, slot, s - 1) < g.ClassTable(cls, FirstMinimumStat + s - 1)) return false;
  }
  const int alignment = alignmentOf(g, slot);
  if (g.Setting(AlignmentsUsed) == 0 || alignment < 1 || alignment > 3) return true;
  return g.ClassTable(cls, FirstAlignmentBar + alignment - 1) != 1;
}

void TRAIN(Game& g) {
  for (;;) {
    const MenuState state = menuState(g);
    drawMenu(g, state);
    switch (chooseOption(g, state)) {
      case 0:
        return;
      case 1:
        createCharacter(g);
        break;
      case 2:
        manageRoster(g);
        break;
      case 3:
        showExperienceTable(g);
        break;
      case 4:
        deleteAllCharacters(g);
        break;
      default:
        startNewGame(g);
        break;
    }
  }
}

}  // namespace kestrun::game
