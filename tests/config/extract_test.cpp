#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "config/extract.h"
#include "core/gbk.h"
#include "core/text.h"

namespace {

// Byte-exact comparison that shows both sides readably when they differ.
void ExpectBytes(const std::string& got, const std::string& want, const std::string& label) {
  EXPECT_EQ(got, want) << label << "\n  got:  " << HexBytes(got) << "  (" << Utf8FromGbk(got)
                       << ")\n  want: " << HexBytes(want) << "  (" << Utf8FromGbk(want) << ")";
}

void ExpectList(const std::vector<std::string>& got, const std::vector<std::string>& want,
                const std::string& label) {
  ASSERT_EQ(got.size(), want.size()) << label;
  for (std::size_t i = 0; i < got.size(); ++i)
    ExpectBytes(got[i], want[i], label + " piece " + std::to_string(i + 1));
}

TEST(ExtractBetween, CutsBetweenTheFirstStartAndTheNextEnd) {
  const std::string zhongwen = Gbk("中文");  // D6 D0 CE C4
  struct Row {
    std::string text, start, end, want;
  } rows[] = {
      {"a[x]b", "[", "]", "x"},
      {"a[x", "[", "]", ""},
      {"a[]b", "[", "]", ""},
      {"]a[x]b[y]", "[", "]", "x"},          // the end marker before the start does not count
      {"[x][y]", "[", "]", "x"},
      {"<<a>>b>>", "<<", ">>", "a"},
      {"", "[", "]", ""},
      {"a[x]", "", "]", "a[x"},              // an empty start is found at byte 1
      {"a[xy", "[", "", ""},                 // an empty end is found at once
      // A start that does not occur: the cut begins at byte (length of start) − 1.
      {"abcdef", "XYZ", "e", "bcd"},
      {"abcdef", "XY", "e", "abcd"},
      {"abc]", "X", "]", ""},                // one-byte start: nothing
      {"ab]", "WXYZ", "]", ""},              // the cut would begin past the text
      {"abc", "XYZ", "]", ""},               // and no end after it
      // Searches step over two-byte characters: D0 CE inside 中文 is no marker.
      {zhongwen + "[q]", "\xD0\xCE", "]", zhongwen + "[q"},
      {zhongwen + "[q]", "\xD6\xD0", "]", "\xCE\xC4[q"},
      {"x" + zhongwen + "]", "x", "\xD0\xCE", ""},
      {Gbk("约等到的位置为3\r\n"), Gbk("约等到的位置为"), "\r\n", "3"},
      {Gbk("        名称=米‖倍率=1\r\n"), Gbk("‖倍率="), "\r\n", "1"},
  };
  for (const auto& row : rows) {
    ExpectBytes(ExtractBetween(row.text, row.start, row.end), row.want,
                "ExtractBetween(" + HexBytes(row.text) + ", " + row.start + ", " + row.end + ")");
  }
}

TEST(ExtractBetween, MissingRoundingMarkerCutsFromByte13OfTheFile) {
  const std::string text = Gbk(";//配置开始___\r\n【高级配置】\r\nπ取值8位小数\r\n");
  ExpectBytes(ExtractBetween(text, Gbk("约等到的位置为"), "\r\n"), "__", "no rounding line");
  ExpectBytes(ExtractBetween(Gbk(";//配置开始___【高级配置】"), Gbk("约等到的位置为"), "\r\n"), "",
              "no line break anywhere");
}

TEST(ExtractAllBetween, ListsSuccessivePairs) {
  struct Row {
    std::string text, start, end;
    std::vector<std::string> want;
  } rows[] = {
      {"[a][]b[c]d[e", "[", "]", {"a", "", "c"}},
      {"", "[", "]", {}},
      {"abc", "[", "]", {}},
      {"]]a[", "[", "]", {}},                // the end stands before the start
      {"[a]]b[c", "[", "]", {"a"}},          // the second start has no end after it
      {"[a[b]c]", "[", "]", {"a[b"}},
      {"<<a>><<>><<b", "<<", ">>", {"a", ""}},
      {"[a[b", "[", "", {"", ""}},            // an empty end: one empty piece per start
      {"a]b]c", "", "]", {"a", "b"}},
      // Markers that end in half a character take the step-by-step way.
      {"\x81x]\x81y]", "\x81", "]", {"x", "y"}},
      {Gbk("    类型=长度\r\n    类型=时间\r\n"), Gbk("    类型="), "\r\n", {Gbk("长度"), Gbk("时间")}},
      {Gbk("名称=米‖倍率=1\r\n名称=厘米‖倍率=0.01\r\n"), Gbk("‖倍率="), "\r\n", {"1", "0.01"}},
  };
  for (const auto& row : rows) {
    std::vector<std::string> list = {"old", "content"};
    ExtractAllBetween(row.text, row.start, row.end, list);
    ExpectList(list, row.want, "ExtractAllBetween(" + HexBytes(row.text) + ")");
  }
}

TEST(ExtractAllBetween, StopsAfterTheCap) {
  std::string text;
  for (int i = 0; i < kMaxExtractedPieces + 5; ++i) text += "[" + std::to_string(i) + "]";
  std::vector<std::string> list;
  ExtractAllBetween(text, "[", "]", list);
  ASSERT_EQ(list.size(), static_cast<std::size_t>(kMaxExtractedPieces));
  EXPECT_EQ(list.front(), "0");
  EXPECT_EQ(list.back(), std::to_string(kMaxExtractedPieces - 1));

  // Empty markers match everywhere without moving on; the cap still ends it.
  ExtractAllBetween("ab", "", "", list);
  EXPECT_EQ(list.size(), static_cast<std::size_t>(kMaxExtractedPieces));
}

// A config.ini of 10 MB with 100000 unit lines: a scan that copied the rest
// of the text for each piece would move some 500 GB and take minutes.
TEST(ExtractAllBetween, RunsInLinearTime) {
  const std::string line = Gbk("        名称=某个相当长的单位名称用来把文件撑到十兆字节‖倍率=") +
                           std::string(30, '7') + "\r\n";
  std::string text;
  text.reserve(10'000'000 + line.size());
  int lines = 0;
  while (text.size() < 10'000'000) {
    text += line;
    ++lines;
  }
  ASSERT_GE(lines, kMaxExtractedPieces);
  // One plain search through the whole text is the yardstick: a linear scan
  // costs a few of it, whatever the build and the load on the machine.
  auto since = [](std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - from).count();
  };
  auto began = std::chrono::steady_clock::now();
  ASSERT_EQ(FindText(text, "\x01not there"), -1);
  const double onePass = since(began);

  std::vector<std::string> names, factors;
  began = std::chrono::steady_clock::now();
  ExtractAllBetween(text, Gbk("        名称="), Gbk("‖"), names);
  ExtractAllBetween(text, Gbk("‖倍率="), "\r\n", factors);
  const double took = since(began);
  EXPECT_EQ(names.size(), static_cast<std::size_t>(kMaxExtractedPieces));
  EXPECT_EQ(factors.size(), static_cast<std::size_t>(kMaxExtractedPieces));
  EXPECT_EQ(factors.back(), std::string(30, '7'));
  EXPECT_LT(took, 50 * onePass + 200) << "one search through the text took " << onePass << " ms";
  std::cout << "two scans of " << text.size() << " bytes: " << took << " ms; one search: " << onePass
            << " ms\n";
}

}  // namespace
