#include <gtest/gtest.h>

#include <random>
#include <string>

#include "config/extract.h"
#include "core/gbk.h"
#include "units/catalogue.h"

// The catalogue read the plain way: one ExtractBetween over the whole text for
// every type's block, then the two list scans of the block. It takes time
// that grows with the number of types times the text's size; the program's
// parse must give exactly its results.

namespace {

UnitCatalogue PlainCatalogue(std::string_view text) {
  const std::string typeMarker = Gbk("    类型=");
  UnitCatalogue catalogue;
  ExtractAllBetween(text, typeMarker, "\r\n", catalogue.typeNames);
  const std::size_t n = catalogue.typeNames.size();
  catalogue.tables.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    const std::string header = typeMarker + catalogue.typeNames[i] + "\r\n";
    const std::string stop =
        i + 1 < n ? typeMarker + catalogue.typeNames[i + 1] + "\r\n" : Gbk(";//配置结束___");
    const std::string block = ExtractBetween(text, header, stop);
    ExtractAllBetween(block, Gbk("        名称="), Gbk("‖"), catalogue.tables[i].unitNames);
    ExtractAllBetween(block, Gbk("‖倍率="), "\r\n", catalogue.tables[i].factors);
  }
  return catalogue;
}

std::string Show(const UnitCatalogue& catalogue) {
  std::string out;
  for (std::size_t k = 0; k < catalogue.typeNames.size(); ++k) {
    out += "[" + HexBytes(catalogue.typeNames[k]) + "]";
    for (const TextList* list : {&catalogue.tables[k].unitNames, &catalogue.tables[k].factors}) {
      out += " {";
      for (const std::string& piece : *list) out += "(" + HexBytes(piece) + ")";
      out += "}";
    }
    out += "\n";
  }
  return out;
}

void ExpectSameAsPlain(const std::string& text) {
  const UnitCatalogue plain = PlainCatalogue(text);
  const UnitCatalogue fast = ParseUnitCatalogue(text);
  ASSERT_EQ(fast.typeNames, plain.typeNames) << HexBytes(text);
  ASSERT_EQ(fast.tables.size(), plain.tables.size()) << HexBytes(text);
  for (std::size_t k = 0; k < plain.tables.size(); ++k) {
    ASSERT_TRUE(fast.tables[k].unitNames == plain.tables[k].unitNames &&
                fast.tables[k].factors == plain.tables[k].factors)
        << "text: " << HexBytes(text) << "\nplain:\n" << Show(plain) << "parse:\n" << Show(fast);
  }
}

TEST(UnitCatalogueAgainstPlainReading, EdgeCases) {
  const char* const cases[] = {
      ";//配置开始___\r\n【单位配置】\r\n    类型=长度\r\n        名称=千米‖倍率=1000\r\n        名称=米‖倍率=1\r\n"
      "    类型=时间\r\n        名称=秒‖倍率=1\r\n;//配置结束___",
      "        类型=质量\r\n        名称=克‖倍率=1\r\n;//配置结束___",
      "    类型=长度  \r\n        名称=米‖倍率=1\r\n;//配置结束___",
      "    类型=空\r\n    类型=时间\r\n        名称=秒‖倍率=1\r\n;//配置结束___",
      "    类型=A\r\n        名称=a‖倍率=1\r\n    类型=B\r\n        名称=b‖倍率=2\r\n    类型=A\r\n        名称=c‖倍率=3\r\n;//配置结束___",
      "    类型=X    类型=A\r\n        名称=x‖倍率=1\r\n    类型=A\r\n        名称=a‖倍率=2\r\n;//配置结束___",
      "    类型=长度\r\n        名称=米‖倍率=1\r\n    类型=时间",
      "    类型=长度\r\n        名称=米 倍率=1\r\n        名称=厘米‖倍率=0.01\r\n;//配置结束___",
      "    类型=时间\r\n        名称=分‖倍率=60\r\n        名称=秒‖倍率=1;//配置结束___",
      "    类型=长度\r\n        名称=米‖倍率=1\r\n        名称=尺\r\n;//配置结束___",
      "‖    类型=长度\r\n        名称=米\r\n‖倍率=\r\n;//配置结束___",
      "",
  };
  for (const char* text : cases) ExpectSameAsPlain(Gbk(text));
}

// Random texts from the pieces that matter: markers, line breaks, names,
// lone lead bytes and two-byte characters whose second byte is a marker byte.
TEST(UnitCatalogueAgainstPlainReading, RandomTexts) {
  const std::string pieces[] = {
      Gbk("    类型="), Gbk("        类型="), Gbk("        名称="), Gbk("‖"), Gbk("‖倍率="), "\r\n", "\r\n", "\r", "\n",
      Gbk(";//配置结束___"), "A", "B", "A", "1", " ", "\xB0", "\xB0\xA1", "\xA1", Gbk("倍率="), Gbk("类型="), Gbk("名称="),
  };
  std::mt19937 random(20240611);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
  std::uniform_int_distribution<int> length(0, 40);
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    for (int k = length(random); k > 0; --k) text += pieces[pick(random)];
    ExpectSameAsPlain(text);
    if (HasFatalFailure()) return;
  }
}

}  // namespace
