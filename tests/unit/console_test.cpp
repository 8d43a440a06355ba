#include "runtime/console.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "frontends/frontends.h"
#include "runtime/keyscript.h"
#include "runtime/sjis.h"
#include "test_support.h"

namespace kestrun::rt {
namespace {

using namespace literals;

class ConsoleTest : public ::testing::Test {
 protected:
  std::unique_ptr<Frontend> frontend = fe::makeHeadlessFrontend();
  Font font;
  Console con{*frontend, font};
};

TEST_F(ConsoleTest, LocateColorAndClsCheckTheirArguments) {
  EXPECT_EQ(errorCodeOf([&] { con.LOCATE(80, 0); }), 5);
  EXPECT_EQ(errorCodeOf([&] { con.LOCATE(0, 24); }), 5);
  EXPECT_EQ(errorCodeOf([&] { con.LOCATE(-1, 0); }), 5);
  EXPECT_EQ(errorCodeOf([&] { con.LOCATE(40000, 0); }), 6);
  EXPECT_EQ(errorCodeOf([&] { con.COLOR(16); }), 5);
  EXPECT_EQ(errorCodeOf([&] { con.COLOR(7, 0, 0, 2); }), 5);
  EXPECT_EQ(errorCodeOf([&] { con.CLS(6); }), 5);
  con.LOCATE(79, 23);
  con.COLOR(7, 0, 0, 1);
  con.PRINT("x");
  EXPECT_TRUE(con.text().cell(79, 23).halfIntensity);
}

TEST_F(ConsoleTest, PrintsNumbersWithSignPlaceAndSeparators) {
  con.PRINT(static_cast<int16_t>(-5));
  con.PRINT(static_cast<int16_t>(5));
  con.PRINT(0.0f, Sep::EndLine);
  con.PRINT("next");
  EXPECT_EQ(rowText(con.text(), 0), "-5  5  0");
  EXPECT_EQ(rowText(con.text(), 1), "next");
}

TEST_F(ConsoleTest, ClsClearsTextAndGraphicsAndHomesTheCursor) {
  con.graphics().PSET(10, 10, 15);
  con.LOCATE(5, 5);
  con.PRINT("abc");
  con.CLS();
  EXPECT_EQ(con.graphics().pixel(10, 10), 0u);
  EXPECT_EQ(rowText(con.text(), 5), "");
  EXPECT_EQ(con.text().column(), 0);
  EXPECT_EQ(con.text().row(), 0);
}

TEST_F(ConsoleTest, InkeyNeverWaitsAndScriptKeysGoOnlyToWaits) {
  con.setScript({'a', 'b'});
  EXPECT_EQ(con.INKEY(), "");
  EXPECT_EQ(con.waitKey(), "a");
  EXPECT_EQ(con.INKEY(), "");
  EXPECT_EQ(con.waitKey(), "b");
  // The script is used up and nobody can type: the session ends.
  EXPECT_THROW(con.waitKey(), ProgramEnd);
}

int exitCodeOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const ProgramEnd& end) {
    return end.exitCode;
  }
  return -1;
}

TEST_F(ConsoleTest, EveryWaitAndTimedPauseReachesTheWaitHookOnce) {
  std::vector<WaitKind> seen;
  con.setWaitHook([&](WaitKind kind) { seen.push_back(kind); });
  con.setScript(parseKeyScript("ab{Enter}c"));
  con.waitKey();
  con.inputString("");
  con.WAIT(0);
  con.waitKey(400);
  con.INKEY();
  EXPECT_EQ(seen, (std::vector{WaitKind::Key, WaitKind::Line, WaitKind::Pause, WaitKind::Pause}));
}

