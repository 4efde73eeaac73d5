#pragma once
// Program-wide settings, read from config.ini at start-up and changed by the
// settings page. The calculator reads RoundDigits and PiDigits at each use.
#include <cstdint>
#include <string>

extern std::string ConfigText;     // the whole GBK text of config.ini
extern std::int32_t RoundDigits;   // decimal places of the approximate result
extern std::int32_t PiDigits;      // decimal places of pi put in by the pi key
