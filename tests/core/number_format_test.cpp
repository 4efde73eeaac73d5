#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

#include "core/number.h"

namespace {

TEST(NumberToText, ThirteenSignificantDigitsInTheProgramsFormat) {
  struct Row {
    double value;
    const char* text;
  } rows[] = {
      {0.0, "0"},
      {-0.0, "0"},
      {1.0 / 3, "0.3333333333333"},
      {2.0 / 3, "0.6666666666667"},
      {100.0 / 3, "33.33333333333"},
      {0.1 + 0.2, "0.3"},
      {-1234.5, "-1234.5"},
      {1234567890123.0, "1234567890123"},
      {12345678901234.0, "1.234567890123e+013"},
      {9999999999999.5, "1e+013"},
      {1e15, "1e+015"},
      {9007199254740992.0, "9.007199254741e+015"},
      {0.0001, "0.0001"},
      {0.00001, "1e-005"},
      {0.000123456, "0.000123456"},
      {-0.000012345, "-1.2345e-005"},
      {1.5e-7, "1.5e-007"},
      {1e100, "1e+100"},
      {std::numeric_limits<double>::max(), "1.797693134862e+308"},
      {1.0000000000001, "1"},
      {3.141592653589793, "3.14159265359"},
      {std::sqrt(2.0), "1.414213562373"},
      {std::numeric_limits<double>::infinity(), "1.#INF"},
      {-std::numeric_limits<double>::infinity(), "-1.#INF"},
      {std::numeric_limits<double>::denorm_min(), "4.940656458412e-324"},
      {-1e-300, "-1e-300"},
      {0.99999999999995, "1"},
      {123456789 * 1000000.0, "1.23456789e+014"},
      {2.4, "2.4"},
      {0.499999999987, "0.499999999987"},
  };
  for (const auto& row : rows) EXPECT_EQ(NumberToText(row.value), row.text) << row.text;
}

TEST(NumberToText, NaNKindsHaveTheirOwnTexts) {
  const double zero = 0.0;
  volatile double z = zero;
  EXPECT_EQ(NumberToText(z / z), "-1.#IND");  // the NaN of an invalid operation
  EXPECT_EQ(NumberToText(IndefiniteNaN()), "-1.#IND");
  EXPECT_EQ(NumberToText(std::bit_cast<double>(0x7FF8000000000000ULL)), "1.#QNAN");
  EXPECT_EQ(NumberToText(std::bit_cast<double>(0xFFF8000000000001ULL)), "-1.#QNAN");
  EXPECT_EQ(NumberToText(std::bit_cast<double>(0x7FF0000000000001ULL)), "1.#SNAN");
  EXPECT_EQ(NumberToText(std::bit_cast<double>(0xFFF0000000000001ULL)), "-1.#SNAN");
}

// The 14th digit is read from the 17-digit form, not from the exact binary
// value, so a value just below a half rounds up where "%.13g" rounds down.
TEST(NumberToText, RoundsFromSeventeenDigitsNotFromTheExactValue) {
  const double x = 1.9666868390665;
  char printf13[64];
  std::snprintf(printf13, sizeof printf13, "%.13g", x);
  EXPECT_STREQ(printf13, "1.966686839066");
  EXPECT_EQ(NumberToText(x), "1.966686839067");
}

// An oracle of its own: the 17 digits from printf, rounded to 13 on the digit
// string, compared by value with what NumberToText wrote, plus the shape
// rules (exponent form exactly when the exponent is below -4 or 13 and over,
// no trailing zeros, three-digit exponents).
TEST(NumberToText, AgreesWithAnIndependentOracleOnRandomDoubles) {
  std::mt19937_64 random(20261211);
  for (int i = 0; i < 200000; ++i) {
    double value;
    switch (i % 3) {
      case 0: value = std::bit_cast<double>(random()); break;
      case 1: value = std::ldexp(static_cast<double>(random() >> 11), static_cast<int>(random() % 120) - 80); break;
      default: value = static_cast<double>(random() % 100000000000000ULL) / std::pow(10.0, static_cast<double>(random() % 20)); break;
    }
    if (!std::isfinite(value) || value == 0) continue;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.16e", std::fabs(value));
    std::string digits = std::string(1, buffer[0]) + std::string(buffer + 2, 16);
    int exponent = std::atoi(buffer + 19);
    std::string kept = digits.substr(0, 13);
    if (digits[13] >= '5') {
      int at = 12;
      while (at >= 0 && kept[static_cast<size_t>(at)] == '9') kept[static_cast<size_t>(at--)] = '0';
      if (at < 0) {
        kept = "1" + kept.substr(0, 12);
        ++exponent;
      } else {
        ++kept[static_cast<size_t>(at)];
      }
    }
    const std::string expected = (value < 0 ? "-" : "") + kept.substr(0, 1) + "." + kept.substr(1) + "e" + std::to_string(exponent);
    const std::string text = NumberToText(value);
    ASSERT_EQ(std::strtod(text.c_str(), nullptr), std::strtod(expected.c_str(), nullptr)) << text << " vs " << expected;
    const bool exponentForm = exponent < -4 || exponent >= 13;
    const auto e = text.find('e');
    ASSERT_EQ(e != std::string::npos, exponentForm) << text;
    const std::string mantissa = exponentForm ? text.substr(0, e) : text;
    if (mantissa.find('.') != std::string::npos) {
      ASSERT_NE(mantissa.back(), '0') << text;
      ASSERT_NE(mantissa.back(), '.') << text;
    }
    if (exponentForm) {
      ASSERT_EQ(text.size() - e, 5u) << text;  // "e", the sign, three digits
    }
  }
}

}  // namespace
