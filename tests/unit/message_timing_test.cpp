#include "game/character/message_timing.h"

#include <gtest/gtest.h>

#include "game_fixture.h"
#include "runtime/sjis.h"
#include "test_support.h"

namespace kestrun::game {
namespace {

float timeAfterAnswers(const std::string& keys) {
  GameFixture t;
  t.g.SysWord(MessageTime) = 777;
  t.type(keys);
  TWC(t.g);
  return t.g.SysWord(MessageTime);
}

TEST(MessageTime, TakesTheWholeNumberOfAnAnswerInRange) {
  EXPECT_EQ(timeAfterAnswers("1500.7{Enter}"), 1500);
  EXPECT_EQ(timeAfterAnswers("{Enter}"), 0);
  EXPECT_EQ(timeAfterAnswers("abc{Enter}"), 0);
  EXPECT_EQ(timeAfterAnswers("10000{Enter}"), 10000);
  EXPECT_EQ(timeAfterAnswers("-1{Enter}10001{Enter}1e999{Enter}300{Enter}"), 300);
}

TEST(MessageTime, ShowsTheCurrentTimeWhileAsking) {
  GameFixture t;
  t.g.SysWord(MessageTime) = 777;
  EXPECT_THROW(TWC(t.g), rt::ProgramEnd);
  EXPECT_EQ(rt::toUtf8(rt::rowText(t.con.text(), 23)),
            "                         Input  0 - 10000    (現在  777 )");
  EXPECT_EQ(t.g.SysWord(MessageTime), 777);
}

}  // namespace
}  // namespace kestrun::game
