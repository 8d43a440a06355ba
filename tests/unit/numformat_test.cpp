#include "runtime/numformat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "runtime/errors.h"
#include "test_support.h"

namespace kestrun::rt {
namespace {

using namespace std::string_literals;

std::string using_(std::string_view format, std::vector<PrintItem> items) {
  return formatUsing(format, items);
}

TEST(NumberTextTest, IntegersHaveASignPlaceAndATrailingBlank) {
  EXPECT_EQ(numberText(int16_t{5}), " 5 ");
  EXPECT_EQ(numberText(int16_t{-5}), "-5 ");
  EXPECT_EQ(numberText(int32_t{0}), " 0 ");
  EXPECT_EQ(numberText(int16_t{-32768}), "-32768 ");
  EXPECT_EQ(numberText(int32_t{2147483647}), " 2147483647 ");
  EXPECT_EQ(numberText(12.0f), " 12 ");
  EXPECT_EQ(numberText(-3.0f), "-3 ");
  EXPECT_EQ(numberText(-0.0f), " 0 ");
  EXPECT_EQ(itemText("LV."s), "LV.");
  EXPECT_EQ(itemText(7.0f), " 7 ");
}

TEST(NumberTextTest, FractionsDropTheLeadingZero) {
  EXPECT_EQ(numberText(0.5f), " .5 ");
  EXPECT_EQ(numberText(-0.25f), "-.25 ");
  EXPECT_EQ(numberText(1.5f), " 1.5 ");
  EXPECT_EQ(numberText(0.001f), " .001 ");
  EXPECT_EQ(numberText(100.25), " 100.25 ");
}

TEST(NumberTextTest, SinglesShowSixDigitsAndDoublesFifteen) {
  EXPECT_EQ(numberText(1.0f / 3), " .333333 ");
  EXPECT_EQ(numberText(2.0f / 3), " .666667 ");
  EXPECT_EQ(numberText(1.0 / 3), " .333333333333333 ");
  EXPECT_EQ(numberText(0.1f), " .1 ");
  EXPECT_EQ(numberText(0.1), " .1 ");
  EXPECT_EQ(numberText(999999.0f), " 999999 ");
  EXPECT_EQ(numberText(123456789012345.0), " 123456789012345 ");
}

TEST(NumberTextTest, RoundsHalfUpAtTheFirstDroppedDigit) {
  // Exact ties in binary: half to even would print the lower value.
  EXPECT_EQ(numberText(1234.125f), " 1234.13 ");
  EXPECT_EQ(numberText(123456.5f), " 123457 ");
  EXPECT_EQ(numberText(-1234.125f), "-1234.13 ");
  EXPECT_EQ(numberText(std::ldexp(1.0, -22)), " 2.38418579101563D-07 ");
  EXPECT_EQ(numberText(999999.5f), " 1E+06 ");
}

TEST(NumberTextTest, TooManyDigitsUseTheExponentForm) {
  EXPECT_EQ(numberText(1e7f), " 1E+07 ");
  EXPECT_EQ(numberText(1234567.0f), " 1.23457E+06 ");
  EXPECT_EQ(numberText(-1234567.0f), "-1.23457E+06 ");
  EXPECT_EQ(numberText(1.5e-7f), " 1.5E-07 ");
  EXPECT_EQ(numberText(1e15), " 1D+15 ");
  EXPECT_EQ(numberText(-2.5e-20), "-2.5D-20 ");
  EXPECT_EQ(numberText(1e100), " 1D+100 ");
  EXPECT_EQ(numberText(3e38f), " 3E+38 ");
}

TEST(FormatUsingTest, TheGamesFormatsFillStringAndNumberFields) {
  EXPECT_EQ(using_("@##@####", {"LV."s, 5.0f, " /"s, 10.0f}), "LV. 5 /  10");
  EXPECT_EQ(using_("##", {7.0f}), " 7");
  EXPECT_EQ(using_("#", {3.0f}), "3");
  EXPECT_EQ(using_("###", {-12.0f}), "-12");
  EXPECT_EQ(using_("#########", {int32_t{123456789}}), "123456789");
  EXPECT_EQ(using_("####@", {12.0f, "G"s}), "  12G");
  EXPECT_EQ(using_("###@#", {1.0f, "x"s, 2.0f}), "  1x2");
  EXPECT_EQ(using_("@@##", {"a"s, "b"s, 7.0f}), "ab 7");
  EXPECT_EQ(using_("##@@", {7.0f, "a"s, "b"s}), " 7ab");
  EXPECT_EQ(using_("@#####@", {"["s, 42.0f, "]"s}), "[   42]");
}

TEST(FormatUsingTest, LiteralsAndRestarting) {
  EXPECT_EQ(using_("[##]", {5.0f, 6.0f}), "[ 5][ 6]");
  EXPECT_EQ(using_("HP ### MP ##.", {30.0f}), "HP  30 MP ");
  EXPECT_EQ(using_("##", {1.0f, 2.0f, 3.0f}), " 1 2 3");
  EXPECT_EQ(using_("_###", {5.0f}), "# 5");
  EXPECT_EQ(using_("a&b&@", {"xy"s}), "a&b&xy");
  EXPECT_EQ(using_("##", {}), "");
}

TEST(FormatUsingTest, DoubleByteLiteralsNeverStartFields) {
  // Second bytes 0x5C ("\") and 0x40 ("@") are part of their characters.
  EXPECT_EQ(using_("\x83\x5C\\##", {5.0f}), "\x83\x5C\\ 5");
  EXPECT_EQ(using_("\x83\x40##", {5.0f}), "\x83\x40 5");
}

TEST(FormatUsingTest, NumberFieldsRoundHalfAwayFromZero) {
  EXPECT_EQ(using_("####", {2.5f}), "   3");
  EXPECT_EQ(using_("####", {-2.5f}), "  -3");
  EXPECT_EQ(using_("##", {-0.4f}), " 0");
  EXPECT_EQ(using_("##.##", {3.14159}), " 3.14");
  EXPECT_EQ(using_("#.##", {2.675f}), "2.68");  // the single's own digits
  EXPECT_EQ(using_("##.#", {int16_t{7}}), " 7.0");
  EXPECT_EQ(using_("#.##", {0.5f}), "0.50");
  EXPECT_EQ(using_("#.##", {-0.5f}), "-.50");
  EXPECT_EQ(using_(".##", {0.25f}), ".25");
}

TEST(FormatUsingTest, NumberWiderThanItsFieldShowsPercent) {
  EXPECT_EQ(using_("##", {123.0f}), "%123");
  EXPECT_EQ(using_("##", {-10.0f}), "%-10");
  EXPECT_EQ(using_(".##", {0.999f}), "%1.00");
  EXPECT_EQ(using_("[##]", {int32_t{100}}), "[%100]");
}

TEST(FormatUsingTest, SignsFillCurrencyAndThousands) {
  EXPECT_EQ(using_("+##", {5.0f}), " +5");
  EXPECT_EQ(using_("+##", {-5.0f}), " -5");
  EXPECT_EQ(using_("##+", {5.0f}), " 5+");
  EXPECT_EQ(using_("##+", {-5.0f}), " 5-");
  EXPECT_EQ(using_("##-", {5.0f}), " 5 ");
  EXPECT_EQ(using_("##-", {-5.0f}), " 5-");
  EXPECT_EQ(using_("**###", {12.0f}), "***12");
  EXPECT_EQ(using_("**###", {-12.0f}), "**-12");
  EXPECT_EQ(using_("\\\\###", {12.0f}), "  \\12");
  EXPECT_EQ(using_("**\\##", {12.0f}), "**\\12");
  EXPECT_EQ(using_("#,###", {1234.0f}), "1,234");
  EXPECT_EQ(using_("##,###.#", {int32_t{1234567}}), "%1,234,567.0");
  EXPECT_EQ(using_("#,###", {12.0f}), "   12");
}

TEST(FormatUsingTest, ExponentFields) {
  EXPECT_EQ(using_("##.##^^^^", {234.56}), " 2.35E+02");
  EXPECT_EQ(using_("##.##^^^^", {-234.56}), "-2.35E+02");
  EXPECT_EQ(using_("+##.##^^^^", {0.00123}), "+12.30E-04");
  EXPECT_EQ(using_(".##^^^^", {234.56}), ".23E+03");
  EXPECT_EQ(using_("##.#^^^^", {0.0}), " 0.0E+00");
}

TEST(FormatUsingTest, StringFields) {
  EXPECT_EQ(using_("!", {"abc"s}), "a");
  EXPECT_EQ(using_("!", {"\x82\xA0x"s}), "\x82\xA0");
  EXPECT_EQ(using_("!", {""s}), " ");
  EXPECT_EQ(using_("&  &", {"abcdef"s}), "abcd");
  EXPECT_EQ(using_("&  &", {"ab"s}), "ab  ");
  EXPECT_EQ(using_("&&", {"abc"s}), "ab");
  EXPECT_EQ(using_("&  &", {"abc\x82\xA0"s}), "abc ");
  EXPECT_EQ(using_("&  &", {"a\x82\xA0z"s}), "a\x82\xA0z");
  EXPECT_EQ(using_("@", {"whole text"s}), "whole text");
}

TEST(FormatUsingTest, MismatchedItemsAndFieldlessFormatsAreErrors) {
  EXPECT_EQ(errorCodeOf([] { using_("##", {"x"s}); }), err::TypeMismatch);
  EXPECT_EQ(errorCodeOf([] { using_("@", {5.0f}); }), err::TypeMismatch);
  EXPECT_EQ(errorCodeOf([] { using_("!", {int16_t{1}}); }), err::TypeMismatch);
  EXPECT_EQ(errorCodeOf([] { using_("&  &", {2.0}); }), err::TypeMismatch);
  EXPECT_EQ(errorCodeOf([] { using_("abc", {5.0f}); }), err::IllegalArgument);
  EXPECT_EQ(errorCodeOf([] { using_("", {}); }), err::IllegalArgument);
  EXPECT_EQ(errorCodeOf([] { using_("a&b", {"x"s}); }), err::IllegalArgument);
}

}  // namespace
}  // namespace kestrun::rt
