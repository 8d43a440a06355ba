#pragma once

#include <cstdint>
#include <source_location>
#include <string>
#include <string_view>

namespace kestrun::rt {

// The string functions work on Shift-JIS bytes: lengths and positions count
// bytes, as the game's "cut to n bytes" rules expect.
int32_t LEN(std::string_view s);
// First / last n bytes (the whole string when n is larger); n < 0 is error 5.
std::string LEFT(std::string_view s, double n, std::source_location where = std::source_location::current());
std::string RIGHT(std::string_view s, double n, std::source_location where = std::source_location::current());
// n bytes from byte position p (1-based); empty past the end; p < 1 or n < 0
// is error 5. Without n: the rest of the string.
std::string MID(std::string_view s, double p, double n, std::source_location where = std::source_location::current());
std::string MID(std::string_view s, double p, std::source_location where = std::source_location::current());
// n blanks; n < 0 is error 5.
std::string SPACE(double n, std::source_location where = std::source_location::current());
// The one-byte string of code c (0..255, else error 5).
std::string CHR(double c, std::source_location where = std::source_location::current());
// Code of the first byte; an empty string is error 5.
int32_t ASC(std::string_view s, std::source_location where = std::source_location::current());
// a$ + b$; a result longer than 2^31 - 1 bytes is error 15.
std::string concat(std::string_view a, std::string_view b, std::source_location where = std::source_location::current());

}  // namespace kestrun::rt
