#include <gtest/gtest.h>

#include "floor_drawing.h"
#include "floor_source.h"
#include "schemas.h"

namespace kestrun::forge {
namespace {

using drawing::Codes;

// A drawing with open squares everywhere and nothing on them.
std::vector<std::string> emptyDrawing() {
  std::vector<std::string> lines;
  const std::string boundary = "    +" + std::string(20 * 4, ' ');
  std::string b = "    +";
  for (int x = 0; x < 20; ++x) b += "   +";
  lines.push_back(b);
  for (int y = 19; y >= 0; --y) {
    lines.push_back("    " + std::string(81, ' '));
    lines.push_back(b);
  }
  return lines;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\n";
  return text;
}

// Line index (without header) of row y's interior line and of the boundary
// line below it.
int interior(int y) {
  return 1 + 2 * (19 - y);
}
int below(int y) {
  return interior(y) + 1;
}
void put(std::vector<std::string>& lines, int line, int column, const std::string& text) {
  lines[line].replace(4 + column, text.size(), text);
}

TEST(ForgeDrawing, SymbolsBecomeLayerCodes) {
  auto lines = emptyDrawing();
  put(lines, interior(3), 4 * 5, "D");        // west boundary of (5, 3): door
  put(lines, below(3), 4 * 2 + 1, "-^-");     // south boundary of (2, 3): open looking north
  put(lines, interior(7), 4 * 1 + 1, "T! ");  // teleport on a battle square
  put(lines, interior(7), 4 * 2 + 1, "12$");  // code 12, encounter room
  put(lines, interior(0), 4 * 0 + 1, " U ");
  put(lines, interior(9), 4 * 9 + 1, " ? ");
  put(lines, interior(4), 4 * 6, "S");  // one-sided hidden wall
  std::vector<drawing::LineProblem> problems;
  auto drawn = drawing::parse(joined(lines), problems);
  ASSERT_TRUE(drawn) << (problems.empty() ? "" : problems[0].sentence);
  const Codes& c = drawn->codes;
  EXPECT_EQ(c[5][3][1], 2);
  EXPECT_EQ(c[2][3][2], 10);
  EXPECT_EQ(c[1][7][0], 9);
  EXPECT_EQ(c[1][7][3], 1);
  EXPECT_EQ(c[2][7][0], 12);
  EXPECT_EQ(c[2][7][3], 2);
  EXPECT_EQ(c[0][0][0], 7);
  EXPECT_EQ(c[9][9][0], drawing::kUnknown);
  EXPECT_EQ(c[6][4][1], 15);
  EXPECT_EQ(c[4][4][1], 0);
  EXPECT_EQ(drawn->lineOfRow(19), 2);
}

TEST(ForgeDrawing, RenderedDrawingsParseBack) {
  Codes codes{};
  const int boundaries[] = {0, 1,  2,  3,  4,  5,  6,  7,  8,
                            9, 10, 11, 12, 13, 14, 15, 16, drawing::kUnknown};
  for (int x = 0; x < 20; ++x) {
    for (int y = 0; y < 20; ++y) {
      codes[x][y][0] = (x * 7 + y * 3) % 100;
      codes[x][y][1] = boundaries[(x + 2 * y) % 18];
      codes[x][y][2] = boundaries[(3 * x + y) % 18];
      codes[x][y][3] = (x + y) % 4 == 3 ? drawing::kUnknown : (x + y) % 4;
    }
  }
  codes[3][3][0] = drawing::kUnknown;
  std::vector<drawing::LineProblem> problems;
  auto drawn = drawing::parse(drawing::render(codes), problems);
  ASSERT_TRUE(drawn) << problems[0].line << ": " << problems[0].sentence;
  EXPECT_EQ(drawn->codes, codes);
  EXPECT_EQ(drawn->firstLine, 2) << "the rendered header is skipped";
}

TEST(ForgeDrawing, ReportsWrapMismatchesAndBadSymbolsWithTheirLines) {
  auto lines = emptyDrawing();
  put(lines, 0, 4 * 6 + 1, "---");    // north of (6, 19) is a wall, south of (6, 0) is not
  put(lines, interior(12), 80, "|");  // east of (19, 12) is a wall, west of (0, 12) is not
  put(lines, interior(5), 4 * 3 + 1, " Z ");
  std::vector<drawing::LineProblem> problems;
  EXPECT_FALSE(drawing::parse(joined(lines), problems));
  ASSERT_EQ(problems.size(), 3u);
  EXPECT_EQ(problems[0].line, interior(12) + 1);
  EXPECT_NE(problems[0].sentence.find("(19, 12)"), std::string::npos);
  EXPECT_EQ(problems[1].line, interior(5) + 1);
  EXPECT_NE(problems[1].sentence.find("'Z'"), std::string::npos);
  EXPECT_EQ(problems[2].line, below(0) + 1);
  EXPECT_NE(problems[2].sentence.find("(6, 0)"), std::string::npos);

  problems.clear();
  lines.pop_back();
  EXPECT_FALSE(drawing::parse(joined(lines), problems));
  EXPECT_NE(problems.at(0).sentence.find("41 drawing lines"), std::string::npos);
}

std::string withHeader(const std::vector<std::string>& lines) {
  return "      0   1   2   3   4   5   6   7   8   9   10  11  12  13  14  15  16  17  18  19\n" +
         joined(lines);
}

TEST(ForgeDrawing, AMissingOrExtraLineIsOneProblemNamingIt) {
  auto lines = emptyDrawing();
  lines.erase(lines.begin() + interior(12));
  std::vector<drawing::LineProblem> problems;
  EXPECT_FALSE(drawing::parse(withHeader(lines), problems));
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].line, interior(12) + 2);  // after the header, where the row should be
  EXPECT_NE(problems[0].sentence.find("the line of row 12 is missing"), std::string::npos)
      << problems[0].sentence;

