// The score of a name, its grade and its verdict, through the pure functions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/gbk.h"
#include "namescore/namescore.h"

namespace {

// Both texts GBK; a mismatch shows readable text and the bytes.
::testing::AssertionResult SameText(const std::string& got, const std::string& want) {
  if (got == want) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "got  \"" << Utf8FromGbk(got) << "\" [" << HexBytes(got) << "]\n"
         << "want \"" << Utf8FromGbk(want) << "\" [" << HexBytes(want) << "]";
}

struct ScoreRow {
  std::string name;  // UTF-8 source text, or raw bytes when `raw` is set
  int score;
  const char* grade;    // the grade of the last count (for 0: the caption set before counting)
  const char* verdict;
  bool raw = false;
};

void ExpectRow(const ScoreRow& row) {
  const std::string name = row.raw ? row.name : Gbk(row.name);
  SCOPED_TRACE("name [" + HexBytes(name) + "]");
  const int score = NameScore(name);
  EXPECT_EQ(score, row.score);
  const std::string grade = score == 0 ? Gbk("←残级→") : ScoreGrade(score);
  EXPECT_TRUE(SameText(grade, Gbk(row.grade)));
  EXPECT_TRUE(SameText(ScoreVerdict(score), Gbk(row.verdict)));
}

const char* const kVerdict0 = "像您这样的人还真是罕见啊！";
const char* const kVerdict20 = "您是人么？总觉得狗都比你强！";
const char* const kVerdict40 = "幸好你还知道1+1等于多少！";
const char* const kVerdict60 = "您的人品还不够好哟，要多做善事啊！";
const char* const kVerdict80 = "不错，继续发扬，相信您能更好！";
const char* const kVerdict98 = "努力啊，差一点就可以升仙了！";
const char* const kVerdict99 = "你到底是人是鬼？还是神？";

TEST(NameScore, NamesGiveTheirScoreGradeAndVerdict) {
  const std::vector<ScoreRow> rows = {
      {"A", 72, "←高级→", kVerdict80},
      {"a", 53, "←中级→", kVerdict60},
      {"t", 20, "←底级→", kVerdict20},
      {"R", 21, "←低级→", kVerdict40},
      {"Tom", 98, "←超级→", kVerdict98},
      {"cj", 99, "←神级→", kVerdict99},
      {"ae", 0, "←残级→", kVerdict0},
      {"LiLei", 80, "←高级→", kVerdict80},
      {"Li Lei", 80, "←高级→", kVerdict80},
      {" Li  Lei ", 80, "←高级→", kVerdict80},
      // Ideographic spaces go as ASCII ones do, wherever they stand.
      {"Li　Lei", 80, "←高级→", kVerdict80},
      {"　王　", 46, "←中级→", kVerdict60},
      // The two bytes of a Chinese character count with negative values.
      {"王", 46, "←中级→", kVerdict60},
      {"王五", 50, "←中级→", kVerdict60},
      {"中文", 82, "←超级→", kVerdict98},
      {"我爱中国人", 16, "←底级→", kVerdict20},
      // A tab is not a space: it counts with its byte value.
      {"\t", 79, "←高级→", kVerdict80},
      {"a\tb", 62, "←高级→", kVerdict80},
      // Exact decimal arithmetic would give 61 here; each step rounded to a
      // double gives 62.
      {"4Xoqx\"7~*4", 62, "←高级→", kVerdict80},
  };
  for (const ScoreRow& row : rows) ExpectRow(row);
}

TEST(NameScore, SpacesOnlyOrNothingScoreZero) {
  EXPECT_EQ(NameScore(""), 0);
  EXPECT_EQ(NameScore("   "), 0);
  EXPECT_EQ(NameScore(Gbk("　 　")), 0);
}

TEST(NameScore, NameTooLongForADoubleScoresZero) {
  // Far beyond the 10 bytes the edit box takes: the running value overflows
  // to infinity and the score falls back to 0 instead of an undefined cast.
  EXPECT_EQ(NameScore(std::string(400, 'z')), 0);
  EXPECT_EQ(NameScore(std::string(400, '\xCD')), 0);
}

TEST(NameScore, GradeOfEveryCount) {
  struct Band {
    int from, to;
    const char* grade;
  };
  const std::vector<Band> bands = {
      {1, 20, "←底级→"}, {21, 40, "←低级→"}, {41, 60, "←中级→"},
      {61, 80, "←高级→"}, {81, 98, "←超级→"}, {99, 99, "←神级→"},
  };
  for (const Band& band : bands) {
    for (int j = band.from; j <= band.to; ++j) {
      SCOPED_TRACE("count " + std::to_string(j));
      EXPECT_TRUE(SameText(ScoreGrade(j), Gbk(band.grade)));
    }
  }
  EXPECT_TRUE(SameText(ScoreGrade(-1), Gbk("←残级→")));
}

TEST(NameScore, VerdictOfEveryScore) {
  struct Band {
    int from, to;
    const char* verdict;
  };
  const std::vector<Band> bands = {
      {0, 0, kVerdict0},    {1, 20, kVerdict20},  {21, 40, kVerdict40}, {41, 60, kVerdict60},
      {61, 80, kVerdict80}, {81, 98, kVerdict98}, {99, 99, kVerdict99},
  };
  for (const Band& band : bands) {
    for (int s = band.from; s <= band.to; ++s) {
      SCOPED_TRACE("score " + std::to_string(s));
      EXPECT_TRUE(SameText(ScoreVerdict(s), Gbk(band.verdict)));
    }
  }
}

}  // namespace
