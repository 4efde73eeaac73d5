#pragma once
// The content rules of config.ini as pure functions over its GBK text: the
// four format requirements, the two settings, and the rewrite of the settings
// block for a save.
#include <cstdint>
#include <string>
#include <string_view>

// The markers, GBK.
std::string ConfigStartMarker();     // ";//配置开始___"
std::string ConfigEndMarker();       // ";//配置结束___"
std::string AdvancedSettingsMarker();  // "【高级配置】"
std::string UnitSettingsMarker();      // "【单位配置】"

// True when `text`, up to its first zero byte, meets the four
// requirements: the start marker as its first bytes, the end marker as its
// very last bytes, and both section markers somewhere.
bool ConfigFormatIsValid(std::string_view text);

inline constexpr std::int32_t kDefaultRoundDigits = 2;
inline constexpr std::int32_t kDefaultPiDigits = 11;

struct ConfigSettings {
  std::int32_t roundDigits = kDefaultRoundDigits;
  std::int32_t piDigits = kDefaultPiDigits;
};

// The two settings as the text gives them; an absent, empty or out-of-range
// value takes its default (RoundDigits −10..10, else 2; PiDigits 0..11, else 11).
ConfigSettings ReadConfigSettings(std::string_view text);

// The text of a save: everything between the last "【高级配置】" and the
// first "【单位配置】" becomes the two settings lines; every other byte stays.
std::string RewriteConfigSettings(std::string_view text, std::int32_t roundDigits,
                                  std::int32_t piDigits);
