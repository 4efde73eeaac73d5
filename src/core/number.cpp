#include "core/number.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "core/fatal.h"
#include "core/gbk.h"

namespace {

constexpr std::uint64_t kIndefiniteBits = 0xFFF8000000000000ULL;
constexpr std::uint64_t kQuietBit = 0x0008000000000000ULL;

// Full-width forms, the ideographic space and a few look-alikes become their
// ASCII counterparts; every other character stays. A lead byte at the very end
// is dropped.
std::string NormaliseFullWidth(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[at]);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      ++at;
      continue;
    }
    if (at + 1 >= text.size()) break;
    unsigned char d = static_cast<unsigned char>(text[at + 1]);
    at += 2;
    if (c == 0xA1 && d == 0xA1) {
      out.push_back(' ');
    } else if (c == 0xA1 && d == 0xAB) {
      out.push_back('~');
    } else if (c == 0xA1 && (d == 0xEE || d == 0xEF)) {
      out.push_back('*');
    } else if (c == 0xA3 && d >= 0xA1 && d <= 0xFE) {
      out.push_back(static_cast<char>(d - 0x80));
    } else {
      out.push_back(static_cast<char>(c));
      out.push_back(static_cast<char>(d));
    }
  }
  return out;
}

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double IndefiniteNaN() { return std::bit_cast<double>(kIndefiniteBits); }

double TextToNumber(std::string_view raw) {
  const std::string text = NormaliseFullWidth(raw);
  std::size_t at = 0;
  const std::size_t n = text.size();
  while (at < n && IsSpace(text[at])) ++at;

  // The number is copied into a clean form for from_chars, which knows
  // neither a leading "+" nor the "d" exponent and never looks at the locale.
  std::string clean;
  bool negative = false;
  if (at < n && (text[at] == '+' || text[at] == '-')) {
    negative = text[at] == '-';
    ++at;
  }
  int digits = 0;
  bool nonZero = false;
  long long pointShift = 0;  // decimal exponent of the first significant digit
  bool seenPoint = false;
  bool leading = true;
  for (; at < n; ++at) {
    char c = text[at];
    if (IsDigit(c)) {
      ++digits;
      clean.push_back(c);
      if (c != '0') nonZero = true;
      if (leading && c == '0') {
        if (seenPoint) --pointShift;
      } else {
        if (leading) leading = false;
        if (!seenPoint) ++pointShift;
      }
    } else if (c == '.' && !seenPoint) {
      seenPoint = true;
      clean.push_back('.');
    } else {
      break;
    }
  }
  if (digits == 0) return 0.0;

  long long exponent = 0;
  if (at < n && (text[at] == 'e' || text[at] == 'E' || text[at] == 'd' || text[at] == 'D')) {
    std::size_t e = at + 1;
    bool expNegative = false;
    if (e < n && (text[e] == '+' || text[e] == '-')) {
      expNegative = text[e] == '-';
      ++e;
    }
    if (e < n && IsDigit(text[e])) {
      for (; e < n && IsDigit(text[e]); ++e) {
        if (exponent < 100000000) exponent = exponent * 10 + (text[e] - '0');
      }
      if (expNegative) exponent = -exponent;
    }
  }
  if (!nonZero) return negative ? -0.0 : 0.0;

  clean += 'e';
  clean += std::to_string(exponent);
  double value = 0.0;
  auto result = std::from_chars(clean.data(), clean.data() + clean.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Beyond the double range: infinity; below the smallest denormal: zero.
    value = pointShift + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (result.ec != std::errc()) {
    value = 0.0;
  }
  return negative ? -value : value;
}

std::int32_t TextToInteger(std::string_view raw) {
  const std::string text = NormaliseFullWidth(raw);
  std::size_t at = 0;
  while (at < text.size() && IsSpace(text[at])) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
    negative = text[at] == '-';
    ++at;
  }
  // Accumulated modulo 2^32, like a 32-bit atol.
  std::uint32_t value = 0;
  for (; at < text.size() && IsDigit(text[at]); ++at) {
    value = value * 10u + static_cast<std::uint32_t>(text[at] - '0');
  }
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

std::int32_t NumberToInteger(double value) {
  if (!std::isfinite(value)) return 0;
  double t = std::trunc(value);
  constexpr double kTwo63 = 9223372036854775808.0;
  if (t >= kTwo63 || t < -kTwo63) return 0;
  auto wide = static_cast<std::int64_t>(t);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(wide)));
}

