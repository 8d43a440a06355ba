#include "frontends/screen_entries.h"

#include <gtest/gtest.h>

#include <string>

#include "frontends/entry_input.h"
#include "runtime/keyboard.h"
#include "runtime/sjis.h"
#include "runtime/textscreen.h"

namespace kestrun::fe {

void PrintTo(const ScreenEntry& e, std::ostream* out) {
  *out << "{" << e.column << "," << e.row << " w" << e.width << " key " << int(e.key) << "}";
}

namespace {

void put(rt::TextScreen& text, int column, int row, const std::string& utf8) {
  text.moveTo(column, row);
  text.write(rt::toShiftJis(utf8));
}

TEST(ScreenEntries, TownMenuLinesWithFullWidthDigits) {
  rt::TextScreen text;
  put(text, 31, 1, "どこへ行きますか ?");
  put(text, 15, 4, "１　酒場");
  put(text, 41, 4, "６　冒険者ギルド");
  put(text, 41, 12, "０　ＳＡＶＥしてプログラムを終了する");
  put(text, 32, 14, "Hit 0 - 9 Key");
  EXPECT_EQ(findScreenEntries(text),
            (std::vector<ScreenEntry>{{15, 4, 8, '1'}, {41, 4, 16, '6'}, {41, 12, 36, '0'}}));
}

TEST(ScreenEntries, HalfWidthLinesAndTheirLabelsEndAtTwoBlanks) {
  rt::TextScreen text;
  put(text, 9, 20, "0 行動を再開する       1 キャラクターを見る");
  put(text, 27, 8, "1  直接戦闘  (F key)");
  put(text, 3, 23, "1 データ確認  2 名前の変更");
  put(text, 29, 18, "何をしますか ?");
  const auto entries = findScreenEntries(text);
  ASSERT_EQ(entries.size(), 5u);
  EXPECT_EQ(entries[0], (ScreenEntry{27, 8, 11, '1'}));
  EXPECT_EQ(entries[1], (ScreenEntry{9, 20, 16, '0'}));
  EXPECT_EQ(entries[2], (ScreenEntry{32, 20, 20, '1'}));
  EXPECT_EQ(entries[3], (ScreenEntry{3, 23, 12, '1'}));
  EXPECT_EQ(entries[4].key, '2');
}

TEST(ScreenEntries, HintsOfferTheirKeys) {
  rt::TextScreen text;
  put(text, 32, 10, "Hit Y - N Key");
  put(text, 33, 15, "Hit Any Key");
  EXPECT_EQ(
      findScreenEntries(text),
      (std::vector<ScreenEntry>{{36, 10, 1, 'Y'}, {40, 10, 1, 'N'}, {33, 15, 11, rt::key::Enter}}));
}

TEST(ScreenEntries, NumbersAndTableColumnsAreNoEntries) {
  rt::TextScreen text;
  // A party line: the alignment letter two blanks before the class, numbers.
  put(text, 13, 18, "Aldo              Ｇ  戦士           10     30 / 30");
  put(text, 21, 1, "1  苔むし               2  (行動可能  2 )");
  put(text, 25, 7, "1 - 3     0 で戻る");
  put(text, 19, 6, "どの呪文を唱えますか ?");
  const auto entries = findScreenEntries(text);
  // The monster group's number is an entry (its target choice); its count,
  // the party's numbers and the range are not.
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0], (ScreenEntry{21, 1, 9, '1'}));
  EXPECT_EQ(entries[1], (ScreenEntry{35, 7, 8, '0'}));
}

TEST(ScreenEntries, NumberedListsOnAScreenThatAsksNothingAreNoMenu) {
  rt::TextScreen maze;
  put(maze, 10, 17, "1  Aldo                  戦士           10     20 / 20     正常");
  put(maze, 10, 18, "2  Lia                   魔術師         10      0 / 9      死亡");
  EXPECT_TRUE(findScreenEntries(maze).empty());
  put(maze, 33, 15, "Hit Any Key");
  EXPECT_EQ(findScreenEntries(maze).size(), 3u);
}

TEST(EntryInput, ClicksPressTheEntryOrWalkWhereThereIsNone) {
  EntryInput input;
  rt::TextScreen menu;
  put(menu, 31, 1, "どこへ行きますか ?");
  put(menu, 15, 4, "１　酒場");
  input.screenChanged(findScreenEntries(menu));
  EXPECT_EQ(input.click(15, 4), '1');
  EXPECT_EQ(input.click(22, 4), '1');
  EXPECT_EQ(input.click(23, 4), std::nullopt);
  EXPECT_EQ(input.click(15, 5), std::nullopt);
  // No entry on the screen: the arrow toward the click from the centre.
  input.screenChanged({});
  EXPECT_EQ(input.click(40, 1), rt::key::Up);
  EXPECT_EQ(input.click(40, 22), rt::key::Down);
  EXPECT_EQ(input.click(2, 12), rt::key::Left);
  EXPECT_EQ(input.click(78, 11), rt::key::Right);
  EXPECT_EQ(input.click(40, 12), 'K');  // the middle: the door ahead
  EXPECT_EQ(input.click(45, 13), 'K');
  EXPECT_EQ(input.click(40, 16), rt::key::Down);
}

TEST(EntryInput, ControllerMovesTheHighlightAndPresses) {
  EntryInput input;
  rt::TextScreen camp;
  put(camp, 9, 20, "0 行動を再開する       1 キャラクターを見る");
  put(camp, 56, 20, "2 順番を変える");
  put(camp, 9, 21, "3 パーティを解散する");
  put(camp, 56, 23, "Hit 0 - 9 Key");
  input.screenChanged(findScreenEntries(camp));
  EXPECT_EQ(input.highlighted(), std::nullopt);  // until a controller is used
  EXPECT_EQ(input.button(EntryInput::Button::Right), std::nullopt);
  EXPECT_EQ(input.highlighted()->key, '1');
  input.button(EntryInput::Button::Right);
  EXPECT_EQ(input.highlighted()->key, '2');
  input.button(EntryInput::Button::Right);  // nothing further right
  EXPECT_EQ(input.highlighted()->key, '2');
  input.button(EntryInput::Button::Down);
  EXPECT_EQ(input.highlighted()->key, '3');
  EXPECT_EQ(input.button(EntryInput::Button::Press), '3');
  EXPECT_EQ(input.button(EntryInput::Button::Back), rt::key::Escape);
  EXPECT_EQ(input.button(EntryInput::Button::Camp), 'C');
  EXPECT_EQ(input.button(EntryInput::Button::Door), 'K');
  // A new screen keeps the highlight on the entry of the same key.
  put(camp, 40, 5, "3 ほか");
  input.screenChanged(findScreenEntries(camp));
  EXPECT_EQ(input.highlighted()->row, 5);
  // In the maze (no entries) the d-pad walks.
  input.screenChanged({});
  EXPECT_EQ(input.button(EntryInput::Button::Up), rt::key::Up);
  EXPECT_EQ(input.button(EntryInput::Button::Left), rt::key::Left);
  EXPECT_EQ(input.button(EntryInput::Button::Press), rt::key::Enter);
}

}  // namespace
}  // namespace kestrun::fe
