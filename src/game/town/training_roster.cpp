#include <optional>
#include <utility>

#include "game/character/party_members.h"
#include "game/character/screen_lines.h"
#include "game/character/sheet.h"
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

// What the character menu is drawn over.
enum class Backdrop { List, Sheet };

int usedSlotCount(const Game& g) {
  int count = 0;
  for (int c = 0; c < kRosterSlots; ++c) count += isEmptySlot(g, c) ? 0 : 1;
  return count;
}

const std::string& statusWord(const Game& g, int c) {
  const float code = g.CharRec(c, Status);
  if (!isInTown(g, c)) return g.StatusName(9);
  if (code == status::Lost) return g.StatusName(8);
  if (code == status::Spirit) return g.StatusName(7);
  if (code == status::Dead) return g.StatusName(6);
  if (code > 9999) return g.StatusName(5);
  if (digit(code, 2) == 1) return g.StatusName(3);
  if (digit(code, 3) == 1) return g.StatusName(4);
  return g.StatusName(1);
}

void drawListLine(Game& g, int c) {
  rt::Console& con = g.con;
  const int row = c + 1;
  con.COLOR(kHeading);
  con.LOCATE(0, row);
  con.PRINT_USING("##", {static_cast<float>(c + 1)});
  con.COLOR(kNormal);
  printAt(g, 3, row, g.CharName(c));
  if (g.Setting(AlignmentsUsed) == 1) printAt(g, 17, row, g.AlignmentLetter(alignmentOf(g, c)));
  printAt(g, 20, row, g.ClassName(classOf(g, c)));
  if (g.Setting(NoRaces) == 0) printAt(g, 32, row, g.RaceName(raceOf(g, c)));
  con.LOCATE(44, row);
  con.PRINT_USING("###", {static_cast<float>(levelOf(g, c))});
  con.LOCATE(51, row);
  con.PRINT_USING("####@", {g.CharRec(c, HitPoints), std::string(" /")});
  printAt(g, 57, row, g.CharRec(c, MaxHitPoints));
  printAt(g, 67, row, statusWord(g, c));
}

void drawList(Game& g) {
  g.con.CLS();
  g.con.COLOR(kHeading);
  printAt(g, 3, 0, "キャラクター名　　クラス　    　      　レベル      ＨＰ"_sj);
  for (int c = 0; c < kRosterSlots; ++c) {
    if (!isEmptySlot(g, c)) drawListLine(g, c);
  }
}

void drawBackdrop(Game& g, int slot, Backdrop backdrop) {
  if (backdrop == Backdrop::List) {
    drawList(g);
  } else {
    showSheet(g, slot);
  }
}

// A slot number typed by the player, 1..count; nothing for 0.
std::optional<int> askSlotNumber(Game& g, int column, int row, const std::string& prompt) {
  const int count = usedSlotCount(g);
  for (;;) {
    const double n = askNumberFromColumn(g, column, row, prompt);
    if (n == 0) return std::nullopt;
    if (n >= 1 && n <= count && n == rt::INT(n)) return rt::toInt32(n) - 1;
  }
}

std::optional<int> chooseCharacter(Game& g) {
  blankLines(g, 22, 23);
  g.con.COLOR(kNormal);
  printAt(g, 25, 23, "0 -");
  g.con.PRINT(static_cast<float>(usedSlotCount(g)));
  g.con.PRINT("     0  MENU に戻る"_sj);
  for (;;) {
    const std::optional<int> slot = askSlotNumber(g, 19, 22, "どのキャラクターですか ?  "_sj);
    if (!slot || !isEmptySlot(g, *slot)) return slot;
  }
}

bool classChangeOffered(const Game& g) {
  return g.Setting(ClassChangeBarred) == 0;
}

void drawCharacterMenu(Game& g, int slot) {
  rt::Console& con = g.con;
  con.COLOR(kNormal);
  for (int row : {22, 23}) printAt(g, 9, row, rt::SPACE(70));
  printAt(g, 5, 22, "Name " + g.CharName(slot) + "      どれにしますか ?      Hit 0 -"_sj);
  con.PRINT(rt::toSingle(5 - g.Setting(ClassChangeBarred)));
  con.PRINT("Key");
  printAt(g, 3, 23, "1 データ確認  2 名前の変更  3 削除  4 登録順の変更"_sj);
  printAt(g, 55, 23, classChangeOffered(g) ? "5 クラスの変更  0 戻る"_sj : "0 戻る"_sj);
}

int chooseAction(Game& g, int slot) {
  for (;;) {
    const int key = readKeyNumber(g, 0, 5);
    if (key != 5 || (classChangeOffered(g) && isInTown(g, slot))) return key;
  }
}

void lookAt(Game& g, int slot) {
  showSheet(g, slot);
  g.con.COLOR(kNormal);
  printAt(g, 29, 23, "Hit Any Key");
  g.KeyAnswer = g.con.waitKey();
}

void rename(Game& g, int slot, Backdrop backdrop) {
  blankLines(g, 22, 23);
  g.con.COLOR(kNormal);
  printAt(g, 21, 23, "１２字（全角６字）以内       現在  "_sj + g.CharName(slot));
  const std::string line = askFromColumn(g, 19, 22, "新しい名前は何にしますか ?  "_sj);
  if (line.empty()) return;
  g.CharName(slot) = nameFromLine(line);
  const bool onSheet = backdrop == Backdrop::Sheet;
  const int column = onSheet ? 38 : 3;
  const int row = onSheet ? 0 : slot + 1;
  g.con.COLOR(onSheet ? kHeading : kNormal);
  printAt(g, column, row, rt::SPACE(12));
  printAt(g, column, row, g.CharName(slot));
}

