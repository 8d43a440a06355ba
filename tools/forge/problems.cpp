#include "problems.h"

namespace kestrun::forge {

std::string placed(const Place& where, const std::string& sentence) {
  std::string line = where.file;
  if (where.line > 0) line += ":" + std::to_string(where.line);
  if (where.line > 0 && where.column > 0) line += ":" + std::to_string(where.column);
  return line + ": " + sentence;
}

void Problems::add(const Place& where, const std::string& sentence) {
  lines_.push_back(placed(where, sentence));
}

}  // namespace kestrun::forge
