#pragma once

#include <cstdint>
#include <source_location>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace kestrun::rt {

// One item of a print statement, keeping its type: the type decides how many
// significant digits a number prints with (single 6, double and 32-bit 15).
using PrintItem = std::variant<std::string, int16_t, int32_t, float, double>;

// How a print item ends: 0 ends the line, 1 moves to the next 14-column zone,
// 2 leaves the cursor right after the text (the game's ";").
enum class Sep : uint8_t { EndLine = 0, Zone = 1, Semicolon = 2 };

// The text of a printed number: the sign place (blank or "-"), the digits and
// one trailing blank: 5 -> " 5 ", -5 -> "-5 ", 0.5 -> " .5 ", 1e7f -> " 1E+07 ".
std::string numberText(const PrintItem& number);
// The text of any item: a string as it is, a number as numberText.
std::string itemText(const PrintItem& item);

// Formatted printing: fills the fields of `format` ("##", "@", "&  &", "!",
// ...) with the items, restarting the format when items remain. A string at a
// numeric field or a number at a string field is error 13; a format without
// any field is error 5.
std::string formatUsing(std::string_view format, std::span<const PrintItem> items,
                        std::source_location where = std::source_location::current());

}  // namespace kestrun::rt
