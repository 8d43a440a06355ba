#include "game/state/record_io.h"

#include <cmath>

#include "runtime/values.h"

namespace kestrun::game {

void writeNumber(rt::FileTable& files, int fileNumber, double value, std::source_location where) {
  const bool whole = std::nearbyint(value) == value;
  if (whole && value >= INT32_MIN && value <= INT32_MAX) {
    files.PRINT(fileNumber, static_cast<int32_t>(value), rt::Sep::EndLine, where);
  } else {
    files.PRINT(fileNumber, value, rt::Sep::EndLine, where);
  }
}

void writeText(rt::FileTable& files, int fileNumber, const std::string& text,
               std::source_location where) {
  // A text with a comma or leading blanks would not read back whole, so it is
  // written in quotes; every other text is written as it is.
  const bool needsQuotes = text.find(',') != std::string::npos ||
                           (!text.empty() && (text.front() == ' ' || text.front() == '"'));
  files.PRINT(fileNumber, needsQuotes ? '"' + text + '"' : text, rt::Sep::EndLine, where);
}

float readSingle(rt::FileTable& files, int fileNumber, std::source_location where) {
  return rt::toSingle(files.inputNumber(fileNumber, where), where);
}

int32_t readLong(rt::FileTable& files, int fileNumber, std::source_location where) {
  return rt::toInt32(files.inputNumber(fileNumber, where), where);
}

std::string readText(rt::FileTable& files, int fileNumber, std::source_location where) {
  return files.inputString(fileNumber, where);
}

}  // namespace kestrun::game
