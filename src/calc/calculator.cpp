#include "calc/calculator.h"

#include <algorithm>
#include <optional>

#include "core/gbk.h"
#include "core/number.h"

namespace {

// The display's GBK symbols, converted once.
struct Symbols {
  Text plus = Gbk(" ﹢");
  Text minus = Gbk(" —");
  Text times = Gbk(" ×");
  Text divide = Gbk(" ÷");
  Text power = Gbk(" ∧");
  Text root = Gbk(" √");
  Text equalsKey = Gbk(" ﹦");
  Text approxKey = Gbk(" ≈");
  Text remainderKey = Gbk(" …");
  Text equalsSign = Gbk("﹦");
  Text approxSign = Gbk("≈");
  Text quotientRemainder = Gbk("……");
  Text pi = Gbk("π");
  Text error = Gbk("错误");
};

const Symbols& Sym() {
  static const Symbols symbols;
  return symbols;
}

const char* const kCrLf = "\r\n";
const char* const kPiText = "3.14159265359";

// The degrees-to-radians factor uses this short π, not the full one: sin(30)
// shows 0.499999999987, and that is what users of the program know.
constexpr double kShortPi = 3.1415926535;
// A divisor, or a number to be inverted, must be larger than this.
constexpr double kSmallestDivisor = 1e-7;
// Zero padding of ≈ never goes beyond this many places, so that an absurd
// setting typed on the settings page cannot make the display grow without end.
constexpr int kMaxPaddedPlaces = 1000;

double Radians(double degrees) {
  const double product = degrees * kShortPi;
  return product / 180.0;
}

bool Is(std::string_view text, std::string_view other) { return CompareText(text, other) == 0; }

// The π text cut (not rounded) to piDigits decimal places.
Text PiText(int piDigits) {
  const long long bytes = std::clamp(static_cast<long long>(piDigits) + 2, 0LL, 13LL);
  return TextLeft(kPiText, static_cast<int>(bytes));
}

// Line 2 of a binary operator is tag (3 bytes), "(", operand, ")". A function
// form such as "sin(30)" has the same shape, so both are cut the same way.
Text WithoutClosingBracket(std::string_view line2) {
  return TextLeft(line2, TextLength(line2) - 1);
}
Text OperandText(std::string_view line2) {
  const Text b = WithoutClosingBracket(line2);
  return TextRight(b, TextLength(b) - 4);
}

Text Lines(std::string_view line1, std::string_view line2) {
  return ConcatText({line1, kCrLf, line2});
}

// The operation named on line 2, evaluated from the stored operands. No value
// when a reciprocal is refused.
std::optional<double> EvaluateLine2(const CalcState& state, const Text& display) {
  const Symbols& s = Sym();
  const Text op = TextLeft(DisplayLine(display, 2), 3);
  const double first = state.firstOperand;
  const double second = state.secondOperand;
  if (Is(op, s.plus)) return first + second;
  if (Is(op, s.minus)) return first - second;
  if (Is(op, s.times)) return first * second;
  if (Is(op, s.divide)) return first / second;
  if (Is(op, s.power)) return Power(first, second);
  if (Is(op, s.root)) return Power(first, 1.0 / second);
  if (Is(op, "sin")) return Sine(Radians(first));
  if (Is(op, "tan")) return Tangent(Radians(first));
  if (Is(op, "cos")) return Cosine(Radians(first));
  if (Is(op, "atn")) return ArcTangent(first);
  if (Is(op, "log")) return NaturalLog(first);
  if (Is(op, "exp")) return Exp(first);
  if (Is(op, " 1/")) {
    if (AbsoluteValue(first) > kSmallestDivisor) return 1.0 / first;
    return std::nullopt;
  }
  return first;
}

void Equals(CalcState& state, Text& display) {
  const Text line1 = DisplayLine(display, 1);
  const Text line2 = DisplayLine(display, 2);
  if (const auto v = EvaluateLine2(state, display)) state.result = *v;
  state.operatorPending = 0;
  state.enteringFirst = 0;
  state.resultShown = 1;
  display = ConcatText({line1, kCrLf, line2, kCrLf, Sym().equalsSign, NumberToText(state.result)});
}

void ApproximatelyEquals(CalcState& state, Text& display, int roundDigits) {
  const Text line1 = DisplayLine(display, 1);
  const Text line2 = DisplayLine(display, 2);
  if (const auto v = EvaluateLine2(state, display)) state.result = RoundNumber(*v, roundDigits);
  state.operatorPending = 0;
  state.enteringFirst = 0;
  state.resultShown = 1;
  const Text t = NumberToText(state.result);
  display = ConcatText({line1, kCrLf, line2, kCrLf, Sym().approxSign, t});
  // An exponent form is shown as it is: padding "1e-005" with zeros would
  // change its value. It is still written, so that line 3 (which the next
  // operator carries on) always shows the value in result.
  if (FindText(t, "e") != -1 || roundDigits <= 0) return;
  const int places = std::min(roundDigits, kMaxPaddedPlaces);
  const int point = FindTextFromEnd(t, ".");
  if (point != -1) {
    const int decimals = TextLength(t) - point;
    if (decimals < places) display.append(static_cast<std::size_t>(places - decimals), '0');
  } else if (FindText(DisplayLine(display, 3), ".") == -1) {
    display += '.';
    display.append(static_cast<std::size_t>(places), '0');
  }
}

// Which number a unary function key works on. False in Idle, where the key
// does nothing. After a completed calculation the result becomes the first
// operand, so repeated presses apply the function again and again.
bool ChooseArgument(CalcState& state) {
  if (state.operatorPending == 1 || state.enteringFirst == 1) return true;
  if (state.resultShown == 1) {
    state.firstOperand = state.result;
    return true;
  }
  return false;
}

void UnaryFunction(CalcState& state, Text& display, std::string_view name) {
  if (!ChooseArgument(state)) return;
  const double x = state.firstOperand;
  if (name == "sin") state.result = Sine(Radians(x));
  else if (name == "cos") state.result = Cosine(Radians(x));
  else if (name == "tan") state.result = Tangent(Radians(x));
  else if (name == "atn") state.result = ArcTangent(x);
  else if (name == "log") state.result = NaturalLog(x);
  else state.result = Exp(x);
  const Text first = NumberToText(state.firstOperand);
  display = ConcatText({first, kCrLf, name, "(", first, ")", kCrLf, Sym().equalsSign,
                        NumberToText(state.result)});
  state.resultShown = 1;
  state.enteringFirst = 0;
  // sin, cos and tan leave a pending operator pending; the next digit then
  // edits the function's argument on line 2 as if it were the second operand.
  if (name == "atn" || name == "log" || name == "exp") state.operatorPending = 0;
}

// Returns false when the number is refused.
bool Reciprocal(CalcState& state, Text& display) {
  const bool typing = state.operatorPending == 1 || state.enteringFirst == 1;
  if (!ChooseArgument(state)) return true;
  const double x = state.firstOperand;
  const bool accepted = AbsoluteValue(x) > kSmallestDivisor;
  if (accepted) state.result = 1.0 / x;
  const Text first = NumberToText(state.firstOperand);
  display = ConcatText({first, kCrLf, " 1/(", first, ")", kCrLf, Sym().equalsSign,
                        NumberToText(state.result)});
  if (typing && accepted) {
    state.resultShown = 1;
    state.enteringFirst = 0;
    state.operatorPending = 0;
  }
  return accepted;
}

void ShowQuotientAndRemainder(CalcState& state, Text& display, double dividend, double divisor,
                              std::string_view line2) {
  const double q = IntegerDivide(dividend, divisor);
  const double r = Remainder(dividend, divisor);
  display = ConcatText({NumberToText(state.firstOperand), kCrLf, line2, kCrLf, Sym().equalsSign,
                        NumberToText(q), Sym().quotientRemainder, NumberToText(r)});
  state.resultShown = 1;
  state.enteringFirst = 0;
  state.operatorPending = 0;
}

// The remainder key looks only at line 2, never at the flags. The divisor is
// tested first, so IntegerDivide and Remainder never meet a zero here.
bool QuotientAndRemainder(CalcState& state, Text& display) {
  const Text op = TextLeft(DisplayLine(display, 2), 3);
  if (Is(op, Sym().divide)) {
    if (!(AbsoluteValue(state.secondOperand) > kSmallestDivisor)) return false;
    state.result = state.firstOperand / state.secondOperand;
    const Text line2 = ConcatText({Sym().divide, "(", NumberToText(state.secondOperand), ")"});
    ShowQuotientAndRemainder(state, display, state.firstOperand, state.secondOperand, line2);
    return true;
  }
  if (Is(op, " 1/")) {
    if (!(AbsoluteValue(state.firstOperand) > kSmallestDivisor)) return false;
    state.result = 1.0 / state.firstOperand;
    const Text line2 = ConcatText({" 1/(", NumberToText(state.firstOperand), ")"});
    ShowQuotientAndRemainder(state, display, 1.0, state.firstOperand, line2);
    return true;
  }
  return true;
}

}  // namespace

