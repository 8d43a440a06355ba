#pragma once

#include <cstdint>
#include <source_location>
#include <string>

#include "runtime/files.h"

namespace kestrun::game {

// The data files hold one value per line. Whole numbers are written with all
// their digits (never in the six-digit single form), so every number reads
// back exactly.
void writeNumber(rt::FileTable& files, int fileNumber, double value,
                 std::source_location where = std::source_location::current());
void writeText(rt::FileTable& files, int fileNumber, const std::string& text,
               std::source_location where = std::source_location::current());

// The next value as a single-precision number (error 6 when it does not fit).
float readSingle(rt::FileTable& files, int fileNumber,
                 std::source_location where = std::source_location::current());
// The next value as a 32-bit whole number (error 6 when it does not fit).
int32_t readLong(rt::FileTable& files, int fileNumber,
                 std::source_location where = std::source_location::current());
std::string readText(rt::FileTable& files, int fileNumber,
                     std::source_location where = std::source_location::current());

}  // namespace kestrun::game
