#pragma once
// Number services: the one number-to-text format of the program, text to
// number conversions independent of the C locale, rounding, integer division
// and remainder, power and the elementary functions with their edge values.
#include <cstdint>
#include <string>
#include <string_view>

// The NaN that an invalid operation (0/0, log of a negative number, ...)
// produces on x86: sign set, quiet bit only. Shown as "-1.#IND".
double IndefiniteNaN();

double TextToNumber(std::string_view text);
std::int32_t TextToInteger(std::string_view text);
std::int32_t NumberToInteger(double value);
std::string NumberToText(double value);
std::string IntegerToText(std::int32_t value);

double RoundNumber(double x, int digits);
double IntegerDivide(double x, double y);  // fatal error when y is 0 or NaN
double Remainder(double x, double y);      // fatal error when y is 0 or NaN
double Power(double x, double y);
double AbsoluteValue(double x);
double Sine(double x);
double Cosine(double x);
double Tangent(double x);
double ArcTangent(double x);
double NaturalLog(double x);
double Exp(double x);
