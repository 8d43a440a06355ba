#include "runtime/numformat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "runtime/errors.h"
#include "runtime/sjis.h"

namespace kestrun::rt {

namespace {

// A non-negative number as decimal digits: 0.DIGITS x 10^pointPos, without
// trailing zeros; no digits at all is zero.
struct Decimal {
  std::string digits;
  int pointPos = 0;

  bool isZero() const { return digits.empty(); }
  // Digit i, with the zeros that follow the last stored digit.
  char digitAt(int i) const {
    return i >= 0 && static_cast<size_t>(i) < digits.size() ? digits[i] : '0';
  }
  // Digits [from, to) of the infinite expansion.
  std::string digitRange(int from, int to) const {
    std::string text;
    for (int i = from; i < to; ++i) text += digitAt(i);
    return text;
  }
};

void dropTrailingZeros(Decimal& d) {
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
}

// Every digit of a finite magnitude: 767 significant digits hold the exact
// expansion of any double, so later rounding never sees a rounded input.
Decimal exactDecimal(double magnitude) {
  Decimal d;
  if (magnitude == 0) return d;
  char buffer[800];
  auto result =
      std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 767);
  std::string_view text(buffer, result.ptr - buffer);
  size_t e = text.find('e');
  d.digits += text[0];
  d.digits += text.substr(2, e - 2);
  d.pointPos = std::atoi(std::string(text.substr(e + 1)).c_str()) + 1;
  dropTrailingZeros(d);
  return d;
}

// Keeps the first `keep` digits, rounding half up at the next one (which is
// half away from zero on the magnitude).
Decimal roundHalfUp(Decimal d, int keep) {
  if (keep < 0) return {};
  if (d.digits.size() <= static_cast<size_t>(keep)) return d;
  bool up = d.digits[keep] >= '5';
  d.digits.resize(keep);
  if (up) {
    int i = keep - 1;
    while (i >= 0 && d.digits[i] == '9') d.digits[i--] = '0';
    if (i >= 0) {
      ++d.digits[i];
    } else {
      d.digits.insert(d.digits.begin(), '1');
      ++d.pointPos;
    }
  }
  dropTrailingZeros(d);
  return d;
}

// "+07", "-12", "+100": the sign and at least two digits.
std::string exponentText(int exponent) {
  std::string digits = std::to_string(std::abs(exponent));
  if (digits.size() < 2) digits.insert(0, "0");
  return (exponent < 0 ? "-" : "+") + digits;
}

// Plain form when every digit fits the count: a whole part of at most
// `count` digits, or leading zeros after the point plus the digits at most
// `count` (.001 plain; 1.5E-07 not).
bool fitsPlainForm(const Decimal& d, int count) {
  if (d.pointPos > 0) return d.pointPos <= count;
  return -d.pointPos + static_cast<int>(d.digits.size()) <= count;
}

// "123", "1.5", ".25", ".001": no leading zero before the point.
std::string plainForm(const Decimal& d) {
  int size = static_cast<int>(d.digits.size());
  if (d.pointPos <= 0) return "." + std::string(-d.pointPos, '0') + d.digits;
  if (size <= d.pointPos) return d.digits + std::string(d.pointPos - size, '0');
  return d.digits.substr(0, d.pointPos) + "." + d.digits.substr(d.pointPos);
}

// "1E+07", "1.23457E+06", "1.5D-20".
std::string exponentForm(const Decimal& d, char letter) {
  std::string text(1, d.digits[0]);
  if (d.digits.size() > 1) text += "." + d.digits.substr(1);
  return text + letter + exponentText(d.pointPos - 1);
}

std::string realText(double v, int count, char letter) {
  std::string sign = v < 0 ? "-" : " ";
  if (!std::isfinite(v)) return sign + (std::isnan(v) ? "NaN " : "Inf ");
  Decimal d = roundHalfUp(exactDecimal(std::fabs(v)), count);
  if (d.isZero()) return " 0 ";
  return sign + (fitsPlainForm(d, count) ? plainForm(d) : exponentForm(d, letter)) + " ";
}

std::string integerText(int32_t v) {
  return (v < 0 ? "" : " ") + std::to_string(v) + " ";
}

struct NumberTextVisitor {
  std::string operator()(const std::string& s) const { return s; }
  std::string operator()(int16_t v) const { return integerText(v); }
  std::string operator()(int32_t v) const { return integerText(v); }
  std::string operator()(float v) const { return realText(v, 6, 'E'); }
  std::string operator()(double v) const { return realText(v, 15, 'D'); }
};

// A formatted number: its magnitude with the digits its type carries (a
// single 7, a double 16, integers exact) and its sign.
struct SignedDecimal {
  Decimal magnitude;
  bool negative = false;
};

SignedDecimal signedDecimal(const PrintItem& item) {
  auto carried = [](double v, int digits) {
    return SignedDecimal{roundHalfUp(exactDecimal(std::fabs(v)), digits), v < 0};
  };
  if (auto* v = std::get_if<int16_t>(&item)) return {exactDecimal(std::abs(*v)), *v < 0};
  if (auto* v = std::get_if<int32_t>(&item)) return {exactDecimal(std::fabs(*v)), *v < 0};
  if (auto* v = std::get_if<float>(&item)) return carried(*v, 7);
  return carried(std::get<double>(item), 16);
}

enum class FieldKind : uint8_t { Number, FirstCharacter, WholeString, FixedString };

// A numeric field: [+] [** | **\ | \\] #,# [. ##] [^^^^] [+ | -]. The "**"
// and "\\" prefixes add digit places (the currency sign takes one place of
// "\\"); commas before the point count as digit places.
struct NumberField {
  bool leadingPlus = false;
  char trailingSign = 0;
  bool asteriskFill = false;
  bool currency = false;
  bool thousands = false;
  bool point = false;
  bool exponent = false;
  int integerPlaces = 0;
  int decimals = 0;
};

struct Field {
  FieldKind kind;
  size_t start = 0;
  size_t length = 0;
  NumberField number;
};

constexpr char kCurrency = '\\';

bool startsNumberField(std::string_view f, size_t i) {
  if (i >= f.size()) return false;
  char next = i + 1 < f.size() ? f[i + 1] : 0;
  return f[i] == '#' || (f[i] == '.' && next == '#') || (f[i] == '*' && next == '*') ||
         (f[i] == kCurrency && next == kCurrency);
}

std::optional<Field> numberFieldAt(std::string_view f, size_t start) {
  NumberField n;
  size_t i = start;
  if (f[i] == '+' && startsNumberField(f, i + 1)) {
    n.leadingPlus = true;
    ++i;
  } else if (!startsNumberField(f, i)) {
    return std::nullopt;
  }
  auto at = [&](size_t k) { return k < f.size() ? f[k] : '\0'; };
  if (at(i) == '*' && at(i + 1) == '*') {
    n.asteriskFill = true;
    n.integerPlaces += 2;
    i += 2;
    if (at(i) == kCurrency) {
      n.currency = true;
      ++i;
    }
  } else if (at(i) == kCurrency && at(i + 1) == kCurrency) {
    n.currency = true;
    n.integerPlaces += 1;
    i += 2;
  }
  for (; at(i) == '#' || at(i) == ','; ++i) {
    n.thousands = n.thousands || at(i) == ',';
    ++n.integerPlaces;
  }
  if (at(i) == '.') {
    n.point = true;
    for (++i; at(i) == '#'; ++i) ++n.decimals;
  }
  if (f.substr(std::min(i, f.size()), 4) == "^^^^") {
    n.exponent = true;
    i += 4;
  }
  if (!n.leadingPlus && (at(i) == '+' || at(i) == '-')) n.trailingSign = f[i++];
  return Field{FieldKind::Number, start, i - start, n};
}

// The field that starts at `i`, if one does.
std::optional<Field> fieldAt(std::string_view f, size_t i) {
  switch (f[i]) {
    case '!':
      return Field{FieldKind::FirstCharacter, i, 1, {}};
    case '@':
      return Field{FieldKind::WholeString, i, 1, {}};
    case '&': {
      size_t close = i + 1;
      while (close < f.size() && f[close] == ' ') ++close;
      if (close < f.size() && f[close] == '&')
        return Field{FieldKind::FixedString, i, close - i + 1, {}};
      return std::nullopt;
    }
    default:
      return numberFieldAt(f, i);
  }
}

// Copies the literal text from `pos` up to the next field and returns that
// field, leaving `pos` at its start; nullopt at the end of the format. "_"
// makes the next character literal. Double-byte characters are copied whole,
// so a second byte that looks like "@" or "\" never starts a field.
std::optional<Field> copyLiteralText(std::string_view f, size_t& pos, std::string& out) {
  while (pos < f.size()) {
    if (auto field = fieldAt(f, pos)) return field;
    if (f[pos] == '_' && pos + 1 < f.size()) ++pos;
    size_t length = charLength(f, pos);
    out.append(f.substr(pos, length));
    pos += length;
  }
  return std::nullopt;
}

std::string groupThousands(const std::string& digits) {
  std::string grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

std::string leadingSign(const NumberField& n, bool negative) {
  if (n.leadingPlus) return negative ? "-" : "+";
  return negative && n.trailingSign == 0 ? "-" : "";
}

std::string trailingSign(const NumberField& n, bool negative) {
  if (n.trailingSign == '+') return negative ? "-" : "+";
  if (n.trailingSign == '-') return negative ? "-" : " ";
  return "";
}

std::string prefixOf(const NumberField& n, bool negative) {
  return leadingSign(n, negative) + (n.currency ? std::string(1, kCurrency) : "");
}

// "12.50", "1,234", "-.50": rounded to the field's decimals; a leading 0
// before the point only where the field has room for it.
std::string fixedNumberText(const Field& field, const SignedDecimal& value) {
  const NumberField& n = field.number;
  Decimal r = roundHalfUp(value.magnitude, value.magnitude.pointPos + n.decimals);
  bool negative = value.negative && !r.isZero();
  std::string whole = r.digitRange(0, r.pointPos);
  if (n.thousands) whole = groupThousands(whole);
  std::string fraction = n.point ? "." + r.digitRange(r.pointPos, r.pointPos + n.decimals) : "";
  std::string prefix = prefixOf(n, negative);
  std::string suffix = trailingSign(n, negative);
  if (whole.empty()) {
    size_t withZero = prefix.size() + 1 + fraction.size() + suffix.size();
    if (!n.point || (n.integerPlaces > 0 && withZero <= field.length)) whole = "0";
  }
  return prefix + whole + fraction + suffix;
}

// "2.35E+02": the digit places before the point, less one kept for the sign
// when the field has no sign of its own, hold the mantissa's whole part.
std::string exponentNumberText(const NumberField& n, const SignedDecimal& value) {
  int signPlace = !n.leadingPlus && n.trailingSign == 0 ? 1 : 0;
  int wholeDigits = std::max(0, n.integerPlaces - signPlace);
  if (wholeDigits + n.decimals == 0) wholeDigits = 1;
  Decimal r = roundHalfUp(value.magnitude, wholeDigits + n.decimals);
  bool negative = value.negative && !r.isZero();
  int exponent = r.isZero() ? 0 : r.pointPos - wholeDigits;
  std::string mantissa = r.digitRange(0, wholeDigits);
  if (n.point) mantissa += "." + r.digitRange(wholeDigits, wholeDigits + n.decimals);
  return prefixOf(n, negative) + mantissa + "E" + exponentText(exponent) +
         trailingSign(n, negative);
}

// Right-aligned in the field; a number wider than its field shows "%" and
// its whole text.
std::string numberFieldText(const Field& field, const PrintItem& item) {
  SignedDecimal value = signedDecimal(item);
  const NumberField& n = field.number;
  std::string text = n.exponent ? exponentNumberText(n, value) : fixedNumberText(field, value);
  if (text.size() > field.length) return "%" + text;
  return std::string(field.length - text.size(), n.asteriskFill ? '*' : ' ') + text;
}

// Cut or blank-padded to `width` bytes; a double-byte character that would
// be cut in half becomes a blank.
std::string fitToWidth(std::string_view s, size_t width) {
  size_t end = 0;
  while (end < s.size() && end + charLength(s, end) <= width) end += charLength(s, end);
  std::string text(s.substr(0, end));
  text.append(width - end, ' ');
  return text;
}

std::string stringFieldText(const Field& field, const std::string& s) {
  switch (field.kind) {
    case FieldKind::FirstCharacter:
      return s.empty() ? " " : s.substr(0, charLength(s, 0));
    case FieldKind::FixedString:
      return fitToWidth(s, field.length);
    default:
      return s;
  }
}

std::string fieldText(const Field& field, const PrintItem& item, std::source_location where) {
  const auto* s = std::get_if<std::string>(&item);
  if ((field.kind == FieldKind::Number) == (s != nullptr)) raise(err::TypeMismatch, where);
  return s ? stringFieldText(field, *s) : numberFieldText(field, item);
}

bool hasField(std::string_view format) {
  size_t pos = 0;
  std::string ignored;
  return copyLiteralText(format, pos, ignored).has_value();
}

}  // namespace

std::string numberText(const PrintItem& number) {
  return std::visit(NumberTextVisitor{}, number);
}

std::string itemText(const PrintItem& item) {
  return numberText(item);
}

std::string formatUsing(std::string_view format, std::span<const PrintItem> items,
                        std::source_location where) {
  if (!hasField(format)) raise(err::IllegalArgument, where);
  std::string out;
  size_t pos = 0;
  for (const PrintItem& item : items) {
    auto field = copyLiteralText(format, pos, out);
    if (!field) {
      pos = 0;
      field = copyLiteralText(format, pos, out);
    }
    out += fieldText(*field, item, where);
    pos = field->start + field->length;
    copyLiteralText(format, pos, out);
  }
  return out;
}

}  // namespace kestrun::rt
