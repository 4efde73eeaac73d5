#pragma once
// The keypad calculator as pure functions. Its state lives in two places that
// always change together: the CalcState record and the text of the display
// label (up to three lines joined by "\r\n": operand, operation, result). The
// operations read the pending operator, the typed second operand and the
// carried result back from the display text, so the display is passed in and
// rewritten in place. Settings are passed in by the caller, never read here.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/text.h"

struct CalcState {
  std::int32_t operatorPending = 0;  // a binary operator waits for its second operand
  double firstOperand = 0;
  double secondOperand = 0;
  std::int32_t enteringFirst = 0;  // the first operand is being typed
  std::int32_t resultShown = 0;    // line 3 holds a completed calculation
  double result = 0;               // the value last computed by a function key
};

// Line n (1-based) of a display text, "" when it has fewer lines.
Text DisplayLine(std::string_view text, int n);

// Idle: every field 0, display "0".
void ClearAll(CalcState& state, Text& display);

// key: "0".."9", "." or "π" (GBK A6 D0). piDigits: decimal places of the π
// text, cut, not rounded.
void EnterOperand(CalcState& state, Text& display, std::string_view key, int piDigits);

// Takes the last byte off the operand being typed.
void Backspace(CalcState& state, Text& display);

// tag: one of the binary OperatorTags " ﹢", " —", " ×", " ÷", " ∧", " √" (GBK).
void ApplyBinaryOperator(CalcState& state, Text& display, std::string_view tag);

// tag: " ﹦", " ≈", "sin", "cos", "tan", "atn", "log", "exp", "1/X" or " …"
// (GBK). roundDigits: decimal places of the ≈ result.
void ApplyFunctionKey(CalcState& state, Text& display, std::string_view tag, int roundDigits);

// A key-down on a keypad button: Windows virtual-key code (numeric keypad
// folded onto the main keyboard except * and +) and the modifier sum
// (1 Ctrl, 2 Shift, 4 Alt).
void HandleCalculatorKey(CalcState& state, Text& display, int key, int modifiers,
                         int roundDigits, int piDigits);
