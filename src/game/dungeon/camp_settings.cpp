#include <optional>

#include "game/character/message_timing.h"
#include "game/character/screen_lines.h"
#include "game/dungeon/camp_parts.h"
#include "game/state/fields.h"
#include "game/state/game.h"
#include "game/town/program_end.h"
#include "runtime/sjis.h"

namespace kestrun::game {

using namespace rt::literals;

namespace {

constexpr int kLargestPictureCount = 4;

int highestOption(const Game& g) {
  return 3 + (g.Setting(MonsterPictures) == 1 ? 1 : 0);
}

void showSettingsMenu(Game& g) {
  blankLines(g, 16, 23);
  printAt(g, 27, 18, "どれを変更しますか ?"_sj);
  printAt(g, 9, 21, "1 メッセージ表示時間             2 画面表示モード"_sj);
  printAt(g, 9, 22, "3 アイテムを捨てるときの確認"_sj);
  if (g.Setting(MonsterPictures) == 1) printAt(g, 42, 22, "4 モンスターグラフィック表示"_sj);
  printAt(g, 23, 23, "Hit 0 -");
  g.con.PRINT(static_cast<int16_t>(highestOption(g)));
  g.con.PRINT("Key     (0 MENU に戻る)"_sj);
}

// A digit key from `lowest` to `highest`; other keys are ignored.
int keyBetween(Game& g, int lowest, int highest) {
  for (;;) {
    const std::optional<int> key = digitKey(g.con.waitKey(), highest);
    if (key && *key >= lowest) return *key;
  }
}

void chooseDisplayMode(Game& g) {
  printAt(g, 24, 19, "画面表示モードはどれにしますか ?"_sj);
  printAt(g, 26, 20, "1 重ね合わせ表示"_sj);
  printAt(g, 26, 21, "2 パーティの状態を優先して表示"_sj);
  printAt(g, 26, 22, "3 迷宮のグラフィックを優先して表示"_sj);
  printAt(g, 24, 23, "Hit 1 - 3 Key    (現在は"_sj);
  g.con.PRINT(rt::toSingle(g.SysWord(DisplayMode) + 1));
  g.con.PRINT(")");
  g.SysWord(DisplayMode) = static_cast<float>(keyBetween(g, 1, 3) - 1);
}

void chooseDiscardQuestion(Game& g) {
  printAt(g, 19, 21, "アイテムを捨てるときに確認をしますか ?"_sj);
  printAt(g, 29, 23, "Hit Y - N Key");
  YesNoKey(g);
  g.SysWord(DiscardWithoutAsking) = g.KeyAnswer == "N" ? 1 : 0;
}

void choosePictureCount(Game& g) {
  printAt(g, 19, 21, "何番目までのモンスターのグラフィックを表示しますか ?"_sj);
  printAt(g, 25, 23, "Hit 0 - 4 Key    (表示しない時は 0)"_sj);
  g.SysWord(PictureGroups) = static_cast<float>(keyBetween(g, 0, kLargestPictureCount));
}

}  // namespace

void changeSettings(Game& g) {
  for (;;) {
    showSettingsMenu(g);
    const int option = keyBetween(g, 0, highestOption(g));
    if (option == 0) return;
    blankLines(g, 18, 23);
    switch (option) {
      case 1:
        TWC(g);
        break;
      case 2:
        chooseDisplayMode(g);
        break;
      case 3:
        chooseDiscardQuestion(g);
        break;
      default:
        choosePictureCount(g);
        break;
    }
  }
}

}  // namespace kestrun::game