Text DisplayLine(std::string_view text, int n) {
  const TextList lines = SplitText(text, kCrLf);
  if (n < 1 || static_cast<std::size_t>(n) > lines.size()) return Text();
  return lines[static_cast<std::size_t>(n - 1)];
}

void ClearAll(CalcState& state, Text& display) {
  state = CalcState{};
  display = "0";
}

void EnterOperand(CalcState& state, Text& display, std::string_view key, int piDigits) {
  const Symbols& s = Sym();
  const bool point = key == ".";
  const bool pi = Is(key, s.pi);
  if (state.enteringFirst == 1 ||
      (state.operatorPending == 0 && state.resultShown == 0)) {
    state.enteringFirst = 1;
    const Text line1 = DisplayLine(display, 1);
    if (point) {
      if (FindText(line1, ".") == -1) display = ConcatText({line1, "."});
    } else if (pi) {
      display = PiText(piDigits);
    } else if (Is(line1, "0")) {
      display = Text(key);
    } else {
      display = ConcatText({line1, key});
    }
    state.firstOperand = TextToNumber(DisplayLine(display, 1));
    return;
  }
  if (state.operatorPending == 1) {
    const Text line1 = DisplayLine(display, 1);
    const Text line2 = DisplayLine(display, 2);
    const Text b = WithoutClosingBracket(line2);
    const Text t = OperandText(line2);
    std::optional<Text> newLine2;
    if (point) {
      if (FindText(line2, ".") == -1) newLine2 = ConcatText({b, ".)"});
    } else if (pi) {
      newLine2 = ConcatText({TextLeft(b, 4), PiText(piDigits), ")"});
    } else if (Is(t, "0")) {
      newLine2 = ConcatText({TextLeft(b, 4), key, ")"});
    } else {
      newLine2 = ConcatText({b, key, ")"});
    }
    if (newLine2) display = Lines(line1, *newLine2);
    state.secondOperand = TextToNumber(OperandText(DisplayLine(display, 2)));
    return;
  }
  if (state.resultShown == 1) {
    if (point) display = "0.";
    else if (pi) display = PiText(piDigits);
    else display = Text(key);
    state.enteringFirst = 1;
    state.resultShown = 0;
    state.firstOperand = TextToNumber(display);
    state.secondOperand = 0;
    state.result = 0;
  }
}

