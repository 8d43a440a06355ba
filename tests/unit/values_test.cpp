#include "runtime/values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "runtime/errors.h"
#include "runtime/strings.h"
#include "test_support.h"

namespace kestrun::rt {
namespace {

TEST(ValuesTest, WholeNumberConversionRoundsHalfToEven) {
  EXPECT_EQ(toInt16(2.5), 2);
  EXPECT_EQ(toInt16(3.5), 4);
  EXPECT_EQ(toInt16(-2.5), -2);
  EXPECT_EQ(toInt16(0.5), 0);
  EXPECT_EQ(toInt16(2.5000001), 3);
  EXPECT_EQ(toInt16(-32768.5), -32768);
  EXPECT_EQ(toInt32(1.5), 2);
  EXPECT_EQ(toInt32(-1.5), -2);
  EXPECT_EQ(toInt32(2147483647.4), 2147483647);
  EXPECT_EQ(toInt32(-2147483648.5), -2147483647 - 1);
}

TEST(ValuesTest, ConversionOutOfRangeIsOverflow) {
  EXPECT_EQ(errorCodeOf([] { toInt16(32767.5); }), err::Overflow);
  EXPECT_EQ(errorCodeOf([] { toInt16(-32769); }), err::Overflow);
  EXPECT_EQ(errorCodeOf([] { toInt32(2147483647.5); }), err::Overflow);
  EXPECT_EQ(errorCodeOf([] { toInt32(-2147483649.0); }), err::Overflow);
  EXPECT_EQ(errorCodeOf([] { toSingle(1e39); }), err::Overflow);
  EXPECT_EQ(errorCodeOf([] { toSingle(-1e39); }), err::Overflow);
  EXPECT_EQ(toSingle(3.4e38), 3.4e38f);
  EXPECT_EQ(toSingle(1e-50), 0.0f);
}

TEST(ValuesTest, ErrorsCarryTheCallersLine) {
  unsigned line = __LINE__ + 2;
  try {
    toInt16(1e6);
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.line(), line);
  }
}

TEST(ValuesTest, IntIsFloorAndModTruncatesTowardZero) {
  EXPECT_EQ(INT(-2.5), -3);
  EXPECT_EQ(INT(2.9), 2);
  EXPECT_EQ(INT(-3), -3);
  EXPECT_EQ(MOD(7, -3), 1);
  EXPECT_EQ(MOD(-7, 3), -1);
  EXPECT_EQ(MOD(-7, -3), -1);
  EXPECT_EQ(MOD(7.5, 3), 2);    // 8 MOD 3
  EXPECT_EQ(MOD(6.5, 4), 2);    // 6 MOD 4
  EXPECT_EQ(MOD(1234, 10), 4);  // the packed-digit reads
  EXPECT_EQ(MOD(-2147483648.0, -1), 0);
  EXPECT_EQ(errorCodeOf([] { MOD(5, 0.4); }), err::DivisionByZero);
  EXPECT_EQ(errorCodeOf([] { MOD(3e9, 2); }), err::Overflow);
}

TEST(ValuesTest, ArithmeticCheckAndDivision) {
  EXPECT_EQ(checked(1.5), 1.5);
  EXPECT_EQ(errorCodeOf([] { checked(std::nan("")); }), err::IllegalArgument);
  EXPECT_EQ(errorCodeOf([] { checked(HUGE_VAL); }), err::Overflow);
  EXPECT_EQ(divide(7, 2), 3.5);
  EXPECT_EQ(errorCodeOf([] { divide(1, 0); }), err::DivisionByZero);
  EXPECT_EQ(errorCodeOf([] { divide(0, 0); }), err::DivisionByZero);
  EXPECT_EQ(errorCodeOf([] { divide(1e308, 1e-10); }), err::Overflow);
}

TEST(ValuesTest, HexIsThe32BitPattern) {
  EXPECT_EQ(HEX(0), "0");
  EXPECT_EQ(HEX(255), "FF");
  EXPECT_EQ(HEX(10), "A");
  EXPECT_EQ(HEX(14.5), "E");   // half to even: 14
  EXPECT_EQ(HEX(15.5), "10");  // 16
  EXPECT_EQ(HEX(-1), "FFFFFFFF");
  EXPECT_EQ(HEX(-256), "FFFFFF00");
  EXPECT_EQ(HEX(2147483648.0), "80000000");
  EXPECT_EQ(HEX(4294967295.0), "FFFFFFFF");
  EXPECT_EQ(errorCodeOf([] { HEX(4294967296.0); }), err::Overflow);
  EXPECT_EQ(errorCodeOf([] { HEX(-2147483649.0); }), err::Overflow);
}

TEST(ValuesTest, ValReadsTheLeadingNumber) {
  EXPECT_EQ(VAL(""), 0);
  EXPECT_EQ(VAL("   "), 0);
  EXPECT_EQ(VAL("  12"), 12);
  EXPECT_EQ(VAL(" 12 "), 12);
  EXPECT_EQ(VAL("-3 "), -3);
  EXPECT_EQ(VAL("1 2"), 1);
  EXPECT_EQ(VAL("12abc"), 12);
  EXPECT_EQ(VAL("+3"), 3);
  EXPECT_EQ(VAL(".5"), 0.5);
  EXPECT_EQ(VAL("-.25"), -0.25);
  EXPECT_EQ(VAL("1.2.3"), 1.2f);
  EXPECT_EQ(VAL("1e3"), 1000);
  EXPECT_EQ(VAL("2E-2x"), 0.02f);
  EXPECT_EQ(VAL("1.5D2"), 150);
  EXPECT_EQ(VAL("7E"), 7);
  EXPECT_EQ(VAL("5."), 5);
  EXPECT_EQ(VAL("abc"), 0);
  EXPECT_EQ(VAL("-"), 0);
  EXPECT_EQ(VAL("."), 0);
  EXPECT_EQ(VAL("-.x"), 0);
  EXPECT_EQ(VAL("x12"), 0);
}

TEST(ValuesTest, ValKeepsThePrecisionOfTheForm) {
  EXPECT_EQ(VAL("0.1"), static_cast<double>(0.1f));
  EXPECT_EQ(VAL("0.1D0"), 0.1);
  EXPECT_EQ(VAL("0.10000001"), 0.10000001);  // 8 digits: double
  EXPECT_EQ(VAL("16777217"), 16777217);      // whole: exact, not a single
  EXPECT_EQ(VAL("123456789012"), 123456789012.0);
  EXPECT_EQ(VAL("1E-400"), 0);
  EXPECT_EQ(errorCodeOf([] { VAL("1E400"); }), err::Overflow);
  EXPECT_EQ(errorCodeOf([] { VAL("-1D999"); }), err::Overflow);
}

TEST(ValuesTest, PlainWholeNumbersReadAsTheGeneralFormReadsThem) {
  EXPECT_TRUE(std::signbit(VAL("-0")));
  EXPECT_EQ(VAL("007"), 7);
  EXPECT_EQ(VAL("+999999999"), 999999999);
  EXPECT_EQ(VAL("-1234567890"), -1234567890);  // ten digits
  EXPECT_EQ(VAL("2147483648"), 2147483648.0);
  EXPECT_EQ(VAL("12e1"), 120);
  EXPECT_EQ(VAL("12d1"), 120);
  EXPECT_EQ(VAL("12.75"), 12.75);
  EXPECT_EQ(VAL("3,4"), 3);
  EXPECT_EQ(wholeNumber("  42  "), 42);
  EXPECT_EQ(wholeNumber("42,"), std::nullopt);
}

TEST(ValuesTest, ValReadsHexAndOctal) {
  EXPECT_EQ(VAL("&HFF"), 255);
  EXPECT_EQ(VAL("&hff"), 255);
  EXPECT_EQ(VAL("&HFFFF"), -1);
  EXPECT_EQ(VAL("&H7FFF"), 32767);
  EXPECT_EQ(VAL("&H10000"), 65536);
  EXPECT_EQ(VAL("&HFFFFFFFF"), -1);
  EXPECT_EQ(VAL("&o17"), 15);
  EXPECT_EQ(VAL("&O177777"), -1);
  EXPECT_EQ(VAL("&H"), 0);
  EXPECT_EQ(VAL("&X1"), 0);
  EXPECT_EQ(errorCodeOf([] { VAL("&H100000000"); }), err::Overflow);
}

TEST(ValuesTest, IsNumberAcceptsOnlyAWholeNumberText) {
  EXPECT_TRUE(isNumber("12"));
  EXPECT_TRUE(isNumber(" 12 "));
  EXPECT_TRUE(isNumber("-3.5"));
  EXPECT_TRUE(isNumber("1.5E+07"));
  EXPECT_TRUE(isNumber("&HFF"));
  EXPECT_FALSE(isNumber(""));
  EXPECT_FALSE(isNumber("   "));
  EXPECT_FALSE(isNumber("abc"));
  EXPECT_FALSE(isNumber("12abc"));
  EXPECT_FALSE(isNumber("1 2"));
  EXPECT_FALSE(isNumber("+"));
  EXPECT_FALSE(isNumber("&H"));
  EXPECT_FALSE(isNumber("1E400"));
}

TEST(ValuesTest, TimeIsHoursMinutesSeconds) {
  std::string time = TIME();
  ASSERT_EQ(time.size(), 8u);
  EXPECT_EQ(time[2], ':');
  EXPECT_EQ(time[5], ':');
  EXPECT_LT(std::stoi(time.substr(0, 2)), 24);
  EXPECT_LT(std::stoi(time.substr(3, 2)), 60);
  EXPECT_LT(std::stoi(time.substr(6, 2)), 61);
}

TEST(StringsTest, CutsCountBytes) {
  const std::string kana = "\x83\x4A\x83\x58";  // two double-byte characters
  EXPECT_EQ(LEN(kana + "ab"), 6);
  EXPECT_EQ(LEFT("abcdef", 2), "ab");
  EXPECT_EQ(LEFT("abc", 10), "abc");
  EXPECT_EQ(LEFT("abc", 1.5), "ab");  // count rounded half to even
  EXPECT_EQ(LEFT(kana, 2), "\x83\x4A");
  EXPECT_EQ(RIGHT("abcdef", 2), "ef");
  EXPECT_EQ(RIGHT("abc", 10), "abc");
  EXPECT_EQ(RIGHT("abc", 0), "");
  EXPECT_EQ(MID("abcdef", 2, 3), "bcd");
  EXPECT_EQ(MID("abcdef", 5, 10), "ef");
  EXPECT_EQ(MID("abcdef", 7, 1), "");
  EXPECT_EQ(MID("abcdef", 3), "cdef");
  EXPECT_EQ(SPACE(3), "   ");
  EXPECT_EQ(SPACE(0), "");
}

TEST(StringsTest, NegativeCountsAndPositionsAreIllegal) {
  EXPECT_EQ(errorCodeOf([] { LEFT("abc", -1); }), err::IllegalArgument);
  EXPECT_EQ(errorCodeOf([] { RIGHT("abc", -1); }), err::IllegalArgument);
  EXPECT_EQ(errorCodeOf([] { MID("abc", 0, 1); }), err::IllegalArgument);
  EXPECT_EQ(errorCodeOf([] { MID("abc", 1, -1); }), err::IllegalArgument);
  EXPECT_EQ(errorCodeOf([] { SPACE(-1); }), err::IllegalArgument);
  EXPECT_EQ(errorCodeOf([] { LEFT("abc", 3e9); }), err::Overflow);
}

TEST(StringsTest, CharacterCodes) {
  EXPECT_EQ(CHR(65), "A");
  EXPECT_EQ(CHR(0), std::string(1, '\0'));
  EXPECT_EQ(CHR(255), "\xFF");
  EXPECT_EQ(ASC("\x82\xA0"), 0x82);
  EXPECT_EQ(ASC("A"), 65);
  EXPECT_EQ(errorCodeOf([] { CHR(256); }), err::IllegalArgument);
  EXPECT_EQ(errorCodeOf([] { CHR(-1); }), err::IllegalArgument);
  EXPECT_EQ(errorCodeOf([] { ASC(""); }), err::IllegalArgument);
  EXPECT_EQ(concat("ab", "cd"), "abcd");
  EXPECT_EQ(concat("", ""), "");
}

TEST(StringsTest, ComparisonIsByUnsignedBytes) {
  using namespace std::string_literals;
  EXPECT_LT("ab"s, "abc"s);
  EXPECT_GT("abd"s, "abc"s);
  EXPECT_GT("\x82\xA0"s, "z"s);
  EXPECT_GT("a\x82"s, "a~"s);
  EXPECT_NE("ab"s, "ab "s);
}

}  // namespace
}  // namespace kestrun::rt
