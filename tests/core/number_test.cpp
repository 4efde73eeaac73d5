#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

#include "core/gbk.h"
#include "core/number.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

struct NumberRow {
  const char* text;
  double value;
};

const NumberRow kNumberRows[] = {
    {"", 0},          {"  12.5", 12.5}, {"-3", -3},         {"+7", 7},
    {"2.7", 2.7},     {".5", 0.5},      {"5.", 5},          {"1.5E-2", 0.015},
    {"2d2", 200},     {"2D-1", 0.2},    {"1e", 1},          {"1e+", 1},
    {"12abc", 12},    {"1,234", 1},     {"abc", 0},         {"0x1A", 0},
    {"1.#INF", 1},    {"-1.#IND", -1},  {"1e400", kInf},    {"-1e400", -kInf},
    {"1e-400", 0},    {"   ", 0},       {"-", 0},           {".", 0},
    {"\t\n\v\f\r 8", 8}, {"1.2.3", 1.2}, {"3……1", 3},      {"1e+0155", 1e155},
    {"4.9e-324", 4.9e-324}, {"0.000000000000000000001", 1e-21},
    {"1e99999999999999999999", kInf},   {"0e999999", 0},
};

void ExpectSameNumber(double got, double want, const std::string& label) {
  if (std::isinf(want)) {
    EXPECT_EQ(got, want) << label;
  } else {
    EXPECT_DOUBLE_EQ(got, want) << label;
  }
}

TEST(TextToNumber, ReadsLikeAtofWithTheDExponent) {
  for (const auto& row : kNumberRows) ExpectSameNumber(TextToNumber(row.text), row.value, row.text);
}

TEST(TextToNumber, FullWidthFormsAreNormalised) {
  struct Row {
    const char* utf8;
    double value;
  } rows[] = {
      {"３．５", 3.5},   {"－２", -2},  {"＋１Ｅ２", 100}, {"　７", 7},
      {"１ｅ１", 10},    {"—5", 0},     {"5—3", 5},       {"☆1", 0},
  };
  for (const auto& row : rows) ExpectSameNumber(TextToNumber(Gbk(row.utf8)), row.value, row.utf8);
}

TEST(TextToInteger, ReadsLikeAtolWrappingAt32Bits) {
  struct Row {
    std::string text;
    std::int32_t value;
  } rows[] = {
      {"2.7", 2},          {"abc", 0},       {"-3", -3},          {" 42", 42},
      {Gbk("１２"), 12},   {"2147483647", 2147483647},
      {"2147483648", -2147483647 - 1},       {"4294967297", 1},   {"-2147483649", 2147483647},
      {"007", 7},          {"1-2", 1},       {"-", 0},            {"", 0},   {"+5", 5},
  };
  for (const auto& row : rows) EXPECT_EQ(TextToInteger(row.text), row.value) << row.text;
}

TEST(NumberToInteger, TruncatesAndKeepsTheLow32Bits) {
  struct Row {
    double value;
    std::int32_t want;
  } rows[] = {
      {2.7, 2},   {-2.7, -2},        {-0.5, 0},
      {3000000000.0, -1294967296},   {1e20, 0},  {kInf, 0},  {-kInf, 0},
      {std::nan(""), 0},             {IndefiniteNaN(), 0},
      {4294967297.9, 1},             {-9223372036854775808.0, 0},  {9223372036854775808.0, 0},
  };
  for (const auto& row : rows) EXPECT_EQ(NumberToInteger(row.value), row.want) << row.value;
}

TEST(Numbers, NoResultDependsOnTheCLocale) {
  const char* locales[] = {"de_DE.UTF-8", "de_DE.utf8", "zh_CN.UTF-8", "zh_CN.utf8"};
  int switched = 0;
  for (const char* name : locales) {
    if (!std::setlocale(LC_ALL, name)) continue;
    ++switched;
    EXPECT_EQ(TextToNumber("12.5"), 12.5) << name;
    EXPECT_EQ(TextToNumber("1,5"), 1) << name;
    EXPECT_EQ(NumberToText(1234.5), "1234.5") << name;
    EXPECT_EQ(NumberToText(1.0 / 3), "0.3333333333333") << name;
    EXPECT_EQ(NumberToText(1.5e-7), "1.5e-007") << name;
    EXPECT_EQ(IntegerToText(-1234567), "-1234567") << name;
    EXPECT_EQ(TextToInteger("1234567"), 1234567) << name;
  }
  std::setlocale(LC_ALL, "C");
  if (switched == 0) GTEST_SKIP() << "no German or Chinese locale installed";
}

