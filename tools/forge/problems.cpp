#include "problems.h"

namespace kestrun::forge {

void Problems::add(const Place& where, const std::string& sentence) {
  std::string line = where.file;
  if (where.line > 0) line += ":" + std::to_string(where.line);
  lines_.push_back(line + ": " + sentence);
}

}  // namespace kestrun::forge
