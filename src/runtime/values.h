#pragma once

#include <cstdint>
#include <optional>
#include <source_location>
#include <string>
#include <string_view>

namespace kestrun::rt {

using Loc = std::source_location;

// Conversions to whole numbers round to the nearest, ties to even
// (2.5 -> 2, 3.5 -> 4); a value out of the target's range is error 6.
int16_t toInt16(double v, Loc where = Loc::current());
int32_t toInt32(double v, Loc where = Loc::current());
// A value beyond the single range is error 6.
float toSingle(double v, Loc where = Loc::current());

// Largest whole number not above x: INT(-2.5) = -3.
double INT(double x);
// Remainder of the operands taken as 32-bit whole numbers, truncated toward
// zero (7 MOD -3 = 1, -7 MOD 3 = -1); b = 0 is error 11.
int32_t MOD(double a, double b, Loc where = Loc::current());

// The arithmetic check after every operation: an invalid result is error 5,
// an infinite one error 6.
double checked(double v, Loc where = Loc::current());
// a / b with the division check (error 11) and the arithmetic check.
double divide(double a, double b, Loc where = Loc::current());

// VAL: the number at the start of the text (0 when there is none); the value
// has the precision its form needs (integer, single or double). A number
// beyond the double range is error 6.
double VAL(std::string_view s, Loc where = Loc::current());
// True when the whole text (leading and trailing blanks aside) is one number,
// as line input and file input require for numeric targets. Empty is false.
bool isNumber(std::string_view s);
// The value of a text that isNumber accepts, scanned once; nothing otherwise.
std::optional<double> wholeNumber(std::string_view s);

// HEX$: the 32-bit value in upper-case hexadecimal, no leading zeros;
// negative values as their 8-digit two's complement.
std::string HEX(double n, Loc where = Loc::current());
// TIME$: the local time as "hh:mm:ss".
std::string TIME();

}  // namespace kestrun::rt
