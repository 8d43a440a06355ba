#include "runtime/values.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <limits>
#include <optional>

#include "runtime/errors.h"

namespace kestrun::rt {

namespace {

constexpr double kInt32Min = -2147483648.0;
constexpr double kInt32Max = 2147483647.0;
constexpr double kUint32Max = 4294967295.0;

// Round to nearest, ties to even (the default floating-point rounding mode).
double roundHalfEven(double v, Loc where) {
  if (std::isnan(v)) raise(err::IllegalArgument, where);
  return std::nearbyint(v);
}

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

int digitValue(char c) {
  if (isDigit(c)) return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return 99;
}

// A number found at the start of a text: its value and where it ends.
// `outOfRange` marks a number beyond the double range (error 6 for VAL).
struct ScannedNumber {
  double value = 0;
  size_t end = 0;
  bool outOfRange = false;
};

// "&H1F" / "&o17": 16-bit when the value fits 16 bits (&HFFFF is -1), else
// 32-bit two's complement; more than 32 bits is out of range.
ScannedNumber scanRadix(std::string_view s, size_t pos, int radix) {
  ScannedNumber result;
  uint64_t value = 0;
  size_t i = pos;
  while (i < s.size() && digitValue(s[i]) < radix) {
    value = value * radix + digitValue(s[i]);
    if (value > 0xFFFFFFFFu) {
      result.outOfRange = true;
      value = 0xFFFFFFFFu;
    }
    ++i;
  }
  if (i == pos) return result;
  result.end = i;
  if (value <= 0xFFFF) {
    result.value = static_cast<int16_t>(static_cast<uint16_t>(value));
  } else {
    result.value = static_cast<int32_t>(static_cast<uint32_t>(value));
  }
  return result;
}

// The precision a decimal number's form asks for: a whole number that fits
// 32 bits stays exact, up to 7 digits without a "D" exponent is a single,
// anything else a double.
double withFormPrecision(double value, int digitCount, bool doubleExponent) {
  if (std::trunc(value) == value && value >= kInt32Min && value <= kInt32Max) return value;
  if (doubleExponent || digitCount > 7) return value;
  if (std::fabs(value) > std::numeric_limits<float>::max()) return value;
  return static_cast<float>(value);
}

// The digits of a decimal number's form as read: [sign] digits [. digits].
struct MantissaForm {
  std::string text;
  int digitCount = 0;
  int leadingZeros = 0;
  int integerDigits = 0;
};

MantissaForm scanMantissa(std::string_view s, size_t& i) {
  MantissaForm m;
  if (s[i] == '+' || s[i] == '-') {
    if (s[i] == '-') m.text += '-';
    ++i;
  }
  bool seenPoint = false;
  for (; i < s.size(); ++i) {
    if (isDigit(s[i])) {
      if (m.digitCount == m.leadingZeros && s[i] == '0') ++m.leadingZeros;
      ++m.digitCount;
      if (!seenPoint) ++m.integerDigits;
    } else if (s[i] == '.' && !seenPoint) {
      seenPoint = true;
    } else {
      break;
    }
    m.text += s[i];
  }
  return m;
}

// [E|D [sign] digits]; a letter without digits still belongs to the number
// (exponent 0). Returns whether the letter was "D" (a double).
bool scanExponent(std::string_view s, size_t& i, long& exponent) {
  exponent = 0;
  if (i >= s.size()) return false;
  char letter = static_cast<char>(s[i] & ~0x20);
  if (letter != 'E' && letter != 'D') return false;
  ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  for (; i < s.size() && isDigit(s[i]); ++i) {
    if (exponent < 100000) exponent = exponent * 10 + (s[i] - '0');
  }
  if (negative) exponent = -exponent;
  return letter == 'D';
}

ScannedNumber scanDecimal(std::string_view s, size_t pos) {
  ScannedNumber result;
  MantissaForm m = scanMantissa(s, pos);
  if (m.digitCount == 0) return result;
  long exponent = 0;
  bool doubleExponent = scanExponent(s, pos, exponent);
  result.end = pos;
  std::string text = m.text + 'e' + std::to_string(exponent);
  double value = 0;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  int significant = m.digitCount - m.leadingZeros;
  if (ec == std::errc::result_out_of_range) {
    // Beyond the range either way: too large when the leading digit sits
    // above the point, else too small (0).
    long magnitude = (m.integerDigits - m.leadingZeros) + exponent;
    result.outOfRange = significant > 0 && magnitude > 0;
    value = 0;
  }
  result.value = withFormPrecision(value, significant, doubleExponent);
  return result;
}

// Most numbers of the game's files are plain whole numbers of a few digits:
// those are read directly, exactly as the general form reads them. Nullopt
// for any other form (a point, an exponent, more than nine digits).
std::optional<ScannedNumber> scanPlainWhole(std::string_view s, size_t pos) {
  const bool negative = s[pos] == '-';
  const size_t first = pos + ((s[pos] == '+' || negative) ? 1 : 0);
  constexpr size_t kMostDigits = 9;  // always within 32 bits
  size_t i = first;
  int64_t value = 0;
  for (; i < s.size() && isDigit(s[i]) && i - first <= kMostDigits; ++i) {
    value = value * 10 + (s[i] - '0');
  }
  if (i == first || i - first > kMostDigits) return std::nullopt;
  if (i < s.size()) {
    const char letter = static_cast<char>(s[i] & ~0x20);
    if (s[i] == '.' || letter == 'E' || letter == 'D') return std::nullopt;
  }
  const double magnitude = static_cast<double>(value);
  return ScannedNumber{negative ? -magnitude : magnitude, i, false};
}

// The number at `pos` (after leading blanks); end = 0 when there is none.
ScannedNumber scanNumber(std::string_view s) {
  size_t pos = 0;
  while (pos < s.size() && isBlank(s[pos])) ++pos;
  if (pos >= s.size()) return {};
  if (s[pos] == '&' && pos + 1 < s.size()) {
    char kind = s[pos + 1];
    if (kind == 'H' || kind == 'h') return scanRadix(s, pos + 2, 16);
    if (kind == 'O' || kind == 'o') return scanRadix(s, pos + 2, 8);
    return {};
  }
  size_t first = pos;
  if (s[first] == '+' || s[first] == '-') ++first;
  if (first < s.size() && s[first] == '.') ++first;
  if (first >= s.size() || !isDigit(s[first])) return {};
  if (auto whole = scanPlainWhole(s, pos)) return *whole;
  return scanDecimal(s, pos);
}

}  // namespace

int16_t toInt16(double v, Loc where) {
  double r = roundHalfEven(v, where);
  if (r < -32768.0 || r > 32767.0) raise(err::Overflow, where);
  return static_cast<int16_t>(r);
}

int32_t toInt32(double v, Loc where) {
  double r = roundHalfEven(v, where);
  if (r < kInt32Min || r > kInt32Max) raise(err::Overflow, where);
  return static_cast<int32_t>(r);
}

float toSingle(double v, Loc where) {
  if (std::isnan(v)) raise(err::IllegalArgument, where);
  float f = static_cast<float>(v);
  if (std::isinf(f)) raise(err::Overflow, where);
  return f;
}

double INT(double x) {
  return std::floor(x);
}

int32_t MOD(double a, double b, Loc where) {
  int32_t dividend = toInt32(a, where);
  int32_t divisor = toInt32(b, where);
  if (divisor == 0) raise(err::DivisionByZero, where);
  // INT32_MIN % -1 overflows in C++; the remainder is 0.
  if (divisor == -1) return 0;
  return dividend % divisor;
}

double checked(double v, Loc where) {
  if (std::isnan(v)) raise(err::IllegalArgument, where);
  if (std::isinf(v)) raise(err::Overflow, where);
  return v;
}

double divide(double a, double b, Loc where) {
  if (b == 0) raise(err::DivisionByZero, where);
  return checked(a / b, where);
}

double VAL(std::string_view s, Loc where) {
  ScannedNumber number = scanNumber(s);
  if (number.outOfRange) raise(err::Overflow, where);
  return number.value;
}

std::optional<double> wholeNumber(std::string_view s) {
  ScannedNumber number = scanNumber(s);
  if (number.end == 0 || number.outOfRange) return std::nullopt;
  for (size_t i = number.end; i < s.size(); ++i) {
    if (!isBlank(s[i])) return std::nullopt;
  }
  return number.value;
}

bool isNumber(std::string_view s) {
  return wholeNumber(s).has_value();
}

std::string HEX(double n, Loc where) {
  double r = roundHalfEven(n, where);
  uint32_t bits = r > kInt32Max && r <= kUint32Max ? static_cast<uint32_t>(r)
                                                   : static_cast<uint32_t>(toInt32(n, where));
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%X", bits);
  return buffer;
}

std::string TIME() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02u:%02u:%02u", static_cast<unsigned>(local.tm_hour),
                static_cast<unsigned>(local.tm_min), static_cast<unsigned>(local.tm_sec));
  return buffer;
}

}  // namespace kestrun::rt