void Backspace(CalcState& state, Text& display) {
  if (state.enteringFirst == 1) {
    // Cuts bytes, not characters: a carried "3……1" comes apart through the
    // middle of its two-byte characters, and TextToNumber ignores a lone lead
    // byte at the end.
    const Text line1 = DisplayLine(display, 1);
    if (!Is(line1, "0")) display = TextLeft(line1, TextLength(line1) - 1);
    if (DisplayLine(display, 1).empty()) display = "0";
    state.firstOperand = TextToNumber(DisplayLine(display, 1));
    return;
  }
  if (state.operatorPending == 1) {
    const Text line1 = DisplayLine(display, 1);
    const Text line2 = DisplayLine(display, 2);
    Text t = OperandText(line2);
    if (Is(t, "0")) {
      // Nothing typed after the operator: take the operator back.
      state.operatorPending = 0;
      state.enteringFirst = 1;
      display = line1;
      state.secondOperand = 0;
      return;
    }
    t = TextLeft(t, TextLength(t) - 1);
    if (t.empty()) t = "0";
    display = ConcatText({line1, kCrLf, TextLeft(line2, 4), t, ")"});
    state.secondOperand = TextToNumber(t);
    return;
  }
  if (state.resultShown == 1) {
    display = "0";
    state.resultShown = 0;
    state.enteringFirst = 1;
    state.firstOperand = 0;
    state.secondOperand = 0;
    state.result = 0;
  }
}

