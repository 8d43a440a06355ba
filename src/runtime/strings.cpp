#include "runtime/strings.h"

#include <limits>
#include <new>

#include "runtime/errors.h"
#include "runtime/values.h"

namespace kestrun::rt {

namespace {

constexpr size_t kMaxStringLength = std::numeric_limits<int32_t>::max();

// A byte count from the game's expression: rounded, and never negative.
size_t byteCount(double n, std::source_location where) {
  int32_t count = toInt32(n, where);
  if (count < 0) raise(err::IllegalArgument, where);
  return static_cast<size_t>(count);
}

}  // namespace

int32_t LEN(std::string_view s) {
  return static_cast<int32_t>(s.size());
}

std::string LEFT(std::string_view s, double n, std::source_location where) {
  return std::string(s.substr(0, byteCount(n, where)));
}

std::string RIGHT(std::string_view s, double n, std::source_location where) {
  size_t count = byteCount(n, where);
  return std::string(count >= s.size() ? s : s.substr(s.size() - count));
}

std::string MID(std::string_view s, double p, double n, std::source_location where) {
  int32_t position = toInt32(p, where);
  if (position < 1) raise(err::IllegalArgument, where);
  size_t count = byteCount(n, where);
  size_t start = static_cast<size_t>(position) - 1;
  if (start >= s.size()) return {};
  return std::string(s.substr(start, count));
}

std::string MID(std::string_view s, double p, std::source_location where) {
  return MID(s, p, static_cast<double>(kMaxStringLength), where);
}

std::string SPACE(double n, std::source_location where) {
  size_t count = byteCount(n, where);
  try {
    return std::string(count, ' ');
  } catch (const std::bad_alloc&) {
    raise(err::OutOfMemory, where);
  }
}

std::string CHR(double c, std::source_location where) {
  int32_t code = toInt32(c, where);
  if (code < 0 || code > 255) raise(err::IllegalArgument, where);
  return std::string(1, static_cast<char>(code));
}

int32_t ASC(std::string_view s, std::source_location where) {
  if (s.empty()) raise(err::IllegalArgument, where);
  return static_cast<uint8_t>(s[0]);
}

std::string concat(std::string_view a, std::string_view b, std::source_location where) {
  if (a.size() + b.size() > kMaxStringLength) raise(err::StringTooLong, where);
  std::string result;
  try {
    result.reserve(a.size() + b.size());
  } catch (const std::bad_alloc&) {
    raise(err::OutOfMemory, where);
  }
  result.append(a);
  result.append(b);
  return result;
}

}  // namespace kestrun::rt