  lines = emptyDrawing();
  lines.insert(lines.begin() + below(3), lines[below(3)]);
  problems.clear();
  EXPECT_FALSE(drawing::parse(withHeader(lines), problems));
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].line, below(3) + 3);
  EXPECT_NE(problems[0].sentence.find("one too many (the line of row 2 was expected"),
            std::string::npos)
      << problems[0].sentence;
}

TEST(ForgeDrawing, MarksBesideTheMiddleAndFullWidthCharactersAreReportedAtTheirColumn) {
  auto lines = emptyDrawing();
  put(lines, below(3), 4 * 2 + 1, "--D");
  put(lines, 0, 4 * 7 + 1, "v--");
  put(lines, below(0), 4 * 7 + 1, "v--");
  std::vector<drawing::LineProblem> problems;
  EXPECT_FALSE(drawing::parse(joined(lines), problems));
  ASSERT_EQ(problems.size(), 3u);
  EXPECT_EQ(problems[0].line, 1);
  EXPECT_EQ(problems[0].column, 4 + 4 * 7 + 1 + 1);
  EXPECT_EQ(problems[1].line, below(3) + 1);
  EXPECT_EQ(problems[1].column, 4 + 4 * 2 + 3 + 1);
  EXPECT_NE(problems[1].sentence.find("write -D-"), std::string::npos) << problems[1].sentence;

  lines = emptyDrawing();
  lines[interior(4)] = "  4 | Ｄ |";
  problems.clear();
  EXPECT_FALSE(drawing::parse(joined(lines), problems));
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].column, 7);
  EXPECT_NE(problems[0].sentence.find("'Ｄ'"), std::string::npos) << problems[0].sentence;

  lines = emptyDrawing();
  put(lines, interior(6), 4 * 5 + 1, " Z ");
  problems.clear();
  EXPECT_FALSE(drawing::parse(joined(lines), problems));
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].column, 4 + 4 * 5 + 2 + 1);
}

bool mentions(const Problems& problems, const std::string& text) {
  for (const auto& line : problems.lines()) {
    if (line.find(text) != std::string::npos) return true;
  }
  return false;
}

// A floor source with the given squares on an otherwise empty drawing.
FloorSource floorFrom(const std::vector<std::pair<std::pair<int, int>, std::string>>& tokens,
                      const std::string& squares, Problems& problems) {
  auto lines = emptyDrawing();
  for (const auto& [at, token] : tokens) put(lines, interior(at.second), 4 * at.first + 1, token);
  const std::string text = "map = '''\n" + joined(lines) + "'''\n" + squares;
  auto file = SourceFile::fromText(text, "floor-3.toml", problems);
  Vocabularies words;
  schemas::addFixedWords(words);
  words.item.setWhat("item");
  words.item.allow(0);
  words.item.define(4, "Key");
  words.monster.setWhat("monster");
  words.monster.define(7, "Rat");
  return readFloorSource(*file, 3, 99, words, problems);
}

TEST(ForgeFloorSource, NamedParametersLandInTheirLayersAndDumpBack) {
  Problems problems;
  FloorSource floor = floorFrom(
      {{{1, 1}, " Q "}, {{2, 2}, "12!"}, {{3, 3}, " m "}, {{4, 4}, " V "}},
      "[[square]]\nat = [1, 1]\nquestion = 2\nanswer = 3\nright = [9, 4]\nwrong = [0, 19]\n"
      "[[square]]\nat = [2, 2]\nto = { floor = 1, x = 5, y = 6 }\nkey_item = \"Key\"\n"
      "[[square]]\nat = [3, 3]\ntext = 4\nfacing = [\"north\", \"west\"]\n"
      "[[square]]\nat = [4, 4]\nitem = 4\nprice = 123456\n",
      problems);
  ASSERT_TRUE(problems.empty()) << problems.lines()[0];
  const auto& map = floor.tables.FloorMap;
  EXPECT_EQ(map(1, 1, 0), 25 + 100 * 92);  // right x 9, question 2
  EXPECT_EQ(map(1, 1, 1), 100 * 43);       // right y 4, answer 3
  EXPECT_EQ(map(1, 1, 3), 100 * 19);
  EXPECT_EQ(map(2, 2, 0), 12 + 100);
  EXPECT_EQ(map(2, 2, 3), 1 + 100 * 4);
  EXPECT_EQ(map(3, 3, 1), 100 * 8);  // north and west
  EXPECT_EQ(map(4, 4, 1), 100 * 12);
  EXPECT_EQ(map(4, 4, 2), 100 * 34);
  EXPECT_EQ(map(4, 4, 3), 100 * 56);
  ASSERT_EQ(floor.links.size(), 1u);
  EXPECT_EQ(floor.links[0].floor, 1);

  Vocabularies words;
  schemas::addFixedWords(words);
  words.item.define(4, "Key");
  const std::string dumped = writeFloorSource(floor.tables, floor.seal, 3, 99, words);
  auto file = SourceFile::fromText(dumped, "dump", problems);
  FloorSource again = readFloorSource(*file, 3, 99, words, problems);
  ASSERT_TRUE(problems.empty()) << problems.lines()[0];
  EXPECT_EQ(again.tables.FloorMap.raw(), floor.tables.FloorMap.raw());
  EXPECT_NE(dumped.find("right = [9, 4]"), std::string::npos);
}