TEST_F(ConsoleTest, HeadlessPausesLetTimePassAndTakeNoScriptedKey) {
  con.setScript({'a', 'b'});
  con.WAIT(100);
  EXPECT_EQ(frontend->milliseconds(), 1000u);
  // A timed key wait takes the next scripted key at once.
  EXPECT_EQ(con.waitKey(400), "a");
  EXPECT_EQ(frontend->milliseconds(), 1000u);
  EXPECT_EQ(con.waitKey(), "b");
  // With the script used up a pause still passes, but a timed key wait ends
  // the session as any wait for input does.
  con.WAIT(5);
  EXPECT_EQ(exitCodeOf([&] { con.waitKey(400); }), 0);
}

TEST_F(ConsoleTest, ScriptUsedUpInALineEndsTheSessionWithTheLineShown) {
  con.setScript(parseKeyScript("ab"));
  EXPECT_EQ(exitCodeOf([&] { con.inputString("name? "); }), 0);
  EXPECT_EQ(rowText(con.text(), 0), "name? ab");
}

TEST_F(ConsoleTest, LineInputEchoesEditsAndEndsTheLine) {
  con.setScript(parseKeyScript("abX{Bs}c{Enter}"));
  con.LOCATE(3, 2);
  EXPECT_EQ(con.inputString("Name ? "), "abc");
  EXPECT_EQ(rowText(con.text(), 2), "   Name ? abc");
  EXPECT_EQ(con.text().row(), 3);
  EXPECT_EQ(con.text().column(), 0);
}

TEST_F(ConsoleTest, LineInputKeepsDoubleByteCharactersWhole) {
  con.setScript(parseKeyScript("名前x{Bs}{Bs}{Enter}"));
  EXPECT_EQ(con.inputString(""), "名"_sj);
}

TEST_F(ConsoleTest, LineInputAsksAgainWhenTheAnswerDoesNotFit) {
  float number = -1;
  con.setScript(parseKeyScript("abc\n1,2\n 42 \n"));
  con.INPUT("? ", PromptMode::PromptOnly, {&number});
  EXPECT_EQ(number, 42.0f);
  EXPECT_EQ(rowText(con.text(), 1), "もう一度入力してください"_sj);
  EXPECT_EQ(rowText(con.text(), 3), "もう一度入力してください"_sj);
}

TEST_F(ConsoleTest, LineInputSplitsFieldsAndHonoursQuotes) {
  std::string a, b;
  float n = 0;
  con.setScript(parseKeyScript("\"x, y\" , plain ,7\n"));
  con.INPUT("", PromptMode::QuestionOnly, {&a, &b, &n});
  EXPECT_EQ(a, "x, y");
  EXPECT_EQ(b, "plain");
  EXPECT_EQ(n, 7.0f);
  EXPECT_EQ(rowText(con.text(), 0).substr(0, 2), "? ");
  // A typed name keeps no blanks at its end (nor at its start); quoted, it
  // keeps them.
  con.setScript(parseKeyScript("  Abc   \n\"Abc  \"\n"));
  con.INPUT("", PromptMode::PromptOnly, {&a});
  EXPECT_EQ(a, "Abc");
  con.INPUT("", PromptMode::PromptOnly, {&a});
  EXPECT_EQ(a, "Abc  ");
  // A quoted field is not a number; an empty answer is zero.
  con.setScript(parseKeyScript("\"5\"\n\n"));
  con.INPUT("", PromptMode::PromptOnly, {&n});
  EXPECT_EQ(n, 0.0f);
}

TEST_F(ConsoleTest, WaitChecksItsRangeAndUnhandledErrorsAreReported) {
  EXPECT_EQ(errorCodeOf([&] { con.WAIT(65536); }), 5);
  con.WAIT(100);
  con.LOCATE(10, 4);
  {
    ModuleScope module("Kestsub2");
    try {
      raise(63);
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.module(), "Kestsub2");
      con.reportError(e);
    }
  }
  EXPECT_EQ(currentModule(), std::string("Kestmain"));
  const std::string header = toUtf8(rowText(con.text(), 5));
  EXPECT_EQ(header.rfind("Kestsub2 [", 0), 0u);
  EXPECT_NE(header.find("行]:エラー[63]"), std::string::npos);
  EXPECT_EQ(toUtf8(rowText(con.text(), 6)), std::string(errorMessage(63)));
}

