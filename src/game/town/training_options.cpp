#include "game/character/levels.h"
#include "game/character/screen_lines.h"
#include "game/state/game.h"
#include "game/state/packed.h"
#include "game/town/training_parts.h"
#include "runtime/sjis.h"
#include "runtime/strings.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kNormal = 6;
constexpr int kHeading = 7;
constexpr int kInvisible = 0;
// The row the delete-all and new-game questions are asked on.
constexpr int kQuestionRow = 20;

void showClassColumn(Game& g, int cls) {
  rt::Console& con = g.con;
  const bool defined = isClassDefined(g, cls);
  const int column = (cls % 8) * 9;
  con.COLOR(defined ? kHeading : kInvisible);
  con.LOCATE(column + 9, 0);
  con.PRINT(rt::LEFT(g.ClassName(cls), 8));
  con.COLOR(defined ? kNormal : kInvisible);
  for (int level = 2; level <= 20; ++level) {
    con.LOCATE(column + 6, level);
    con.PRINT_USING("#########", {experienceTableValue(g, cls, level)});
  }
}

void showExperiencePage(Game& g, int firstClass, int lastClass) {
  rt::Console& con = g.con;
  con.CLS();
  con.COLOR(kHeading);
  con.LOCATE(0, 0);
  con.PRINT("LEVEL");
  for (int level = 2; level <= 20; ++level) {
    con.LOCATE(0, level);
    con.PRINT(static_cast<float>(level));
  }
  for (int cls = firstClass; cls <= lastClass; ++cls) showClassColumn(g, cls);
  con.COLOR(kNormal);
  con.LOCATE(29, 22);
  con.PRINT("Hit Any Key");
  g.KeyAnswer = con.waitKey();
}

bool confirm(Game& g, const std::string& question) {
  g.con.COLOR(kNormal);
  return askYesNoLine(g, 19, kQuestionRow, question);
}

}  // namespace

void resetCharacterRecord(Game& g, int slot) {
  const bool floorFlag = g.CharRec(slot, FloorFlags) > 9999;
  for (int f = 0; f < CharRecFields; ++f) g.CharRec(slot, f) = 0;
  if (floorFlag) g.CharRec(slot, FloorFlags) = 10000;
  g.CharRec(slot, AgeDays) = -32000;
  for (int f = 0; f < CharLongFields; ++f) g.CharLong(slot, f) = 0;
}

void showExperienceTable(Game& g) {
  showExperiencePage(g, 0, 7);
  showExperiencePage(g, 8, 14);
}

void deleteAllCharacters(Game& g) {
  if (!confirm(g, "本当に全員削除してよろしいですか ?  "_sj)) return;
  for (int c = 0; c < kRosterSlots; ++c) {
    g.CharName(c).clear();
    resetCharacterRecord(g, c);
  }
  for (int n = 0; n < 19; ++n) g.GameState(n) = 0;
}

void startNewGame(Game& g) {
  if (!confirm(g, "本当にすべて更新してよろしいですか ?  "_sj)) return;
  for (int x = 0; x < 20; ++x) {
    for (int y = 0; y < 20; ++y) {
      for (int k = 0; k < 3; ++k) g.AutoMap(x, y, k) = 0;
    }
  }
  // Only the per-floor dungeon flags go; the stats sharing the field stay.
  for (int c = 0; c < kRosterSlots; ++c) {
    g.CharRec(c, FloorFlags) = static_cast<float>(rt::MOD(g.CharRec(c, FloorFlags), 10000));
  }
  for (int i = 1; i <= 120; ++i) g.ShopStock(i) = g.InitialStock(i);
}

}  // namespace kestrun::game
