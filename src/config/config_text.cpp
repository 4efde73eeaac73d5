#include "config/config_text.h"

#include "config/extract.h"
#include "core/gbk.h"
#include "core/number.h"
#include "core/text.h"

std::string ConfigStartMarker() { return Gbk(";//配置开始___"); }
std::string ConfigEndMarker() { return Gbk(";//配置结束___"); }
std::string AdvancedSettingsMarker() { return Gbk("【高级配置】"); }
std::string UnitSettingsMarker() { return Gbk("【单位配置】"); }

bool ConfigFormatIsValid(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  // Tested in this order; a text shorter than a marker fails the first test.
  const std::string start = ConfigStartMarker();
  if (text.size() < start.size() || text.substr(0, start.size()) != start) return false;
  const std::string end = ConfigEndMarker();
  if (text.size() < end.size() || text.substr(text.size() - end.size()) != end) return false;
  if (FindText(text, AdvancedSettingsMarker()) == -1) return false;
  if (FindText(text, UnitSettingsMarker()) == -1) return false;
  return true;
}

ConfigSettings ReadConfigSettings(std::string_view text) {
  ConfigSettings settings;
  // When "约等到的位置为" is missing, ExtractBetween still cuts from byte 13,
  // the last underscores of the start marker: a file with any line break then
  // reads RoundDigits 0.
  const std::string round = ExtractBetween(text, Gbk("约等到的位置为"), "\r\n");
  const std::int32_t k = TextToInteger(round);
  if (!round.empty() && k >= -10 && k <= 10) settings.roundDigits = k;

  const std::string pi = ExtractBetween(text, Gbk("π取值"), Gbk("位小数"));
  const std::int32_t n = TextToInteger(pi);
  if (!pi.empty() && n >= 0 && n <= 11) settings.piDigits = n;
  return settings;
}

std::string RewriteConfigSettings(std::string_view text, std::int32_t roundDigits,
                                  std::int32_t piDigits) {
  const int a = FindTextFromEnd(text, AdvancedSettingsMarker());
  const std::string head = TextLeft(text, a + 11);
  const int u = FindText(text, UnitSettingsMarker());
  const std::string tail = TextRight(text, TextLength(text) - u + 1);
  return ConcatText({head, Gbk("\r\n约等到的位置为"), IntegerToText(roundDigits), Gbk("\r\nπ取值"),
                     IntegerToText(piDigits), Gbk("位小数\r\n"), tail});
}