TEST(RoundNumber, HalfAwayFromZeroWithTheSmallNudge) {
  struct Row {
    double x;
    int digits;
    const char* text;
  } rows[] = {
      {2.5, 0, "3"},          {-2.5, 0, "-3"},         {0.125, 2, "0.13"},    {-0.125, 2, "-0.13"},
      {2.675, 2, "2.68"},     {1.005, 2, "1.01"},      {99.995, 2, "100"},    {1.0 / 3, 2, "0.33"},
      {3.14159265359, 4, "3.1416"},                    {0.4999999999995, 0, "1"},
      {0.4999999999985, 0, "0"},                       {1234.5678, -2, "1200"},
      {1250, -2, "1300"},     {-1250, -2, "-1300"},    {123456.789, -3, "123000"},
      {0, 5, "0"},            {0.1 + 0.2, 10, "0.3"},  {0.000001, 3, "0"},
      {5, -2147483647 - 1, "-1.#IND"},                     {kInf, 2, "1.#INF"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(NumberToText(RoundNumber(row.x, row.digits)), row.text) << row.x << " to " << row.digits;
  }
  EXPECT_TRUE(std::isnan(RoundNumber(5, 2147483647)));  // 10^digits overflows: no number comes out
}

TEST(IntegerDivideAndRemainder, TruncatedQuotientAndFmodRemainder) {
  struct Row {
    double x, y, quotient, remainder;
  } rows[] = {
      {7, 2, 3, 1},    {-7, 2, -3, -1},   {7, -2, -3, 1},   {7.5, 2, 3, 1.5},
      {7, 0.5, 14, 0}, {5.5, 1.5, 3, 1},  {1e300, 1e-10, kInf, std::fmod(1e300, 1e-10)},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(IntegerDivide(row.x, row.y), row.quotient) << row.x << " / " << row.y;
    EXPECT_EQ(Remainder(row.x, row.y), row.remainder) << row.x << " % " << row.y;
  }
}

using IntegerDivideDeathTest = ::testing::Test;

TEST(IntegerDivideDeathTest, AZeroDivisorEndsTheProgram) {
  const std::string divide = "\xB2\xBB\xC4\xDC\xD5\xFB\xB3\xFD\xD3\xDA\xC1\xE3";  // 不能整除于零
  EXPECT_EQ(Gbk("不能整除于零"), divide);
  EXPECT_EXIT(IntegerDivide(7, 0), ::testing::ExitedWithCode(255), "");
  EXPECT_EXIT(IntegerDivide(7, -0.0), ::testing::ExitedWithCode(255), "");
  EXPECT_EXIT(IntegerDivide(7, std::nan("")), ::testing::ExitedWithCode(255), "");
  EXPECT_EXIT(Remainder(7, 0), ::testing::ExitedWithCode(255), "");
  EXPECT_EXIT(Remainder(7, -0.0), ::testing::ExitedWithCode(255), "");
}

TEST(Power, EdgeValues) {
  struct Row {
    double x, y;
    const char* text;
  } rows[] = {
      {0, 2, "0"},        {0, 0, "1"},           {0, -1, "1.#INF"},     {-0.0, -1, "-1.#INF"},
      {-0.0, -2, "1.#INF"}, {-2, 3, "-8"},       {-2, 2, "4"},          {-8, 1.0 / 3, "-1.#IND"},
      {2, 10, "1024"},    {8, 1.0 / 3, "2"},     {10, 400, "1.#INF"},   {2, 0.5, "1.414213562373"},
      {-2, -1, "-0.5"},   {4, kInf, "1.#INF"},   {0.5, kInf, "0"},
  };
  for (const auto& row : rows) EXPECT_EQ(NumberToText(Power(row.x, row.y)), row.text) << row.x << " ^ " << row.y;
}

TEST(ElementaryFunctions, EdgeValues) {
  constexpr double kTwo63 = 9223372036854775808.0;
  EXPECT_EQ(Sine(kTwo63), kTwo63);
  EXPECT_EQ(Cosine(-kTwo63), -kTwo63);
  EXPECT_EQ(Sine(1e300), 1e300);
  EXPECT_EQ(NumberToText(Tangent(kTwo63)), "-1.#IND");
  EXPECT_EQ(NumberToText(Tangent(-1e19)), "-1.#IND");
  EXPECT_EQ(NumberToText(NaturalLog(-1)), "-1.#IND");
  EXPECT_EQ(NumberToText(NaturalLog(0)), "-1.#INF");
  EXPECT_EQ(NumberToText(NaturalLog(10)), "2.302585092994");
  EXPECT_EQ(NumberToText(Exp(1)), "2.718281828459");
  EXPECT_EQ(NumberToText(Exp(710)), "1.#INF");
  EXPECT_EQ(Exp(-1000), 0);
  EXPECT_EQ(NumberToText(ArcTangent(1)), "0.7853981633974");
  EXPECT_EQ(NumberToText(Sine(std::sin(0) + 0.5235987755982988)), "0.5");
  EXPECT_TRUE(std::signbit(AbsoluteValue(-0.0)));
  EXPECT_EQ(AbsoluteValue(-2.5), 2.5);
  EXPECT_EQ(NumberToText(AbsoluteValue(-0.0)), "0");
}

}  // namespace
