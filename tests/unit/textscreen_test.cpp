#include "runtime/textscreen.h"

#include <gtest/gtest.h>

#include "runtime/screendump.h"
#include "runtime/sjis.h"
#include "test_support.h"

namespace kestrun::rt {
namespace {

using namespace literals;

TEST(TextScreenWrapping, TextReachingTheRowEndContinuesOnTheNextRow) {
  TextScreen s;
  s.moveTo(78, 3);
  s.write("abcd");
  EXPECT_EQ(s.cell(78, 3).ch, 'a');
  EXPECT_EQ(s.cell(79, 3).ch, 'b');
  EXPECT_EQ(rowText(s, 4), "cd");
  EXPECT_EQ(s.column(), 2);
  EXPECT_EQ(s.row(), 4);
}

TEST(TextScreenWrapping, DoubleByteCharacterIsNeverSplit) {
  TextScreen s;
  s.moveTo(79, 5);
  s.write("あ"_sj);
  EXPECT_EQ(s.cell(79, 5).ch, ' ');
  EXPECT_EQ(rowText(s, 6), "あ"_sj);
  // A full row followed by an end of line moves down only once.
  s.moveTo(0, 10);
  s.write(std::string(80, 'x'));
  s.separate(Sep::EndLine);
  EXPECT_EQ(s.row(), 11);
  EXPECT_EQ(s.column(), 0);
}

TEST(TextScreenScrolling, PrintingPastTheBottomCornerScrollsUp) {
  TextScreen s;
  s.moveTo(0, 0);
  s.write("top");
  s.moveTo(0, 23);
  s.write("bottom");
  s.moveTo(79, 23);
  s.write("XY");
  EXPECT_EQ(rowText(s, 22).substr(0, 6), "bottom");
  EXPECT_EQ(s.cell(79, 22).ch, 'X');
  EXPECT_EQ(rowText(s, 23), "Y");
  EXPECT_NE(rowText(s, 0), "top");
  s.separate(Sep::EndLine);
  EXPECT_EQ(rowText(s, 22), "Y");
  EXPECT_EQ(rowText(s, 23), "");
}

TEST(TextScreenSeparators, ZonesAreFourteenColumnsAndNeverPassTheRowEnd) {
  TextScreen s;
  s.write("ab");
  s.separate(Sep::Zone);
  EXPECT_EQ(s.column(), 14);
  s.separate(Sep::Zone);
  EXPECT_EQ(s.column(), 28);
  s.moveTo(60, 2);
  s.separate(Sep::Zone);
  EXPECT_EQ(s.row(), 3);
  EXPECT_EQ(s.column(), 0);
  s.write("z");
  s.separate(Sep::Semicolon);
  EXPECT_EQ(s.column(), 1);
}

TEST(TextScreenColours, CellsKeepTheColoursTheyWereWrittenWith) {
  TextScreen s;
  s.setColours(5, 0, false);
  s.write("a");
  s.setColours(2, 1, true);
  s.write("b");
  EXPECT_EQ(s.cell(0, 0).fg, 5);
  EXPECT_EQ(s.cell(1, 0).fg, 2);
  EXPECT_TRUE(s.cell(1, 0).halfIntensity);
  EXPECT_EQ(textColourRgb(2, false), 0xFF0000u);
  EXPECT_EQ(textColourRgb(2, true), 0x800000u);
  EXPECT_EQ(textColourRgb(14, false), 0xFFFF00u);
}

TEST(TextScreenEditing, EraseBackCrossesRowStarts) {
  TextScreen s;
  s.moveTo(79, 0);
  s.write("ab");
  s.eraseBack(2);
  EXPECT_EQ(s.row(), 0);
  EXPECT_EQ(s.column(), 79);
  EXPECT_EQ(s.cell(79, 0).ch, ' ');
}

TEST(ScreenDump, RowsAsUtf8ThenForegroundColours) {
  TextScreen s;
  s.setColours(6, 0, false);
  s.moveTo(2, 1);
  s.write("ｶﾅ"_sj);
  s.write("全角"_sj);
  const std::string dump = screenDump(s);
  EXPECT_EQ(dump.substr(0, dump.find('\n', 1) + 1), "\n  ｶﾅ全角\n");
  const size_t colours = dump.find("--\n") + 3;
  const std::string row1 = dump.substr(colours + 81, 80);
  EXPECT_EQ(row1.substr(0, 10), "7766666677");
}

TEST(ScreenDump, RowFullOfDoubleByteCharactersAndDumpsThatAgree) {
  TextScreen s;
  std::string full;
  for (int i = 0; i < kColumns / 2; ++i) full += "全"_sj;
  s.write(full);
  const std::string first = screenDump(s);
  std::string expected;
  for (int i = 0; i < kColumns / 2; ++i) expected += "全";
  EXPECT_EQ(first.substr(0, first.find('\n')), expected);
  EXPECT_EQ(screenDump(s), first);
}

TEST(ShiftJisToUtf8, UndecodableBytesBecomeReplacementCharactersEveryTime) {
  // 0x85 0x40 is an unassigned pair, 0xA0 and 0xFD unassigned single bytes,
  // and a lead byte at the very end has no second byte.
  const std::string bytes = "A\x85\x40\xA0\xFD\x81";
  const std::string replaced = "A\uFFFD\uFFFD\uFFFD\uFFFD";
  EXPECT_EQ(toUtf8(bytes), replaced);
  EXPECT_EQ(toUtf8(bytes), replaced);
  std::string appended = "x";
  appendUtf8("ｶﾅ全角"_sj, appended);
  EXPECT_EQ(appended, "xｶﾅ全角");
}

}  // namespace
}  // namespace kestrun::rt
