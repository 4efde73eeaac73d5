#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "core/gbk.h"
#include "units/catalogue.h"
#include "units/conversion.h"
#include "../common/example_config.h"

namespace {


struct Row {
  const char* label;
  int type, in, out;  // combo selections, -1 for none
  const char* input;  // UTF-8
  const char* output;
  const char* rate;
  const char* full;
};

// Runs one row the way the page does: the unit names are those of the
// selected items.
void ExpectRow(const std::vector<UnitTable>& tables, const Row& row) {
  auto name = [&](int selection) -> std::string {
    if (row.type < 0 || selection < 0) return "";
    const TextList& names = tables[static_cast<std::size_t>(row.type)].unitNames;
    return static_cast<std::size_t>(selection) < names.size() ? names[static_cast<std::size_t>(selection)] : "";
  };
  const ConversionTexts got =
      ConvertUnits(tables, row.type, row.in, row.out, Gbk(row.input), name(row.in), name(row.out));
  const std::pair<const std::string&, const char*> boxes[] = {
      {got.output, row.output}, {got.rate, row.rate}, {got.fullOutput, row.full}};
  const char* boxNames[] = {"output", "rate", "full output"};
  for (int b = 0; b < 3; ++b) {
    const std::string want = Gbk(boxes[b].second);
    EXPECT_EQ(boxes[b].first, want) << row.label << " [" << boxNames[b] << "]\n  got:  " << Utf8FromGbk(boxes[b].first)
                                    << " (" << HexBytes(boxes[b].first) << ")\n  want: " << boxes[b].second << " ("
                                    << HexBytes(want) << ")";
  }
}

TEST(UnitConversion, ExampleCatalogueTable) {
  const UnitCatalogue catalogue = ParseUnitCatalogue(ExampleConfig());
  ASSERT_EQ(catalogue.tables.size(), 2u);
  // 长度: 0 千米, 1 米, 2 厘米; 时间: 0 小时, 1 分钟, 2 秒.
  const Row rows[] = {
      {"km to m", 0, 0, 1, "2.5", "2500", "1000", "2千米500米"},
      {"m to km", 0, 1, 0, "2500", "2.5", "1000", "2千米500米"},
      {"m to cm", 0, 1, 2, "1.5", "150", "100", "1米50厘米"},
      {"negative", 0, 0, 1, "-2.5", "-2500", "1000", "-2千米-500米"},
      {"same unit", 0, 1, 1, "7", "7", "1", "7米"},
      {"full output from the shown 13 digits", 0, 0, 1, "2.99999999999999", "3000", "1000", "3千米0米"},
      {"hours to minutes", 1, 0, 1, "1.5", "90", "60", "1小时30分钟"},
      {"seconds to minutes", 1, 2, 1, "100", "1.666666666667", "60", "1分钟40秒"},
      {"empty input keeps the rate", 1, 0, 1, "", "", "60", ""},
      {"a lone minus reads as 0", 0, 0, 1, "-", "0", "1000", "0千米0米"},
      {"a lone point reads as 0", 0, 1, 0, ".", "0", "1000", "0千米0米"},
      {"pasted text is read as far as it is a number", 0, 0, 2, "1.5abc", "150000", "100000", "1千米50000厘米"},
      {"full-width digits", 1, 1, 2, "２", "120", "60", "2分钟0秒"},
      {"no input unit", 0, -1, 1, "5", "", "", ""},
      {"no output unit", 0, 0, -1, "5", "", "", ""},
      {"no type, no units", -1, -1, -1, "5", "", "", ""},
  };
  for (const Row& row : rows) ExpectRow(catalogue.tables, row);
}

TEST(UnitConversion, FactorsWithin1e7CountAsEqual) {
  // The threshold is the double nearest 1e-7.
  const double threshold = 1e-7;
  std::uint64_t bits;
  std::memcpy(&bits, &threshold, sizeof bits);
  EXPECT_EQ(bits, 0x3E7AD7F29ABCAF48u);

  std::vector<UnitTable> tables(1);
  tables[0].unitNames = {"a", "b", "c"};
  tables[0].factors = {"5e-8", "1e-8", "2e-7"};
  const Row rows[] = {
      {"5e-8 against 1e-8: equal, the output text and the input unit", 0, 0, 1, "2", "10", "0.2", "10a"},
      {"1e-8 against 5e-8", 0, 1, 0, "2", "0.4", "5", "0.4b"},
      {"1e-8 against 2e-7 differ by more", 0, 2, 1, "3", "60", "20", "3c0b"},
      {"equal, empty input", 0, 0, 1, "", "", "0.2", ""},
  };
  for (const Row& row : rows) ExpectRow(tables, row);
}

TEST(UnitConversion, MalformedCataloguesNeverEndTheProgram) {
  // Two unit lines, one factor: the second unit has none.
  const UnitCatalogue shortFactors = ParseUnitCatalogue(
      Gbk("    类型=长度\r\n        名称=米‖1\r\n        名称=厘米‖倍率=0.01\r\n;//配置结束___"));
  ASSERT_EQ(shortFactors.tables[0].unitNames.size(), 2u);
  ASSERT_EQ(shortFactors.tables[0].factors.size(), 1u);

  std::vector<UnitTable> signs(1);
  signs[0].unitNames = {"z", "n", "p"};
  signs[0].factors = {"0", "-1", "1"};
  const Row rows[] = {
      {"a unit without a factor leaves the boxes empty", 0, 1, 0, "5", "", "", ""},
      {"also as the output unit", 0, 0, 1, "5", "", "", ""},
      {"the unit with a factor still converts", 0, 0, 0, "5", "5", "1", "5米"},
  };
  for (const Row& row : rows) ExpectRow(shortFactors.tables, row);

  const Row signRows[] = {
      // 0 beside -1: the rate shows 0 and reads back as 0, so no whole-and-rest split.
      {"zero into negative", 0, 0, 1, "5", "0", "0", ""},
      {"negative into zero", 0, 1, 0, "5", "-1.#INF", "0", ""},
      // 0 beside a positive factor: the infinite rate reads back as 1.
      {"zero into positive", 0, 0, 2, "5", "0", "1.#INF", "5p0z"},
      {"zero into zero", 0, 0, 0, "5", "-1.#IND", "-1.#IND", "-1.#INDz"},
      {"negative into positive", 0, 1, 2, "3", "-3", "-1", "-3p0n"},
  };
  for (const Row& row : signRows) ExpectRow(signs, row);
}

TEST(UnitConversion, TypedCharacterFilter) {
  struct FilterRow {
    const char* text;
    int character;
    std::optional<int> answer;
  } rows[] = {
      {"1.5", '.', 0},          {"15", '.', std::nullopt}, {"", '.', std::nullopt},
      {"5", '-', 0},            {"", '-', std::nullopt},   {"-", '-', 0},
      {"1.5", '7', std::nullopt}, {"1.5", 'a', std::nullopt},  // the box's decimal mode drops letters
      {"1.5", 8, std::nullopt},  // backspace
  };
  for (const auto& row : rows)
    EXPECT_EQ(NumberInputAnswer(row.character, row.text), row.answer) << row.text << " + " << row.character;
}

}  // namespace
