#include <gtest/gtest.h>

#include <chrono>
#include <initializer_list>
#include <string>

#include "core/gbk.h"
#include "units/catalogue.h"
#include "../common/example_config.h"

namespace {

// A config.ini text from UTF-8 lines, each ended by CR LF except the last.
std::string Config(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) {
    if (!text.empty() || line != *lines.begin()) text += "\r\n";
    text += Gbk(line);
  }
  return text;
}

std::string Escaped(const std::string& gbk) {
  std::string out;
  for (char c : gbk) {
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else out += c;
  }
  return out;
}

// "type{unit|unit}{factor|factor}; type{}{}" in GBK, line breaks escaped.
std::string Describe(const UnitCatalogue& catalogue) {
  std::string out;
  EXPECT_EQ(catalogue.typeNames.size(), catalogue.tables.size());
  for (std::size_t k = 0; k < catalogue.typeNames.size() && k < catalogue.tables.size(); ++k) {
    if (k > 0) out += "; ";
    out += Escaped(catalogue.typeNames[k]);
    for (const TextList* list : {&catalogue.tables[k].unitNames, &catalogue.tables[k].factors}) {
      out += "{";
      for (std::size_t j = 0; j < list->size(); ++j) {
        if (j > 0) out += "|";
        out += Escaped((*list)[j]);
      }
      out += "}";
    }
  }
  return out;
}

void ExpectCatalogue(const std::string& config, const char* expectedUtf8, const char* label) {
  const std::string got = Describe(ParseUnitCatalogue(config));
  const std::string want = Gbk(expectedUtf8);
  EXPECT_EQ(got, want) << label << "\n  got:  " << Utf8FromGbk(got) << "\n  want: " << Utf8FromGbk(want)
                       << "\n  got bytes:  " << HexBytes(got) << "\n  want bytes: " << HexBytes(want);
}


TEST(UnitCatalogue, TypesUnitsAndFactorsAsTheFileHasThem) {
  const std::string example = ExampleConfig();

  struct Row {
    const char* label;
    std::string config;
    const char* catalogue;
  } rows[] = {
      {"the example file", example, "长度{千米|米|厘米}{1000|1|0.01}; 时间{小时|分钟|秒}{3600|60|1}"},
      {"no type header", Config({";//配置开始___", "【单位配置】", "        名称=米‖倍率=1", ";//配置结束___"}), ""},
      {"empty text", "", ""},
      {"a header with more leading spaces starts a type",
       Config({"【单位配置】", "        类型=质量", "        名称=千克‖倍率=1000", "        名称=克‖倍率=1",
               ";//配置结束___"}),
       "质量{千克|克}{1000|1}"},
      {"a header before the unit section",
       Config({";//配置开始___", "    类型=面积", "        名称=公顷‖倍率=10000", "【高级配置】", "【单位配置】",
               "    类型=长度", "        名称=米‖倍率=1", ";//配置结束___"}),
       // The block of 面积 runs up to the next header and takes in the markers between.
       "面积{公顷}{10000}; 长度{米}{1}"},
      {"trailing spaces stay in the type name",
       Config({"    类型=长度  ", "        名称=米‖倍率=1", ";//配置结束___"}), "长度  {米}{1}"},
      {"a header directly followed by the next",
       Config({"    类型=空", "    类型=时间", "        名称=秒‖倍率=1", ";//配置结束___"}), "空{}{}; 时间{秒}{1}"},
      {"A, B, A: the second A's block runs from the first A to the end marker",
       Config({"    类型=A", "        名称=a1‖倍率=1", "    类型=B", "        名称=b1‖倍率=2", "    类型=A",
               "        名称=a2‖倍率=3", ";//配置结束___"}),
       "A{a1}{1}; B{b1}{2}; A{a1|b1|a2}{1|2|3}"},
      {"the last type without an end marker after it has no units",
       Config({"    类型=长度", "        名称=米‖倍率=1", ""}), "长度{}{}"},
      {"an empty type name", Config({"    类型=", "        名称=米‖倍率=1", ";//配置结束___"}), "{米}{1}"},
      {"a unit line without ‖ runs on to the next line's ‖",
       Config({"    类型=长度", "        名称=米 倍率=1", "        名称=厘米‖倍率=0.01", ";//配置结束___"}),
       "长度{米 倍率=1\\r\\n        名称=厘米}{0.01}"},
      {"a factor written directly before the end marker is not listed",
       Config({"    类型=时间", "        名称=分钟‖倍率=60", "        名称=秒‖倍率=1;//配置结束___"}),
       "时间{分钟|秒}{60}"},
      {"a unit line without its factor marker shortens the factor list",
       Config({"    类型=长度", "        名称=千米‖1000", "        名称=米‖倍率=1", ";//配置结束___"}),
       "长度{千米|米}{1}"},
      {"a name marker without ‖ after it ends the name list",
       Config({"    类型=长度", "        名称=米‖倍率=1", "        名称=尺", ";//配置结束___"}), "长度{米}{1}"},
      {"a name marker whose only ‖ stands before it ends the name list, keeping the names before",
       Config({"    类型=长度", "        名称=米‖倍率=1", "‖", "        名称=尺", "        名称=寸", ";//配置结束___"}),
       "长度{米}{1}"},
      {"the same in the first unit line: the type has no names, the next type its own",
       Config({"    类型=长度", "‖        名称=米", "    类型=时间", "        名称=秒‖倍率=1", ";//配置结束___"}),
       "长度{}{}; 时间{秒}{1}"},
      {"a header line holding a second header is also that type's first header",
       Config({"    类型=X    类型=A", "        名称=x1‖倍率=1", "    类型=A", "        名称=a1‖倍率=2",
               ";//配置结束___"}),
       "X    类型=A{x1}{1}; A{x1|a1}{1|2}"},
      {"a header without a line break after it is not a type; the one before has no end marker",
       std::string(Gbk("    类型=长度\r\n        名称=米‖倍率=1\r\n    类型=时间")), "长度{}{}"},
      {"a unit line outside any block belongs to no type",
       Config({"        名称=码‖倍率=0.9144", "    类型=长度", "        名称=米‖倍率=1", ";//配置结束___"}),
       "长度{米}{1}"},
      {"units after an end marker in the middle are cut off",
       Config({"    类型=长度", "        名称=米‖倍率=1", ";//配置结束___", "        名称=尺‖倍率=0.3",
               ";//配置结束___"}),
       "长度{米}{1}"},
  };
  for (const auto& row : rows) ExpectCatalogue(row.config, row.catalogue, row.label);
}