void ApplyBinaryOperator(CalcState& state, Text& display, std::string_view tag) {
  const Symbols& s = Sym();
  if (state.operatorPending == 1) {
    const Text line1 = DisplayLine(display, 1);
    const Text line2 = DisplayLine(display, 2);
    const Text p = TextLeft(line2, 3);
    // A second operand typed as a single "0" looks like the placeholder: the
    // new operator then only replaces the pending one.
    if (Is(OperandText(line2), "0")) {
      display = ConcatText({line1, kCrLf, tag, "(0)"});
      return;
    }
    double& first = state.firstOperand;
    const double second = state.secondOperand;
    if (Is(p, s.plus)) first = first + second;
    else if (Is(p, s.minus)) first = first - second;
    else if (Is(p, s.times)) first = first * second;
    else if (Is(p, s.divide)) first = first / second;
    else if (Is(p, s.power)) first = Power(first, second);
    else if (Is(p, s.root)) first = Power(first, 1.0 / second);
    display = ConcatText({NumberToText(first), kCrLf, tag, "(0)"});
    state.secondOperand = 0;
    return;
  }
  if (state.enteringFirst == 1 || state.resultShown == 0) {
    state.operatorPending = 1;
    state.enteringFirst = 0;
    display = ConcatText({DisplayLine(display, 1), kCrLf, tag, "(0)"});
    return;
  }
  // After a result the first operand is the text line 3 shows, not the exact
  // double in result.
  const Text line3 = DisplayLine(display, 3);
  const Text carried = Is(line3, s.error) ? Text("0") : TextRight(line3, TextLength(line3) - 2);
  display = ConcatText({carried, kCrLf, tag, "(0)"});
  state.firstOperand = TextToNumber(carried);
  state.secondOperand = 0;
  state.result = 0;
  state.operatorPending = 1;
  state.resultShown = 0;
}

void ApplyFunctionKey(CalcState& state, Text& display, std::string_view tag, int roundDigits) {
  const Symbols& s = Sym();
  bool refused = false;
  if (Is(tag, s.equalsKey)) {
    Equals(state, display);
  } else if (Is(tag, s.approxKey)) {
    ApproximatelyEquals(state, display, roundDigits);
  } else if (Is(tag, "sin") || Is(tag, "cos") || Is(tag, "tan") || Is(tag, "atn") ||
             Is(tag, "log") || Is(tag, "exp")) {
    UnaryFunction(state, display, tag);
  } else if (Is(tag, "1/X")) {
    refused = !Reciprocal(state, display);
  } else if (Is(tag, s.remainderKey)) {
    refused = !QuotientAndRemainder(state, display);
  }
  // Every key ends here. The test looks at result, not at what the key did,
  // so even a key that changed nothing shows an earlier infinity as an error.
  if (refused || FindText(NumberToText(state.result), "#") != -1) {
    display = ConcatText({DisplayLine(display, 1), kCrLf, DisplayLine(display, 2), kCrLf, s.error});
  }
}

void HandleCalculatorKey(CalcState& state, Text& display, int key, int modifiers,
                         int roundDigits, int piDigits) {
  const Symbols& s = Sym();
  constexpr int kCtrl = 1, kShift = 2;
  switch (key) {
    case 27: ClearAll(state, display); return;
    case 8: Backspace(state, display); return;
    case 13:
    case 187:
      ApplyFunctionKey(state, display, modifiers == kCtrl ? s.approxKey : s.equalsKey, roundDigits);
      return;
    default: break;
  }
  // Shift+6 and Shift+7 are the caret and the ampersand: power and root. With
  // any other modifiers they are digits again.
  if (key == 54 && modifiers == kShift) return ApplyBinaryOperator(state, display, s.power);
  if (key == 55 && modifiers == kShift) return ApplyBinaryOperator(state, display, s.root);
  switch (key) {
    case 107: return ApplyBinaryOperator(state, display, s.plus);
    case 189: return ApplyBinaryOperator(state, display, s.minus);
    case 106: return ApplyBinaryOperator(state, display, s.times);
    case 191: return ApplyBinaryOperator(state, display, s.divide);
    case 80: return EnterOperand(state, display, s.pi, piDigits);
    case 190: return EnterOperand(state, display, ".", piDigits);
    case 83: return ApplyFunctionKey(state, display, "sin", roundDigits);
    case 67: return ApplyFunctionKey(state, display, "cos", roundDigits);
    case 84: return ApplyFunctionKey(state, display, "tan", roundDigits);
    case 65: return ApplyFunctionKey(state, display, "atn", roundDigits);
    case 76: return ApplyFunctionKey(state, display, "log", roundDigits);
    case 69: return ApplyFunctionKey(state, display, "exp", roundDigits);
    case 220: return ApplyFunctionKey(state, display, s.remainderKey, roundDigits);
    case 186: return ApplyFunctionKey(state, display, "1/X", roundDigits);
    default: break;
  }
  if (key >= '0' && key <= '9') {
    const char digit = static_cast<char>(key);
    EnterOperand(state, display, std::string_view(&digit, 1), piDigits);
  }
}
