#include <gtest/gtest.h>

#include "core/gbk.h"
#include "core/text.h"

namespace {

TEST(Gbk, LiteralsBecomeTheGbkBytesTheProgramCounts) {
  struct Row {
    const char* utf8;
    const char* hex;
  } rows[] = {
      {"﹢", "A9 80"},
      {"﹦", "A9 84"},
      {"—", "A1 AA"},
      {"错误", "B4 ED CE F3"},
      {"π", "A6 D0"},
      {"王", "CD F5"},
      {"　", "A1 A1"},
      {";//配置开始___", "3B 2F 2F C5 E4 D6 C3 BF AA CA BC 5F 5F 5F"},
      {";//配置结束___", "3B 2F 2F C5 E4 D6 C3 BD E1 CA F8 5F 5F 5F"},
      {"【高级配置】", "A1 BE B8 DF BC B6 C5 E4 D6 C3 A1 BF"},
      {"【单位配置】", "A1 BE B5 A5 CE BB C5 E4 D6 C3 A1 BF"},
      {"约等到的位置为", "D4 BC B5 C8 B5 BD B5 C4 CE BB D6 C3 CE AA"},
      {"π取值", "A6 D0 C8 A1 D6 B5"},
      {"位小数", "CE BB D0 A1 CA FD"},
      {"‖倍率=", "A1 AC B1 B6 C2 CA 3D"},
      {"abc", "61 62 63"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(HexBytes(Gbk(row.utf8)), row.hex) << row.utf8;
    EXPECT_EQ(Utf8FromGbk(Gbk(row.utf8)), row.utf8);
  }
}

TEST(Text, CuttingCountsBytes) {
  const std::string zhongwen = Gbk("中文");  // D6 D0 CE C4
  struct Row {
    std::string got, want;
  } rows[] = {
      {TextLeft("abc", 5), "abc"},
      {TextLeft("abc", 0), ""},
      {TextLeft("abc", -3), ""},
      {TextLeft("abc", 2), "ab"},
      {TextRight("abc", 0), ""},
      {TextRight("abc", 2), "bc"},
      {TextRight("abc", 9), "abc"},
      {TextMid("abcdef", 3, 10), "cdef"},
      {TextMid("abcdef", 2, 2), "bc"},
      {TextMid("abc", 4, 1), ""},
      {TextMid("abc", 0, 2), ""},
      {TextMid("abc", 1, 0), ""},
      {TextLeft(zhongwen, 3), "\xD6\xD0\xCE"},
      {TextRight(zhongwen, 1), "\xC4"},
  };
  for (const auto& row : rows) EXPECT_EQ(HexBytes(row.got), HexBytes(row.want));
  EXPECT_EQ(TextLength(zhongwen), 4);
  EXPECT_EQ(TextLength(""), 0);
}

TEST(Text, SearchStepsOverTwoByteCharacters) {
  const std::string zhongwen = Gbk("中文");
  struct Row {
    std::string text, sought;
    int first, last;
  } rows[] = {
      {"3.14", ".", 2, 2},
      {"12", ".", -1, -1},
      {"1.2.3", ".", 2, 4},
      {"", "", -1, -1},
      {"a", "", 1, 1},
      {"", "a", -1, -1},
      {"ab", "abc", -1, -1},
      {zhongwen, "\xD0\xCE", -1, -1},  // the bytes stand side by side, but not at a character start
      {zhongwen, Gbk("文"), 3, 3},
      {"Aa", "a", 2, 2},
      {"\xB0" "a" "a", "a", 3, 3},  // "\xB0a" is one character, the second "a" stands alone
      {"x\xB0", "\xB0", 2, 2},      // a lead byte as the last byte is still compared
      {"\xB0", "\xB0\xB0", -1, -1},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(FindText(row.text, row.sought), row.first) << HexBytes(row.text) << " / " << HexBytes(row.sought);
    EXPECT_EQ(FindTextFromEnd(row.text, row.sought), row.last) << HexBytes(row.text) << " / " << HexBytes(row.sought);
  }
}

TEST(Text, RemoveSpacesDropsAsciiAndIdeographicSpacesOnly) {
  EXPECT_EQ(RemoveSpaces(Gbk(" 王　五 ")), Gbk("王五"));
  EXPECT_EQ(RemoveSpaces("a\tb c\r\n"), "a\tbc\r\n");
  EXPECT_EQ(RemoveSpaces("ab\xB0"), "ab");              // a lone lead byte at the end is dropped
  EXPECT_EQ(RemoveSpaces("\xB0\x20x"), "\xB0\x20x");    // 0x20 as a trail byte is part of a character
  EXPECT_EQ(RemoveSpaces(""), "");
}

TEST(Text, SplitGivesThePartsBetweenSeparators) {
  struct Row {
    std::string text, separator;
    TextList parts;
  } rows[] = {
      {"a\r\nb", "\r\n", {"a", "b"}},
      {"a\r\n", "\r\n", {"a"}},
      {"\r\na", "\r\n", {"", "a"}},
      {"a\r\n\r\nb", "\r\n", {"a", "", "b"}},
      {"", "\r\n", {}},
      {"abc", "", {"abc"}},
      {"\r\n", "\r\n", {""}},
      {"a\r", "\r\n", {"a\r"}},
      {"\xB0\r\nx", "\r\n", {"\xB0\r\nx"}},  // "\xB0\r" is one character: no separator there
      {"x\xB0", "\r\n", {"x\xB0"}},
  };
  for (const auto& row : rows) EXPECT_EQ(SplitText(row.text, row.separator), row.parts) << HexBytes(row.text);
}

TEST(Text, CharCodeIsSignedAndZeroOutside) {
  EXPECT_EQ(CharCode("A", 1), 65);
  EXPECT_EQ(CharCode("A", 2), 0);
  EXPECT_EQ(CharCode("A", 0), 0);
  EXPECT_EQ(CharCode(Gbk("王"), 1), -51);
  EXPECT_EQ(CharCode(Gbk("王"), 2), -11);
}

TEST(Text, CompareJoinAndBytes) {
  EXPECT_EQ(CompareText("", ""), 0);
  EXPECT_EQ(CompareText("a", "b"), -1);
  EXPECT_EQ(CompareText("b", "a"), 1);
  EXPECT_EQ(CompareText("\xB0", "a"), 1);  // unsigned byte values
  EXPECT_EQ(CompareText("ab", "a"), 1);
  EXPECT_EQ(ConcatText({"a", "", "bc", Gbk("王")}), "abc" + Gbk("王"));
  EXPECT_TRUE(TextToBytes("").empty());
  EXPECT_EQ(TextToBytes("ab"), (ByteArray{'a', 'b'}));
  EXPECT_EQ(BytesToText(ByteArray{'a', 'b', 0, 'c'}), "ab");
  EXPECT_EQ(BytesToText(ByteArray{'a', 'b'}), "ab");
  EXPECT_EQ(BytesToText(ByteArray{}), "");
}

}  // namespace