TEST(UnitCatalogue, MarkersOnlyMatchWhereACharacterStarts) {
  // "\xB0 " is one two-byte character, so the four spaces after \xB0 are not
  // the start of a header: the first type is the one on the next line.
  const std::string config = std::string("x\xB0") + Gbk("    类型=假\r\n    类型=真\r\n        名称=米‖倍率=1\r\n;//配置结束___");
  ExpectCatalogue(config, "真{米}{1}", "header behind a lead byte");
  // A lead byte right before the line break swallows the CR: the name runs on.
  const std::string swallowed = Gbk("    类型=A") + "\xB0\r\nB\r\n" + Gbk("        名称=米‖倍率=1\r\n;//配置结束___");
  const UnitCatalogue catalogue = ParseUnitCatalogue(swallowed);
  ASSERT_EQ(catalogue.typeNames.size(), 1u);
  EXPECT_EQ(HexBytes(catalogue.typeNames[0]), HexBytes("A\xB0\r\nB"));
}

// 10000 types of 10 units each, several megabytes: a parse that searched the
// text again for every type would take minutes.
TEST(UnitCatalogue, ALargeFileIsParsedInTimeLinearInItsSize) {
  std::string config = Gbk(";//配置开始___\r\n【高级配置】\r\n【单位配置】\r\n");
  const std::string typeMarker = Gbk("    类型=类"), nameMarker = Gbk("        名称=单位"),
                    factorMarker = Gbk("‖倍率=");
  for (int t = 0; t < 10000; ++t) {
    config += typeMarker + std::to_string(t) + "\r\n";
    for (int u = 0; u < 10; ++u)
      config += nameMarker + std::to_string(t) + "_" + std::to_string(u) + factorMarker + std::to_string(u + 1) + "\r\n";
  }
  config += Gbk(";//配置结束___");

  const auto begin = std::chrono::steady_clock::now();
  const UnitCatalogue catalogue = ParseUnitCatalogue(config);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  EXPECT_LT(seconds, 5.0) << config.size() << " bytes";
  ASSERT_EQ(catalogue.typeNames.size(), 10000u);
  ASSERT_EQ(catalogue.tables.size(), 10000u);
  EXPECT_EQ(catalogue.typeNames[9999], Gbk("类9999"));
  for (std::size_t t : {0u, 4321u, 9999u}) {
    ASSERT_EQ(catalogue.tables[t].unitNames.size(), 10u);
    ASSERT_EQ(catalogue.tables[t].factors.size(), 10u);
    EXPECT_EQ(catalogue.tables[t].unitNames[7], Gbk("单位") + std::to_string(t) + "_7");
    EXPECT_EQ(catalogue.tables[t].factors[7], "8");
  }
}

// Files that defeat a search from each block start: a type name repeated
// after many other types, and one header line holding thousands of headers.
TEST(UnitCatalogue, RepeatedAndNestedHeadersStayLinear) {
  std::string repeated;
  for (int t = 0; t < 5000; ++t) {
    repeated += "    " + Gbk("类型=") + "A\r\n";
    repeated += "    " + Gbk("类型=") + "X" + std::to_string(t) + "\r\n;" + std::string(200, '-') + "\r\n";
  }
  repeated += Gbk(";//配置结束___");
  std::string nested;
  for (int t = 0; t < 50000; ++t) nested += Gbk("    类型=");
  nested += "A\r\n" + Gbk("    类型=A\r\n        名称=米‖倍率=1\r\n;//配置结束___");

  const auto begin = std::chrono::steady_clock::now();
  const UnitCatalogue many = ParseUnitCatalogue(repeated);
  const UnitCatalogue deep = ParseUnitCatalogue(nested);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  EXPECT_LT(seconds, 5.0);
  ASSERT_EQ(many.typeNames.size(), 10000u);
  EXPECT_EQ(many.typeNames[9998], "A");
  EXPECT_TRUE(many.tables[9998].unitNames.empty());
  ASSERT_EQ(deep.typeNames.size(), 2u);
  // The second type's header occurs first at the end of the long line.
  ASSERT_EQ(deep.tables[1].unitNames.size(), 1u);
  EXPECT_EQ(deep.tables[1].factors, TextList{"1"});
}

}  // namespace
