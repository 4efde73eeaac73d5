#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/config_text.h"
#include "core/gbk.h"
#include "core/text.h"
#include "../common/example_config.h"

namespace {

const std::vector<std::string>& kExample = ExampleConfigLines();

std::string Ini(const std::vector<std::string>& lines) { return ConfigFromLines(lines); }

// The example with its two settings lines replaced.
std::string ExampleWith(const std::string& roundLine, const std::string& piLine) {
  std::vector<std::string> lines = kExample;
  lines[2] = roundLine;
  lines[3] = piLine;
  return Ini(lines);
}

void ExpectBytes(const std::string& got, const std::string& want, const std::string& label) {
  EXPECT_EQ(got, want) << label << "\n  got:  " << HexBytes(got) << "\n        " << Utf8FromGbk(got)
                       << "\n  want: " << HexBytes(want) << "\n        " << Utf8FromGbk(want);
}

TEST(ConfigFormat, FourRequirements) {
  const std::string example = Ini(kExample);
  const std::string start = Gbk(";//配置开始___");
  const std::string end = Gbk(";//配置结束___");
  const std::string zero(1, '\0');
  std::string utf8;
  for (std::size_t i = 0; i < kExample.size(); ++i) utf8 += (i ? "\r\n" : "") + kExample[i];
  std::string beforeEnd = example;
  beforeEnd.insert(example.size() - end.size(), zero);

  struct Row {
    const char* name;
    std::string text;
    bool valid;
  } rows[] = {
      {"the example", example, true},
      {"only the four markers", start + Gbk("【高级配置】【单位配置】") + end, true},
      {"sections in the other order", start + Gbk("【单位配置】【高级配置】") + end, true},
      {"a zero byte right after the end marker", example + zero + "\r\njunk", true},
      {"a line break after the end marker", example + "\r\n", false},
      {"a space after the end marker", example + " ", false},
      {"UTF-8", utf8, false},
      {"a byte-order mark", "\xEF\xBB\xBF" + example, false},
      {"a zero byte before the end marker", beforeEnd, false},
      {"a zero byte in the start marker", start.substr(0, 5) + zero + example.substr(5), false},
      {"no advanced-settings marker", start + Gbk("【单位配置】") + end, false},
      {"no unit-settings marker", start + Gbk("【高级配置】") + end, false},
      {"a marker only inside two-byte characters", start + "\x81" + Gbk("【高级配置】【单位配置】") + end, false},
      {"the start marker alone", start, false},
      {"shorter than a marker", start.substr(0, 13), false},
      {"empty", "", false},
  };
  for (const auto& row : rows) EXPECT_EQ(ConfigFormatIsValid(row.text), row.valid) << row.name;
}

TEST(ConfigSettings, ReadWithTheirDefaults) {
  const std::string pi11 = "π取值11位小数";
  const std::string round2 = "约等到的位置为2";
  struct Row {
    const char* name;
    std::string text;
    int round, pi;
  } rows[] = {
      {"the example", Ini(kExample), 2, 11},
      {"rounding 10", ExampleWith("约等到的位置为10", pi11), 10, 11},
      {"rounding 11", ExampleWith("约等到的位置为11", pi11), 2, 11},
      {"rounding -10", ExampleWith("约等到的位置为-10", pi11), -10, 11},
      {"rounding -11", ExampleWith("约等到的位置为-11", pi11), 2, 11},
      {"rounding abc reads 0", ExampleWith("约等到的位置为abc", pi11), 0, 11},
      {"rounding empty", ExampleWith("约等到的位置为", pi11), 2, 11},
      {"rounding with spaces and full-width digits", ExampleWith("约等到的位置为 －３", pi11), -3, 11},
      {"rounding 2.7", ExampleWith("约等到的位置为2.7", pi11), 2, 11},
      {"rounding that wraps to 1", ExampleWith("约等到的位置为4294967297", pi11), 1, 11},
      {"rounding that wraps out of range", ExampleWith("约等到的位置为2147483648", pi11), 2, 11},
      {"pi 0", ExampleWith(round2, "π取值0位小数"), 2, 0},
      {"pi 12", ExampleWith(round2, "π取值12位小数"), 2, 11},
      {"pi -1", ExampleWith(round2, "π取值-1位小数"), 2, 11},
      {"pi empty", ExampleWith(round2, "π取值位小数"), 2, 11},
      {"pi 5 with text after it", ExampleWith(round2, "π取值5位小数，其余不管"), 2, 5},
      // Without "约等到的位置为" the cut starts at byte 13, on "__", which reads 0.
      {"no rounding line", ExampleWith(";", pi11), 0, 11},
      {"no rounding line and no line break",
       Gbk(";//配置开始___【高级配置】π取值7位小数【单位配置】;//配置结束___"), 2, 7},
      {"neither pi marker", ExampleWith(round2, ";"), 2, 11},
      // Without "π取值" the cut starts at byte 5, inside the start marker, and
      // runs to "位小数": a text that reads 0.
      {"no pi marker but 位小数", ExampleWith(round2, "9位小数"), 2, 0},
      {"a settings line before the section marker",
       Ini({";//配置开始___", "约等到的位置为7", "【高级配置】", "π取值3位小数", "【单位配置】",
            ";//配置结束___"}),
       7, 3},
      {"the first of two rounding lines wins",
       Ini({";//配置开始___", "【高级配置】", "约等到的位置为4", "约等到的位置为5", "π取值3位小数",
            "π取值4位小数", "【单位配置】", ";//配置结束___"}),
       4, 3},
      {"settings among the unit lines",
       Ini({";//配置开始___", "【高级配置】", "【单位配置】", "    类型=长度", "约等到的位置为-4",
            "π取值6位小数", ";//配置结束___"}),
       -4, 6},
  };
  for (const auto& row : rows) {
    const ConfigSettings got = ReadConfigSettings(row.text);
    EXPECT_EQ(got.roundDigits, row.round) << row.name;
    EXPECT_EQ(got.piDigits, row.pi) << row.name;
  }
}

TEST(ConfigRewrite, ReplacesOnlyTheSettingsBlock) {
  const std::vector<std::string> tailLines(kExample.begin() + 4, kExample.end());
  auto withHead = [&](std::vector<std::string> head) {
    head.insert(head.end(), tailLines.begin(), tailLines.end());
    return Ini(head);
  };
  struct Row {
    const char* name;
    std::string text;
    int round, pi;
    std::string want;
    bool repeats = true;  // a second save gives the same bytes again
  } rows[] = {
      {"the example with 3 and 8", Ini(kExample), 3, 8,
       ExampleWith("约等到的位置为3", "π取值8位小数")},
      {"unchanged values give the same bytes", Ini(kExample), 2, 11, Ini(kExample)},
      {"values beyond the load ranges are written as they are", Ini(kExample), 99, -7,
       ExampleWith("约等到的位置为99", "π取值-7位小数")},
      {"the largest values", Ini(kExample), 2147483647, -2147483647 - 1,
       ExampleWith("约等到的位置为2147483647", "π取值-2147483648位小数")},
      {"comments and blank lines in the block are gone",
       withHead({";//配置开始___", "【高级配置】", "; 注释", "", "约等到的位置为2", "π取值11位小数"}), 1, 2,
       withHead({";//配置开始___", "【高级配置】", "约等到的位置为1", "π取值2位小数"})},
      {"a settings line before the section marker stays",
       withHead({";//配置开始___", "约等到的位置为7", "【高级配置】", "π取值3位小数"}), 1, 2,
       withHead({";//配置开始___", "约等到的位置为7", "【高级配置】", "约等到的位置为1", "π取值2位小数"})},
      {"two advanced markers: the block follows the second",
       withHead({";//配置开始___", "【高级配置】", "甲", "【高级配置】", "乙"}), 5, 6,
       withHead({";//配置开始___", "【高级配置】", "甲", "【高级配置】", "约等到的位置为5", "π取值6位小数"})},
      {"the marker on a line with other text",
       withHead({";//配置开始___", "前【高级配置】后", "约等到的位置为2", "π取值11位小数"}), 3, 4,
       withHead({";//配置开始___", "前【高级配置】", "约等到的位置为3", "π取值4位小数"})},
      // The unit marker first: from it through the advanced marker stands twice.
      {"the unit marker before the advanced marker",
       Ini({";//配置开始___", "【单位配置】", "单", "【高级配置】", "高", ";//配置结束___"}), 1, 2,
       Gbk(";//配置开始___\r\n【单位配置】\r\n单\r\n【高级配置】") +
           Gbk("\r\n约等到的位置为1\r\nπ取值2位小数\r\n") +
           Gbk("【单位配置】\r\n单\r\n【高级配置】\r\n高\r\n;//配置结束___"),
       false},
  };
  for (const auto& row : rows) {
    const std::string once = RewriteConfigSettings(row.text, row.round, row.pi);
    ExpectBytes(once, row.want, row.name);
    const std::string twice = RewriteConfigSettings(once, row.round, row.pi);
    if (row.repeats) {
      ExpectBytes(twice, once, std::string(row.name) + ", saved twice");
    } else {
      // Each save doubles that stretch once more.
      EXPECT_GT(twice.size(), once.size()) << row.name;
    }
    EXPECT_TRUE(ConfigFormatIsValid(once)) << row.name;
  }
}

}  // namespace