// A front end whose player does the given things, one batch per wait.
class ScriptedPlayer final : public Frontend {
 public:
  std::deque<std::function<void(InputSink&)>> batches;
  int presented = 0;
  void present(const TextScreen&, const GraphicsPlane&) override { ++presented; }
  void waitEvents(InputSink& sink, int) override {
    if (batches.empty()) throw std::logic_error("the game waited with nothing left to do");
    batches.front()(sink);
    batches.pop_front();
  }
  void pollEvents(InputSink&) override {}
  void sleep(int) override {}
  uint64_t milliseconds() override { return 0; }
  bool interactive() const override { return true; }
};

TEST(ConsoleEvents, CtrlCIsNeverAKeyAndTypedTextArrivesAsShiftJis) {
  ScriptedPlayer player;
  Font font;
  Console con(player, font);
  player.batches.push_back([](InputSink& sink) {
    sink.keyCode(key::CtrlC);
    sink.text("ア");
  });
  EXPECT_EQ(con.waitKey(), "\x83");
  EXPECT_EQ(con.INKEY(), "\x41");
  EXPECT_EQ(con.INKEY(), "");
  EXPECT_GT(player.presented, 0);
}

TEST(ConsoleEvents, ClosingTheWindowDuringAWaitEndsTheProgram) {
  ScriptedPlayer player;
  Font font;
  Console con(player, font);
  player.batches.push_back([](InputSink& sink) { sink.keyCode('a'); });
  player.batches.push_back([](InputSink& sink) { sink.closeRequested(); });
  EXPECT_THROW(con.inputString("? "), ProgramEnd);
  // The closing loop ignores keys and ends when the window closes.
  player.batches.push_back([](InputSink& sink) { sink.keyCode('x'); });
  player.batches.push_back([](InputSink& sink) { sink.closeRequested(); });
  int exitCode = -1;
  try {
    con.waitForClose(1);
  } catch (const ProgramEnd& end) {
    exitCode = end.exitCode;
  }
  EXPECT_EQ(exitCode, 1);
}

TEST_F(ConsoleTest, ErrorsCarryTheLineOfTheFailingStatement) {
  const unsigned line = __LINE__ + 2;
  try {
    con.LOCATE(99, 0);
    ADD_FAILURE() << "LOCATE 99, 0 raised nothing";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.line(), line);
    EXPECT_EQ(e.module(), "Kestmain");
  }
  // An error inside a handler goes on to the caller's handler.
  int outer = 0;
  try {
    try {
      raise(63);
    } catch (const RuntimeError&) {
      con.COLOR(99);
    }
  } catch (const RuntimeError& e) {
    outer = e.code();
  }
  EXPECT_EQ(outer, 5);
}

TEST(KeyScript, NamesBracesAndTextBecomeKeyCodes) {
  EXPECT_EQ(parseKeyScript("Z{Enter}{Up}{Down}{Left}{Right}{Esc}{Home}{Ins}{Del}{Bs}{{\n"),
            (std::vector<uint8_t>{'Z', 13, 30, 31, 29, 28, 27, 11, 18, 4, 8, '{', 13}));
  EXPECT_EQ(parseKeyScript("a\r\nb"), (std::vector<uint8_t>{'a', 13, 'b'}));
  const auto kana = parseKeyScript("ア");
  EXPECT_EQ(kana, (std::vector<uint8_t>{0x83, 0x41}));
  EXPECT_THROW(parseKeyScript("{Enterr}"), KeyScriptError);
  EXPECT_THROW(parseKeyScript("{Enter"), KeyScriptError);
}

}  // namespace
}  // namespace kestrun::rt