void refuse(Game& g, const std::string& reason) {
  printAt(g, 19, 22, reason);
  printAt(g, 29, 23, "Hit Any Key");
  g.KeyAnswer = g.con.waitKey();
}

// Moves slot `from` into slot `to`; the per-floor flag of field 10 belongs
// to the row and stays where it is.
void moveRecord(Game& g, int from, int to) {
  g.CharName(to) = g.CharName(from);
  const double flags = rt::INT(g.CharRec(to, FloorFlags) / 10000) * 10000;
  for (int f = 0; f < CharRecFields; ++f) g.CharRec(to, f) = g.CharRec(from, f);
  g.CharRec(to, FloorFlags) = rt::toSingle(flags + rt::MOD(g.CharRec(from, FloorFlags), 10000));
  for (int f = 0; f < CharLongFields; ++f) g.CharLong(to, f) = g.CharLong(from, f);
}

void removeFromPartyList(Game& g, int slot) {
  if (const int position = partyPositionOf(g, slot)) leaveParty(g, position);
  for (int p = 1; p <= partySize(g); ++p) {
    if (memberSlot(g, p) > slot) g.GameState(p) -= 1;
  }
}

void removeCharacter(Game& g, int slot) {
  const int last = kRosterSlots - 1;
  for (int c = slot; c < last; ++c) moveRecord(g, c + 1, c);
  g.CharName(last).clear();
  for (int f = 0; f < CharRecFields; ++f) g.CharRec(last, f) = 0;
  for (int f = 0; f < CharLongFields; ++f) g.CharLong(last, f) = 0;
  removeFromPartyList(g, slot);
}

// Only a lost character in town can go; returns whether he went.
bool deleteCharacter(Game& g, int slot, Backdrop backdrop) {
  blankLines(g, 22, 23);
  g.con.COLOR(kNormal);
  if (g.CharRec(slot, Status) != status::Lost) {
    refuse(g, "削除できるのは消失したキャラクターだけです !"_sj);
    return false;
  }
  if (!isInTown(g, slot)) {
    refuse(g, "削除できるのは街にいるキャラクターだけです !"_sj);
    return false;
  }
  printAt(g, 23, 22, g.CharName(slot));
  printAt(g, 55, 22, "Input Y - N");
  if (askYesNoLine(g, 19, 23, "本当に削除してもいいですか ?  "_sj)) {
    removeCharacter(g, slot);
    return true;
  }
  // The answer on the last row scrolled the screen.
  drawBackdrop(g, slot, backdrop);
  return false;
}

void swapPartyEntries(Game& g, int a, int b) {
  for (int p = 1; p <= partySize(g); ++p) {
    if (memberSlot(g, p) == a) {
      g.GameState(p) = static_cast<float>(b + 1);
    } else if (memberSlot(g, p) == b) {
      g.GameState(p) = static_cast<float>(a + 1);
    }
  }
}

void swapRecords(Game& g, int a, int b) {
  std::swap(g.CharName(a), g.CharName(b));
  for (int f = 0; f < CharRecFields; ++f) {
    if (f != FloorFlags) std::swap(g.CharRec(a, f), g.CharRec(b, f));
  }
  const double flagsA = rt::INT(g.CharRec(a, FloorFlags) / 10000) * 10000;
  const double flagsB = rt::INT(g.CharRec(b, FloorFlags) / 10000) * 10000;
  const double statsA = rt::MOD(g.CharRec(a, FloorFlags), 10000);
  g.CharRec(a, FloorFlags) = rt::toSingle(flagsA + rt::MOD(g.CharRec(b, FloorFlags), 10000));
  g.CharRec(b, FloorFlags) = rt::toSingle(flagsB + statsA);
  for (int f = 0; f < CharLongFields; ++f) std::swap(g.CharLong(a, f), g.CharLong(b, f));
  swapPartyEntries(g, a, b);
}

// Exchanges the character with another roster place; returns whether the
// places changed.
bool reorder(Game& g, int slot) {
  const int count = usedSlotCount(g);
  if (count <= 1) return false;
  blankLines(g, 22, 23);
  g.con.COLOR(kNormal);
  printAt(g, 11, 22, g.CharName(slot));
  printAt(g, 32, 23, "Input 0 -");
  g.con.PRINT(static_cast<float>(count));
  g.con.PRINT("     0  MENU に戻る"_sj);
  const std::optional<int> other = askSlotNumber(g, 30, 22, "誰と変更しますか ?  "_sj);
  if (!other) return false;
  swapRecords(g, slot, *other);
  return true;
}

// The character menu; returns when the player goes back to the list or the
// character left his place.
void workOnCharacter(Game& g, int slot) {
  Backdrop backdrop = Backdrop::List;
  for (;;) {
    drawCharacterMenu(g, slot);
    switch (chooseAction(g, slot)) {
      case 0:
        return;
      case 1:
        lookAt(g, slot);
        backdrop = Backdrop::Sheet;
        break;
      case 2:
        rename(g, slot, backdrop);
        break;
      case 3:
        if (deleteCharacter(g, slot, backdrop)) return;
        break;
      case 4:
        if (reorder(g, slot)) return;
        break;
      default:
        if (changeClass(g, slot)) showSheet(g, slot);
        backdrop = Backdrop::Sheet;
        break;
    }
  }
}

}  // namespace

void showSheet(Game& g, int slot) {
  g.SysWord(ActingSlot) = static_cast<float>(slot);
  LOOK(g);
  printAt(g, 0, 4, rt::SPACE(80));
}

void manageRoster(Game& g) {
  for (;;) {
    drawList(g);
    const std::optional<int> slot = chooseCharacter(g);
    if (!slot) return;
    workOnCharacter(g, *slot);
  }
}

}  // namespace kestrun::game
