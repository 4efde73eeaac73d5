#include "core/fatal.h"

#include <cstdio>
#include <cstdlib>

#include "core/gbk.h"

namespace {

void WriteToStandardError(const std::string& gbkText) {
  std::string text = Utf8FromGbk(gbkText);
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

FatalReporter gReporter = &WriteToStandardError;

}  // namespace

void SetFatalErrorReporter(FatalReporter reporter) {
  gReporter = reporter ? reporter : &WriteToStandardError;
}

std::string FatalErrorText(std::string_view gbkMessage, int code) {
  std::string text = Gbk("运行时出错!") + "\r\n\r\n";
  if (code != 0) text += Gbk("错误代码：") + std::to_string(code) + "\r\n\r\n";
  if (!gbkMessage.empty()) {
    text += Gbk("错误信息：");
    text += gbkMessage;
    text += "\r\n";
  }
  return text;
}

void FatalError(std::string_view gbkMessage, int code) {
  gReporter(FatalErrorText(gbkMessage, code));
  std::fflush(nullptr);
  // Ends at once: the operation that failed must not go on, and the window
  // objects are not torn down from inside a handler.
  std::_Exit(-1);
}

void CheckIndex(std::size_t count, long long index) {
  if (index < 1) FatalError(Gbk("数组成员引用下标必须大于等于1"), 4);
  if (static_cast<unsigned long long>(index) > count) FatalError(Gbk("数组成员引用下标超出定义范围"), 1);
}