TEST(ForgeFloorSource, ReportsDestinationsOffTheFloorAndKeysThatDoNotApply) {
  Problems problems;
  floorFrom({{{1, 1}, " T "}, {{2, 2}, " U "}, {{3, 3}, " ? "}},
            "[[square]]\nat = [1, 1]\nto = { floor = 2, x = 20, y = 0 }\n"
            "[[square]]\nat = [2, 2]\nitem = 4\n",
            problems);
  ASSERT_EQ(problems.size(), 3u);
  EXPECT_TRUE(mentions(problems, "square (3, 3) is drawn with '?'"));
  EXPECT_TRUE(mentions(problems, "square (2, 2): item does not apply"));
  EXPECT_TRUE(mentions(problems, "square (1, 1): the teleport's x 20 is outside the floor"));
}

TEST(ForgeFloorSource, GuardiansNameTheirMonsterAndItemsAndDumpBack) {
  Problems problems;
  FloorSource floor =
      floorFrom({{{1, 1}, " 23"}, {{2, 2}, " 30"}, {{3, 3}, " G "}, {{4, 4}, " S "}},
                "[[square]]\nat = [1, 1]\nmonster = \"Rat\"\nitems = [\"Key\", 4]\n"
                "[[square]]\nat = [2, 2]\nmonster = 7\nitems = [4]\nkey_item = 4\n"
                "[[square]]\nat = [3, 3]\np = [9, 4, 0, 0]\n",
                problems);
  ASSERT_TRUE(problems.empty()) << problems.lines()[0];
  const auto& map = floor.tables.FloorMap;
  EXPECT_EQ(map(1, 1, 0), 23 + 100 * 7);
  EXPECT_EQ(map(1, 1, 1), 100 * 4);
  EXPECT_EQ(map(1, 1, 2), 100 * 4);
  EXPECT_EQ(map(2, 2, 1), 100 * 4);
  EXPECT_EQ(map(2, 2, 3), 100 * 4);
  // A raw monster that does not exist, and a search square without one,
  // give findings: the battle would be empty.
  ASSERT_EQ(floor.findings.size(), 2u);
  EXPECT_NE(floor.findings[0].sentence.find("(3, 3): the guardian is monster 9, which is not"),
            std::string::npos)
      << floor.findings[0].sentence;
  EXPECT_NE(floor.findings[1].sentence.find("(4, 4): the guardian is monster 0"),
            std::string::npos);

  Vocabularies words;
  schemas::addFixedWords(words);
  words.item.define(4, "Key");
  words.monster.define(7, "Rat");
  const std::string dumped = writeFloorSource(floor.tables, floor.seal, 3, 99, words);
  EXPECT_NE(dumped.find("monster = \"Rat\"\nitems = [\"Key\", \"Key\"]"), std::string::npos)
      << dumped;
  EXPECT_NE(dumped.find("at = [3, 3]\np = [9, 4, 0, 0]"), std::string::npos) << dumped;
  auto file = SourceFile::fromText(dumped, "dump", problems);
  FloorSource again = readFloorSource(*file, 3, 99, words, problems);
  ASSERT_TRUE(problems.empty()) << problems.lines()[0];
  EXPECT_EQ(again.tables.FloorMap.raw(), floor.tables.FloorMap.raw());

  floorFrom({{{1, 1}, " 29"}, {{2, 2}, " 23"}},
            "[[square]]\nat = [1, 1]\nitems = [4, 4]\n"
            "[[square]]\nat = [2, 2]\nmonster = \"Bat\"\n",
            problems);
  EXPECT_TRUE(mentions(problems, "(1, 1): items must be a list of at most 1 item"));
  EXPECT_TRUE(mentions(problems, "no monster is named \"Bat\" (did you mean \"Rat\"?)"));
}

}  // namespace
}  // namespace kestrun::forge
