#pragma once
// The name score: a name turned into a number from 0 to 99, the grade shown
// beside each count of the animation and the one-line verdict at its end.
// Pure functions over GBK texts; the page handlers live in namescore_page.
#include <cstdint>
#include <string>
#include <string_view>

// The score of a name: spaces (ASCII and ideographic) removed, then every
// byte of what remains counts with its signed value. 0 to 99.
std::int32_t NameScore(std::string_view gbkName);

// The grade caption for a count of the animation (1 to 99), GBK. The
// animation never asks for 0: a score of 0 keeps the caption "←残级→" that the
// page sets before counting.
std::string ScoreGrade(std::int32_t count);

// The verdict for a final score (0 to 99), GBK.
std::string ScoreVerdict(std::int32_t score);
