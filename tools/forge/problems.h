#pragma once

#include <string>
#include <vector>

namespace kestrun::forge {

// A place in a source file, for problem reports.
struct Place {
  std::string file;
  int line = 0;
  int column = 0;  // 1-based; 0 when the whole line is meant
};

// "FILE:LINE:COLUMN: sentence", leaving out what the place does not give.
std::string placed(const Place& where, const std::string& sentence);

// Every problem found in a source, each reported as "FILE:LINE: sentence".
class Problems {
 public:
  void add(const Place& where, const std::string& sentence);
  bool empty() const { return lines_.empty(); }
  size_t size() const { return lines_.size(); }
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
};

}  // namespace kestrun::forge
