#include <gtest/gtest.h>

#include <vector>

#include "core/fatal.h"
#include "core/gbk.h"

namespace {

TEST(FatalError, TextNamesCodeAndMessage) {
  EXPECT_EQ(FatalErrorText(Gbk("不能整除于零"), 0), Gbk("运行时出错!\r\n\r\n错误信息：不能整除于零\r\n"));
  EXPECT_EQ(FatalErrorText(Gbk("数组成员引用下标必须大于等于1"), 4),
            Gbk("运行时出错!\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n"));
  EXPECT_EQ(FatalErrorText("", 0), Gbk("运行时出错!\r\n\r\n"));
  EXPECT_EQ(FatalErrorText("", -7), Gbk("运行时出错!\r\n\r\n错误代码：-7\r\n\r\n"));
}

TEST(FatalErrorDeathTest, ReportsThenExitsWithMinusOne) {
  // The default reporter writes the text (as UTF-8) to standard error.
  EXPECT_EXIT(FatalError(Gbk("不能求余数于零")), ::testing::ExitedWithCode(255), "错误信息：不能求余数于零");
}

void ReportToStdoutMarker(const std::string& text) {
  std::fprintf(stderr, "reported %zu bytes\n", text.size());
}

TEST(FatalErrorDeathTest, TheInstalledReporterReceivesTheText) {
  EXPECT_EXIT(
      {
        SetFatalErrorReporter(&ReportToStdoutMarker);
        FatalError("x", 0);
      },
      ::testing::ExitedWithCode(255), "reported 28 bytes");
}

TEST(ArrayAccessDeathTest, IndexOutsideOneToCountEndsTheProgram) {
  std::vector<int> list{10, 20, 30};
  EXPECT_EQ(At(list, 1), 10);
  EXPECT_EQ(At(list, 3), 30);
  EXPECT_EXIT(At(list, 0), ::testing::ExitedWithCode(255), "错误代码：4");
  EXPECT_EXIT(At(list, 4), ::testing::ExitedWithCode(255), "错误代码：1");
  std::vector<int> empty;
  EXPECT_EXIT(At(empty, 1), ::testing::ExitedWithCode(255), "下标超出定义范围");
}

}  // namespace
