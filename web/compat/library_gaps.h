// Force-included in the browser build, whose C++ library lacks a few C++20
// pieces the runtime uses: std::bit_cast, and the floating-point conversions
// of <charconv>, given here from the C library's exact printf and correctly
// rounded strtod.
#pragma once

#include <bit>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>

namespace std {

#if !defined(__cpp_lib_bit_cast)
template <typename To, typename From>
constexpr To bit_cast(const From& from) noexcept {
  static_assert(sizeof(To) == sizeof(From));
  return __builtin_bit_cast(To, from);
}
#endif

// Scientific notation with `precision` digits after the point.
inline to_chars_result to_chars(char* first, char* last, double value, chars_format,
                                int precision) {
  const int room = static_cast<int>(last - first);
  const int written = std::snprintf(first, static_cast<size_t>(room), "%.*e", precision, value);
  if (written < 0 || written >= room) return {last, errc::value_too_large};
  return {first + written, errc()};
}

inline from_chars_result from_chars(const char* first, const char* last, double& value,
                                    chars_format = chars_format::general) {
  // from_chars takes neither leading blanks nor a plus sign, which strtod would.
  if (first == last || *first == ' ' || *first == '+') return {first, errc::invalid_argument};
  const std::string text(first, last);
  char* end = nullptr;
  errno = 0;
  const double parsed = std::strtod(text.c_str(), &end);
  if (end == text.c_str()) return {first, errc::invalid_argument};
  const char* stop = first + (end - text.c_str());
  if (errno == ERANGE) return {stop, errc::result_out_of_range};
  value = parsed;
  return {stop, errc()};
}

}  // namespace std
