#include "namescore/namescore_page.h"

#include <cstdint>

#include "core/gbk.h"
#include "core/number.h"
#include "core/text.h"
#include "namescore/namescore.h"
#include "toolkit/toolkit.h"

namespace {

constexpr const char* kWindow = "MainWindow";
constexpr const char* kNameBox = "姓名编辑框";
constexpr const char* kTestButton = "测试按钮";
constexpr const char* kProgressBar = "测试进度条";
constexpr const char* kScoreLabel = "得分标签";
constexpr const char* kGradeLabel = "等级标签";
constexpr const char* kVerdictLabel = "评价标签";

std::string VerdictPlaceholder() { return Gbk("\r\n    评 价"); }

}  // namespace

void BindNameScorePage() {
  tk::OnClick(kWindow, kTestButton, RunNameScore);
  tk::OnTextChanged(kWindow, kNameBox, ResetNameScore);
}

void RunNameScore() {
  const Text name = RemoveSpaces(tk::GetText(kWindow, kNameBox));
  if (CompareText(name, "") == 0) {
    tk::MessageBox(Gbk("请输入您的姓名！"), tk::kInformationIcon, Gbk("温馨提示"));
    return;
  }

  // Disabling the name box and the button is the only guard against a second
  // start (or a changed name) while the count-up below lets events run.
  tk::SetEnabled(kWindow, kNameBox, false);
  tk::SetPosition(kWindow, kProgressBar, 0);
  tk::SetText(kWindow, kGradeLabel, Gbk("←残级→"));
  tk::SetText(kWindow, kScoreLabel, "0");
  tk::SetText(kWindow, kVerdictLabel, VerdictPlaceholder());
  tk::SetEnabled(kWindow, kTestButton, false);

  const std::int32_t score = NameScore(name);
  for (std::int32_t j = 1; j <= score; ++j) {
    tk::SetPosition(kWindow, kProgressBar, j);
    tk::SetText(kWindow, kScoreLabel, IntegerToText(j));
    tk::SetText(kWindow, kGradeLabel, ScoreGrade(j));
    tk::Sleep(100);
    tk::PumpEvents();
    // The pump may have run the closing of the main window. Its controls are
    // gone then and the program is ending: stop here, touch nothing and do not
    // beep, so the event loop can finish at once.
    if (!tk::WindowExists(kWindow)) return;
  }

  tk::SetText(kWindow, kVerdictLabel, ScoreVerdict(score));
  tk::Beep();
  tk::SetEnabled(kWindow, kTestButton, true);
  tk::SetEnabled(kWindow, kNameBox, true);
}

void ResetNameScore() {
  tk::SetText(kWindow, kScoreLabel, Gbk("分数"));
  tk::SetPosition(kWindow, kProgressBar, 0);
  tk::SetText(kWindow, kGradeLabel, Gbk("←等级→"));
  tk::SetText(kWindow, kVerdictLabel, VerdictPlaceholder());
}
