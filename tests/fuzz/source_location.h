// Force-included in the fuzz build: clang 14 lacks the builtin that
// libstdc++ 12's <source_location> needs, so that header defines nothing.
// This supplies the same class from the builtins clang does have (constexpr:
// clang 14 refuses a consteval one in default arguments).
#pragma once

#if !__has_builtin(__builtin_source_location)
#include <cstdint>

namespace std {
struct source_location {
  static constexpr source_location current(const char* file = __builtin_FILE(),
                                           const char* function = __builtin_FUNCTION(),
                                           uint_least32_t line = __builtin_LINE(),
                                           uint_least32_t column = __builtin_COLUMN()) noexcept {
    source_location here;
    here.file_ = file;
    here.function_ = function;
    here.line_ = line;
    here.column_ = column;
    return here;
  }
  constexpr source_location() noexcept = default;
  constexpr uint_least32_t line() const noexcept { return line_; }
  constexpr uint_least32_t column() const noexcept { return column_; }
  constexpr const char* file_name() const noexcept { return file_; }
  constexpr const char* function_name() const noexcept { return function_; }

 private:
  const char* file_ = "";
  const char* function_ = "";
  uint_least32_t line_ = 0;
  uint_least32_t column_ = 0;
};
}  // namespace std
#endif
