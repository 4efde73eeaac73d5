#include "calc/keypad_page.h"

#include <string>

#include "config/settings_state.h"
#include "toolkit/toolkit.h"

CalcState KeypadState;

namespace {

const char* const kWindow = "MainWindow";
const char* const kDisplay = "数据显示框";

// Runs one calculator operation on the display's caption.
template <typename Operation>
void OnDisplay(Operation operation) {
  const Text before = tk::GetText(kWindow, kDisplay);
  Text display = before;
  operation(display);
  if (display != before) tk::SetText(kWindow, kDisplay, display);
}

// The tag of the button the user acted on; under redirection the handler
// belongs to another button, but the event source is still the clicked one.
std::string SourceTag() { return tk::GetTag(kWindow, tk::EventSource().c_str()); }

}  // namespace

void EntryButtonClicked() {
  const std::string tag = SourceTag();
  OnDisplay([&](Text& display) { EnterOperand(KeypadState, display, tag, PiDigits); });
}

void OperatorButtonClicked() {
  const std::string tag = SourceTag();
  OnDisplay([&](Text& display) { ApplyBinaryOperator(KeypadState, display, tag); });
}

void FunctionButtonClicked() {
  const std::string tag = SourceTag();
  OnDisplay([&](Text& display) { ApplyFunctionKey(KeypadState, display, tag, RoundDigits); });
}

void ClearAll() {
  OnDisplay([](Text& display) { ClearAll(KeypadState, display); });
}

void Backspace() {
  OnDisplay([](Text& display) { Backspace(KeypadState, display); });
}

void CalculatorKeyDown(int key, int modifiers) {
  OnDisplay([&](Text& display) {
    HandleCalculatorKey(KeypadState, display, key, modifiers, RoundDigits, PiDigits);
  });
}

void BindKeypadDesignHandlers() {
  tk::OnClick(kWindow, "小数点按钮", EntryButtonClicked);
  tk::OnClick(kWindow, "加按钮", OperatorButtonClicked);
  tk::OnClick(kWindow, "等于按钮", FunctionButtonClicked);
  tk::OnClick(kWindow, "清除按钮", [] { ClearAll(); });
  tk::OnClick(kWindow, "删格按钮", [] { Backspace(); });
  for (const char* button : {"小数点按钮", "加按钮", "等于按钮", "清除按钮", "删格按钮"}) {
    tk::OnKeyDown(kWindow, button, CalculatorKeyDown);
  }
}

void WireKeypad() {
  struct Redirection {
    const char* source;
    const char* target;
  };
  static const Redirection table[] = {
      {"按钮0", "小数点按钮"},          {"按钮1", "小数点按钮"},
      {"按钮2", "小数点按钮"},          {"按钮3", "小数点按钮"},
      {"按钮4", "小数点按钮"},          {"按钮5", "小数点按钮"},
      {"按钮6", "小数点按钮"},          {"按钮7", "小数点按钮"},
      {"按钮8", "小数点按钮"},          {"按钮9", "小数点按钮"},
      {"圆周率按钮", "小数点按钮"},     {"减按钮", "加按钮"},
      {"乘按钮", "加按钮"},             {"除按钮", "加按钮"},
      {"求n次乘方按钮", "加按钮"},      {"求n次开方按钮", "加按钮"},
      {"约等于按钮", "等于按钮"},       {"求倒数按钮", "等于按钮"},
      {"求余数按钮", "等于按钮"},       {"求正弦按钮", "等于按钮"},
      {"求正切按钮", "等于按钮"},       {"求余弦按钮", "等于按钮"},
      {"求自然对数按钮", "等于按钮"},   {"求反对数按钮", "等于按钮"},
      {"求反正切按钮", "等于按钮"},
  };
  for (const Redirection& r : table) tk::Redirect(kWindow, r.source, r.target);
  // Keys reach the calculator only through a focused keypad button.
  tk::SetFocus(kWindow, "等于按钮");
}
