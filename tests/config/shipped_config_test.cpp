// The config.ini the build puts beside the program: its bytes, its settings
// and a unit catalogue whose conversions come out right to 13 digits.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "config/config_text.h"
#include "core/gbk.h"
#include "core/number.h"
#include "core/text.h"
#include "units/catalogue.h"
#include "units/conversion.h"

namespace {

std::string ShippedConfig() {
  std::ifstream in(QH_SHIPPED_CONFIG, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The catalogue as the program builds it from the file.
UnitCatalogue ShippedCatalogue() { return ParseUnitCatalogue(ShippedConfig()); }

int IndexOf(const TextList& list, const std::string& utf8) {
  for (std::size_t i = 0; i < list.size(); ++i)
    if (list[i] == Gbk(utf8)) return static_cast<int>(i);
  return -1;
}

TEST(ShippedConfig, BytesAreGbkWithCrLfAndTheMarkersAtBothEnds) {
  const std::string text = ShippedConfig();
  ASSERT_GT(text.size(), 1000u) << QH_SHIPPED_CONFIG;
  EXPECT_EQ(text.rfind(Gbk(";//配置开始___"), 0), 0u);
  const std::string end = Gbk(";//配置结束___");
  ASSERT_GE(text.size(), end.size());
  EXPECT_EQ(HexBytes(text.substr(text.size() - end.size())), HexBytes(end)) << "the last bytes";
  EXPECT_EQ(text.find('\0'), std::string::npos);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "a bare LF at byte " << i;
    }
    if (text[i] == '\r') {
      ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "a bare CR at byte " << i;
    }
  }
  EXPECT_EQ(Gbk(Utf8FromGbk(text)), text) << "not plain GBK";
}

TEST(ShippedConfig, LoadsWithTheDefaultSettingsAndSurvivesASave) {
  const std::string text = ShippedConfig();
  EXPECT_TRUE(ConfigFormatIsValid(text));
  const ConfigSettings settings = ReadConfigSettings(text);
  EXPECT_EQ(settings.roundDigits, 2);
  EXPECT_EQ(settings.piDigits, 11);
  // Saving the default values gives the very same file: no comment or unit
  // line stands where a save rewrites.
  EXPECT_EQ(RewriteConfigSettings(text, 2, 11), text);
}

TEST(ShippedConfig, EveryTypeHasUnitsWithPositiveFactors) {
  const UnitCatalogue catalogue = ShippedCatalogue();
  std::vector<std::string> names;
  for (const auto& name : catalogue.typeNames) names.push_back(Utf8FromGbk(name));
  const std::vector<std::string> want = {"长度", "面积", "体积", "质量",   "时间", "速度",
                                         "压强", "能量", "功率", "数据存储", "角度"};
  EXPECT_EQ(names, want);
  ASSERT_EQ(catalogue.tables.size(), want.size());

  const std::regex decimal(R"([0-9]+(\.[0-9]+)?(e-?[0-9]+)?)");
  for (std::size_t t = 0; t < catalogue.tables.size(); ++t) {
    const UnitTable& table = catalogue.tables[t];
    SCOPED_TRACE(names[t]);
    EXPECT_GE(table.unitNames.size(), 5u);
    ASSERT_EQ(table.unitNames.size(), table.factors.size());
    std::set<std::string> seen;
    std::vector<double> values;
    for (std::size_t j = 0; j < table.factors.size(); ++j) {
      const std::string unit = Utf8FromGbk(table.unitNames[j]);
      EXPECT_TRUE(seen.insert(unit).second) << "twice: " << unit;
      EXPECT_FALSE(unit.empty() || unit.find_first_of(" \r\n") != std::string::npos) << unit;
      EXPECT_TRUE(std::regex_match(table.factors[j], decimal)) << unit << ": " << table.factors[j];
      const double f = TextToNumber(table.factors[j]);
      EXPECT_TRUE(std::isfinite(f) && f > 0) << unit << ": " << table.factors[j];
      values.push_back(f);
    }
    // The converter takes factors within 1e-7 of each other for the same
    // unit; distinct units must stay further apart.
    for (std::size_t a = 0; a < values.size(); ++a)
      for (std::size_t b = a + 1; b < values.size(); ++b)
        EXPECT_TRUE(values[a] == values[b] || std::fabs(values[a] - values[b]) > 1e-7)
            << Utf8FromGbk(table.unitNames[a]) << " and " << Utf8FromGbk(table.unitNames[b]);
    // Every pair converts to a number, with a rate of at least 1 and a full
    // output.
    const int count = static_cast<int>(table.unitNames.size());
    for (int i = 0; i < count; ++i) {
      for (int o = 0; o < count; ++o) {
        const ConversionTexts shown = ConvertUnits(catalogue.tables, static_cast<int>(t), i, o, "1",
                                                   table.unitNames[i], table.unitNames[o]);
        const std::string pair = Utf8FromGbk(table.unitNames[i]) + " → " + Utf8FromGbk(table.unitNames[o]);
        EXPECT_EQ(shown.output.find('#'), std::string::npos) << pair << ": " << shown.output;
        EXPECT_GE(TextToNumber(shown.rate), 1) << pair << ": " << shown.rate;
        EXPECT_FALSE(shown.fullOutput.empty()) << pair;
      }
    }
  }
}

// The value as the converter page shows it in 输出数据编辑框.
TEST(ShippedConfig, KnownConversionsComeOutRight) {
  const UnitCatalogue catalogue = ShippedCatalogue();
  struct Row {
    const char *type, *value, *from, *to, *want;
  } rows[] = {
      {"长度", "1", "英里", "千米", "1.609344"},
      {"长度", "1", "英里", "英尺", "5280"},
      {"长度", "1", "码", "英寸", "36"},
      {"长度", "1", "英寸", "厘米", "2.54"},
      {"长度", "1", "海里", "英里", "1.150779448024"},
      {"长度", "1", "市里", "千米", "0.5"},
      {"长度", "1", "公里", "市里", "2"},
      {"长度", "1", "市丈", "米", "3.333333333333"},
      {"长度", "1", "市尺", "市寸", "10"},
      {"长度", "1", "市寸", "市分", "10"},
      {"长度", "3", "市尺", "米", "1"},
      {"长度", "1", "英尺", "市尺", "0.9144"},
      {"长度", "1", "天文单位", "千米", "149597870.7"},
      {"长度", "1", "光年", "千米", "9460730472581"},
      {"长度", "1", "纳米", "微米", "0.001"},
      {"面积", "1", "亩", "平方米", "666.6666666667"},
      {"面积", "15", "亩", "公顷", "1"},
      {"面积", "1", "市顷", "亩", "100"},
      {"面积", "1", "平方千米", "亩", "1500"},
      {"面积", "1", "英亩", "亩", "6.0702846336"},
      {"面积", "1", "平方英里", "英亩", "640"},
      {"面积", "1", "平方英尺", "平方英寸", "144"},
      {"面积", "9", "平方市尺", "平方米", "1"},
      {"面积", "1", "平方市丈", "平方市尺", "100"},
      {"体积", "1", "英制加仑", "升", "4.54609"},
      {"体积", "1", "美制加仑", "立方英寸", "231"},
      {"体积", "1", "美制加仑", "升", "3.785411784"},
      {"体积", "1", "立方英尺", "升", "28.316846592"},
      {"体积", "1", "石油桶", "美制加仑", "42"},
      {"体积", "1", "英制加仑", "英制液量盎司", "160"},
      {"体积", "1", "美制液量盎司", "毫升", "29.5735295625"},
      {"体积", "1", "市石", "市斗", "10"},
      {"体积", "1", "市升", "毫升", "1000"},
      {"体积", "1", "立方米", "立方毫米", "1000000000"},
      {"质量", "1", "斤", "两", "10"},
      {"质量", "1", "两", "钱", "10"},
      {"质量", "1", "斤", "克", "500"},
      {"质量", "1", "千克", "斤", "2"},
      {"质量", "1", "市担", "公斤", "50"},
      {"质量", "1", "磅", "千克", "0.45359237"},
      {"质量", "1", "磅", "斤", "0.90718474"},
      {"质量", "1", "磅", "盎司", "16"},
      {"质量", "1", "磅", "格令", "7000"},
      {"质量", "1", "英石", "磅", "14"},
      {"质量", "1", "长吨", "磅", "2240"},
      {"质量", "1", "短吨", "千克", "907.18474"},
      {"质量", "1", "金衡盎司", "克", "31.1034768"},
      {"质量", "1", "克拉", "毫克", "200"},
      {"时间", "1", "天", "小时", "24"},
      {"时间", "1", "周", "天", "7"},
      {"时间", "1", "时辰", "分钟", "120"},
      {"时间", "1", "刻", "分钟", "15"},
      {"时间", "1", "平年", "天", "365"},
      {"时间", "1", "闰年", "小时", "8784"},
      {"时间", "1", "秒", "纳秒", "1000000000"},
      {"时间", "90", "分钟", "小时", "1.5"},
      {"速度", "1", "千米/小时", "米/秒", "0.2777777777778"},
      {"速度", "36", "千米/小时", "米/秒", "10"},
      {"速度", "1", "米/秒", "千米/小时", "3.6"},
      {"速度", "1", "节", "千米/小时", "1.852"},
      {"速度", "60", "英里/小时", "千米/小时", "96.56064"},
      {"速度", "1", "光速", "千米/秒", "299792.458"},
      {"压强", "1", "标准大气压", "千帕", "101.325"},
      {"压强", "1", "标准大气压", "托", "760"},
      {"压强", "1", "标准大气压", "巴", "1.01325"},
      {"压强", "1", "标准大气压", "毫米汞柱", "759.9998917256"},
      {"压强", "1", "工程大气压", "千帕", "98.0665"},
      {"压强", "1", "磅力/平方英寸", "千帕", "6.894757293168"},
      {"压强", "1", "百帕", "毫巴", "1"},
      {"压强", "10", "毫米水柱", "帕", "98.0665"},
      {"能量", "1", "千瓦时(度)", "兆焦", "3.6"},
      {"能量", "1", "千卡", "千焦", "4.1868"},
      {"能量", "1", "卡", "焦耳", "4.1868"},
      {"能量", "1", "英热单位", "千焦", "1.05505585262"},
      {"能量", "1", "电子伏特", "焦耳", "1.602176634e-019"},
      {"能量", "1", "英尺·磅力", "焦耳", "1.355817948331"},
      {"能量", "1", "千克力·米", "焦耳", "9.80665"},
      {"功率", "1", "马力", "千瓦", "0.73549875"},
      {"功率", "1", "千瓦", "马力", "1.359621617304"},
      {"功率", "1", "英制马力", "瓦", "745.6998715823"},
      {"功率", "1", "千卡/小时", "瓦", "1.163"},
      {"功率", "1", "英热单位/小时", "瓦", "0.2930710701722"},
      {"数据存储", "1", "吉字节(GB)", "兆字节(MB)", "1024"},
      {"数据存储", "1", "字节(B)", "位(bit)", "8"},
      {"数据存储", "1", "太字节(TB)", "字节(B)", "1099511627776"},
      {"数据存储", "1", "拍字节(PB)", "字节(B)", "1.125899906843e+015"},
      {"数据存储", "2048", "千字节(KB)", "兆字节(MB)", "2"},
      {"角度", "1", "弧度", "度", "57.29577951308"},
      {"角度", "180", "度", "弧度", "3.14159265359"},
      {"角度", "1", "圆周", "弧度", "6.28318530718"},
      {"角度", "1", "度", "分", "60"},
      {"角度", "1", "度", "秒", "3600"},
      {"角度", "1", "圆周", "密位", "6000"},
      {"角度", "1", "直角", "百分度", "100"},
  };
  for (const auto& row : rows) {
    const std::string label = std::string(row.type) + ": " + row.value + " " + row.from + " → " + row.to;
    const int t = IndexOf(catalogue.typeNames, row.type);
    ASSERT_GE(t, 0) << label;
    const UnitTable& table = catalogue.tables[static_cast<std::size_t>(t)];
    const int i = IndexOf(table.unitNames, row.from);
    const int o = IndexOf(table.unitNames, row.to);
    ASSERT_TRUE(i >= 0 && o >= 0) << label;
    const ConversionTexts shown =
        ConvertUnits(catalogue.tables, t, i, o, row.value, Gbk(row.from), Gbk(row.to));
    EXPECT_EQ(shown.output, row.want) << label;
  }
}

}  // namespace