std::string NumberToText(double value) {
  if (std::isnan(value)) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    if (bits == kIndefiniteBits) return "-1.#IND";
    const char* sign = std::signbit(value) ? "-" : "";
    return std::string(sign) + ((bits & kQuietBit) ? "1.#QNAN" : "1.#SNAN");
  }
  if (std::isinf(value)) return value > 0 ? "1.#INF" : "-1.#INF";
  if (value == 0) return "0";

  // 17 significant digits, correctly rounded, then 13 by the 14th digit alone.
  char buffer[64];
  auto res = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                           std::chars_format::scientific, 16);
  *res.ptr = '\0';
  char digits[17];
  digits[0] = buffer[0];
  std::memcpy(digits + 1, buffer + 2, 16);
  int exponent = std::atoi(buffer + 19);

  if (digits[13] >= '5') {
    int i = 12;
    while (i >= 0 && digits[i] == '9') digits[i--] = '0';
    if (i >= 0) {
      ++digits[i];
    } else {
      digits[0] = '1';
      ++exponent;
    }
  }
  int last = 12;  // the last digit kept after removing trailing zeros
  while (last > 0 && digits[last] == '0') --last;

  std::string out;
  if (value < 0) out.push_back('-');
  if (exponent < -4 || exponent >= 13) {
    out.push_back(digits[0]);
    if (last > 0) {
      out.push_back('.');
      out.append(digits + 1, static_cast<std::size_t>(last));
    }
    out.push_back('e');
    out.push_back(exponent < 0 ? '-' : '+');
    std::string e = std::to_string(exponent < 0 ? -exponent : exponent);
    if (e.size() < 3) out.append(3 - e.size(), '0');
    out += e;
  } else if (exponent >= 0) {
    out.append(digits, static_cast<std::size_t>(exponent) + 1);
    if (last > exponent) {
      out.push_back('.');
      out.append(digits + exponent + 1, static_cast<std::size_t>(last - exponent));
    }
  } else {
    out += "0.";
    out.append(static_cast<std::size_t>(-exponent - 1), '0');
    out.append(digits, static_cast<std::size_t>(last) + 1);
  }
  return out;
}

std::string IntegerToText(std::int32_t value) { return std::to_string(value); }

double RoundNumber(double x, int digits) {
  if (x == 0) return x;
  const double v = std::fabs(x);
  // The exponent is taken as a double so that the most negative count does
  // not overflow when it is negated.
  const double power = std::pow(10.0, std::fabs(static_cast<double>(digits)));
  double s = v;
  if (digits > 0) s = v * power;
  if (digits < 0) s = v / power;
  const double t = s + 1e-12;
  double n = std::trunc(t);
  if (t - n >= 0.5) n = n + 1;
  double r = n;
  if (digits > 0) r = n / power;
  if (digits < 0) r = n * power;
  return x < 0 ? -r : r;
}

double IntegerDivide(double x, double y) {
  if (y == 0 || std::isnan(y)) FatalError(Gbk("不能整除于零"));
  return std::trunc(x / y);
}

double Remainder(double x, double y) {
  if (y == 0 || std::isnan(y)) FatalError(Gbk("不能求余数于零"));
  return std::fmod(x, y);
}

double Power(double x, double y) {
  if (x < 0 && std::isfinite(y) && y != std::trunc(y)) return IndefiniteNaN();
  return std::pow(x, y);
}

double AbsoluteValue(double x) { return x >= 0 ? x : -x; }

namespace {
constexpr double kTwo63 = 9223372036854775808.0;
}

double Sine(double x) { return std::fabs(x) >= kTwo63 ? x : std::sin(x); }
double Cosine(double x) { return std::fabs(x) >= kTwo63 ? x : std::cos(x); }
double Tangent(double x) { return std::fabs(x) >= kTwo63 ? IndefiniteNaN() : std::tan(x); }
double ArcTangent(double x) { return std::atan(x); }

double NaturalLog(double x) {
  if (x < 0) return IndefiniteNaN();
  return std::log(x);
}

double Exp(double x) { return std::exp(x); }
