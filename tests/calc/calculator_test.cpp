// The calculator engine, driven by key sequences from a cleared state. Each
// row gives the keys, the exact display text and the CalcState fields after
// them. Keys are written as the user sees them, separated by spaces:
//   digits and "." (several per token: "7.5"), π, the operators ﹢ — × ÷ ∧ √,
//   ﹦ ≈ …, the functions sin cos tan atn log exp 1/X, ← (backspace), AC.
#include <gtest/gtest.h>

#include <climits>
#include <sstream>
#include <string>
#include <vector>

#include "calc/calculator.h"
#include "core/gbk.h"
#include "core/number.h"

namespace {

struct Calc {
  CalcState state;
  Text display = "0";
};

// Runs one key token; false when the token is not a key.
bool PressToken(Calc& c, const std::string& token, int roundDigits, int piDigits) {
  static const std::vector<std::string> binary = {"﹢", "—", "×", "÷", "∧", "√"};
  static const std::vector<std::string> completing = {"﹦", "≈", "…"};
  static const std::vector<std::string> functions = {"sin", "cos", "tan", "atn",
                                                     "log", "exp", "1/X"};
  for (const auto& op : binary) {
    if (token == op) {
      ApplyBinaryOperator(c.state, c.display, Gbk(" " + op));
      return true;
    }
  }
  for (const auto& op : completing) {
    if (token == op) {
      ApplyFunctionKey(c.state, c.display, Gbk(" " + op), roundDigits);
      return true;
    }
  }
  for (const auto& f : functions) {
    if (token == f) {
      ApplyFunctionKey(c.state, c.display, f, roundDigits);
      return true;
    }
  }
  if (token == "←") {
    Backspace(c.state, c.display);
    return true;
  }
  if (token == "AC") {
    ClearAll(c.state, c.display);
    return true;
  }
  if (token == "π") {
    EnterOperand(c.state, c.display, Gbk("π"), piDigits);
    return true;
  }
  if (token.find_first_not_of("0123456789.") != std::string::npos) return false;
  for (char ch : token) EnterOperand(c.state, c.display, std::string(1, ch), piDigits);
  return true;
}

Calc RunKeys(const std::string& keys, int roundDigits = 2, int piDigits = 11) {
  Calc c;
  ClearAll(c.state, c.display);
  std::istringstream in(keys);
  std::string token;
  while (in >> token) {
    if (!PressToken(c, token, roundDigits, piDigits)) {
      ADD_FAILURE() << "not a key: " << token;
      break;
    }
  }
  return c;
}

std::string Mode(const CalcState& s) {
  std::string mode;
  auto flag = [&](std::int32_t value, const char* name) {
    if (value == 0) return;
    if (!mode.empty()) mode += "+";
    mode += value == 1 ? name : std::string(name) + "=" + std::to_string(value);
  };
  flag(s.operatorPending, "P");
  flag(s.enteringFirst, "E");
  flag(s.resultShown, "R");
  return mode.empty() ? "Idle" : mode;
}

// Compares the display byte for byte and says where it differs.
::testing::AssertionResult SameDisplay(const Text& got, const Text& want) {
  if (got == want) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "display\n   got: \"" << Utf8FromGbk(got) << "\"  [" << HexBytes(got) << "]"
         << "\n  want: \"" << Utf8FromGbk(want) << "\"  [" << HexBytes(want) << "]";
}

struct Row {
  const char* keys;
  const char* display;  // UTF-8 source text, compared after conversion to GBK
  const char* mode;     // "Idle", "E", "P", "R", "P+R", "E+R"
  // The three numbers as NumberToText shows them.
  const char* first;
  const char* second;
  const char* result;
  int roundDigits = 2;
  int piDigits = 11;
};

void CheckRows(const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string("keys \"") + row.keys + "\" RoundDigits " +
                 std::to_string(row.roundDigits) + " PiDigits " + std::to_string(row.piDigits));
    const Calc c = RunKeys(row.keys, row.roundDigits, row.piDigits);
    EXPECT_TRUE(SameDisplay(c.display, Gbk(row.display)));
    EXPECT_EQ(Mode(c.state), row.mode);
    EXPECT_EQ(NumberToText(c.state.firstOperand), row.first) << "firstOperand";
    EXPECT_EQ(NumberToText(c.state.secondOperand), row.second) << "secondOperand";
    EXPECT_EQ(NumberToText(c.state.result), row.result) << "result";
  }
}

TEST(CalcDisplay, DisplayLineSplitsAtCrLf) {
  struct {
    const char* text;
    int n;
    const char* want;
  } rows[] = {
      {"0", 1, "0"},
      {"0", 2, ""},
      {"5\r\n\r\n﹦5", 1, "5"},
      {"5\r\n\r\n﹦5", 2, ""},
      {"5\r\n\r\n﹦5", 3, "﹦5"},
      {"12\r\n ×(0)", 2, " ×(0)"},
      {"12\r\n ×(0)", 3, ""},
      {"", 1, ""},
      {"", 3, ""},
      {"a\r\n", 2, ""},
      {"a", 0, ""},
      {"a", -1, ""},
  };
  for (const auto& row : rows) {
    EXPECT_TRUE(SameDisplay(DisplayLine(Gbk(row.text), row.n), Gbk(row.want)))
        << "\"" << row.text << "\" line " << row.n;
  }
}

TEST(CalcDisplay, SymbolsAreTheGbkBytesOfTheKeypad) {
  // The tags compared on line 2 are these exact bytes.
  struct {
    const char* utf8;
    const char* hex;
  } rows[] = {
      {" ﹢", "20 A9 80"}, {" —", "20 A1 AA"}, {" ×", "20 A1 C1"}, {" ÷", "20 A1 C2"},
      {" ∧", "20 A1 C4"}, {" √", "20 A1 CC"}, {" ﹦", "20 A9 84"}, {" ≈", "20 A1 D6"},
      {" …", "20 A1 AD"}, {"π", "A6 D0"},      {"错误", "B4 ED CE F3"},
  };
  for (const auto& row : rows) EXPECT_EQ(HexBytes(Gbk(row.utf8)), row.hex) << row.utf8;
  // And the engine writes them: "7 ÷ 2 …" shows ÷ on line 2 and …… on line 3.
  const Calc c = RunKeys("7 ÷ 2 …");
  EXPECT_EQ(HexBytes(c.display), "37 0D 0A 20 A1 C2 28 32 29 0D 0A A9 84 33 A1 AD A1 AD 31");
}

TEST(CalcEngine, ClearAllFromEveryMode) {
  CheckRows({
      {"", "0", "Idle", "0", "0", "0"},
      {"AC", "0", "Idle", "0", "0", "0"},
      {"12.5 AC", "0", "Idle", "0", "0", "0"},
      {"12 × 3 AC", "0", "Idle", "0", "0", "0"},
      {"12 ÷ 5 ﹦ AC", "0", "Idle", "0", "0", "0"},
      {"1 ÷ 0 ﹦ AC", "0", "Idle", "0", "0", "0"},
      {"5 × sin AC", "0", "Idle", "0", "0", "0"},
      {"0 1/X AC", "0", "Idle", "0", "0", "0"},
  });
}

TEST(CalcEngine, FirstOperandEntry) {
  CheckRows({
      {"7", "7", "E", "7", "0", "0"},
      {"0", "0", "E", "0", "0", "0"},
      {"00", "0", "E", "0", "0", "0"},
      {".", "0.", "E", "0", "0", "0"},
      {"7.", "7.", "E", "7", "0", "0"},
      {"7..", "7.", "E", "7", "0", "0"},
      {"7.5", "7.5", "E", "7.5", "0", "0"},
      {"0.05", "0.05", "E", "0.05", "0", "0"},
      {"12 π", "3.14159265359", "E", "3.14159265359", "0", "0"},
      {"12345678901234567", "12345678901234567", "E", "1.234567890123e+016", "0", "0"},
  });
}

TEST(CalcEngine, PiKeyCutsToPiDigits) {
  CheckRows({
      {"π", "3.14159265359", "E", "3.14159265359", "0", "0", 2, 11},
      {"π", "3.1415", "E", "3.1415", "0", "0", 2, 4},
      {"π", "3.", "E", "3", "0", "0", 2, 0},
      {"π", "3.1", "E", "3.1", "0", "0", 2, 1},
      {"π", "3.1415926535", "E", "3.1415926535", "0", "0", 2, 10},
      {"π 9", "3.14159", "E", "3.14159", "0", "0", 2, 4},
      {"π .", "3.1415", "E", "3.1415", "0", "0", 2, 4},
      {"12 × 50 π", "12\r\n ×(3.14)", "P", "12", "3.14", "0", 2, 2},
      {"12 × π", "12\r\n ×(3.14159265359)", "P", "12", "3.14159265359", "0", 2, 11},
      // Settings typed on the settings page are not range-checked: the cut
      // still takes PiDigits + 2 bytes of the text, clipped at both ends.
      {"π", "3.14159265359", "E", "3.14159265359", "0", "0", 2, 99},
      {"π", "3.14159265359", "E", "3.14159265359", "0", "0", 2, INT_MAX},
      {"π", "3", "E", "3", "0", "0", 2, -1},
      {"π", "", "E", "0", "0", "0", 2, -2},
      {"π", "", "E", "0", "0", "0", 2, INT_MIN},
  });
}

TEST(CalcEngine, SecondOperandEntry) {
  CheckRows({
      {"12 × 5", "12\r\n ×(5)", "P", "12", "5", "0"},
      {"12 × 50", "12\r\n ×(50)", "P", "12", "50", "0"},
      {"12 × 0", "12\r\n ×(0)", "P", "12", "0", "0"},
      {"12 × 00", "12\r\n ×(0)", "P", "12", "0", "0"},
      {"12 × .", "12\r\n ×(0.)", "P", "12", "0", "0"},
      {"12 × .5", "12\r\n ×(0.5)", "P", "12", "0.5", "0"},
      {"12 × .5.", "12\r\n ×(0.5)", "P", "12", "0.5", "0"},
      {"12 × 05", "12\r\n ×(5)", "P", "12", "5", "0"},
  });
}

TEST(CalcEngine, EntryAfterAResultStartsAgain) {
  CheckRows({
      {"12 ÷ 5 ﹦ 7", "7", "E", "7", "0", "0"},
      {"12 ÷ 5 ﹦ .", "0.", "E", "0", "0", "0"},
      {"1 ÷ 0 ﹦ π", "3.14159265359", "E", "3.14159265359", "0", "0"},
      {"12 ÷ 5 ﹦ π", "3.14", "E", "3.14", "0", "0", 2, 2},
  });
}

TEST(CalcEngine, BackspaceTakesOffOneByte) {
  CheckRows({
      {"123 ←", "12", "E", "12", "0", "0"},
      {"1 ←", "0", "E", "0", "0", "0"},
      {"0 ←", "0", "E", "0", "0", "0"},
      {". ←", "0", "E", "0", "0", "0"},
      {"7.5 ←", "7.", "E", "7", "0", "0"},
      {"12 × 35 ←", "12\r\n ×(3)", "P", "12", "3", "0"},
      {"12 × 3 ←", "12\r\n ×(0)", "P", "12", "0", "0"},
      {"12 × . ←", "12\r\n ×(0)", "P", "12", "0", "0"},
      {"12 × ←", "12", "E", "12", "0", "0"},
      {"12 × ← ←", "1", "E", "1", "0", "0"},
      {"12 ÷ 5 ﹦ ←", "0", "E", "0", "0", "0"},
      {"←", "0", "Idle", "0", "0", "0"},
      // A chained value comes back to line 1; the exact double stays until
      // the line is edited.
      {"1 ÷ 3 × ←", "0.3333333333333", "E", "0.3333333333333", "0", "0"},
      {"1 ÷ 3 × ← 1", "0.33333333333331", "E", "0.3333333333333", "0", "0"},
      // An exponent form taken back to line 1 is edited as plain text.
      {"100000 × 10000000000 ﹢ ←", "1e+015", "E", "1e+015", "0", "0"},
      {"100000 × 10000000000 ﹢ ← 5", "1e+0155", "E", "1e+155", "0", "0"},
      {"100000 × 10000000000 ﹢ ← ← ←", "1e+0", "E", "1", "0", "0"},
  });
}

TEST(CalcEngine, BackspaceCutsThroughTwoByteCharacters) {
  // 7 ÷ 2 … gives "3……1" on line 3; an operator carries it to line 1 and
  // taking the operator back leaves it there to be edited byte by byte.
  Calc c = RunKeys("7 ÷ 2 … ﹢ ← 5");
  ASSERT_TRUE(SameDisplay(c.display, Gbk("3……15")));
  EXPECT_EQ(Mode(c.state), "E");
  EXPECT_EQ(c.state.firstOperand, 3);
  const Text dots = Gbk("……");  // A1 AD A1 AD
  const Text steps[] = {
      "3" + dots + "1", "3" + dots, "3" + dots.substr(0, 3), "3" + dots.substr(0, 2),
      "3" + dots.substr(0, 1), "3", "0", "0",
  };
  for (const Text& want : steps) {
    Backspace(c.state, c.display);
    EXPECT_TRUE(SameDisplay(c.display, want));
    EXPECT_EQ(c.state.firstOperand, want == "0" ? 0 : 3) << HexBytes(want);
    EXPECT_EQ(Mode(c.state), "E");
  }
  // A digit after a dangling lead byte joins it in the text; the value still
  // stops at the first character that is no part of a number.
  c = RunKeys("7 ÷ 2 … ﹢ ← ← ← ← ←");
  ASSERT_TRUE(SameDisplay(c.display, "3" + dots.substr(0, 1)));
  EnterOperand(c.state, c.display, "4", 11);
  EXPECT_TRUE(SameDisplay(c.display, "3" + dots.substr(0, 1) + "4"));
  EXPECT_EQ(c.state.firstOperand, 3);
}

TEST(CalcEngine, BinaryOperators) {
  CheckRows({
      {"﹢", "0\r\n ﹢(0)", "P", "0", "0", "0"},
      {"12 ×", "12\r\n ×(0)", "P", "12", "0", "0"},
      {"12 × ÷", "12\r\n ÷(0)", "P", "12", "0", "0"},
      {"12 × 3 ﹢", "36\r\n ﹢(0)", "P", "36", "0", "0"},
      {"12 × 3 ﹢ 4 —", "40\r\n —(0)", "P", "40", "0", "0"},
      {"7 ÷ 2 ﹢", "3.5\r\n ﹢(0)", "P", "3.5", "0", "0"},
      {"2 ∧ 10 ×", "1024\r\n ×(0)", "P", "1024", "0", "0"},
      {"8 √ 3 ﹢", "2\r\n ﹢(0)", "P", "2", "0", "0"},
      {"3 — 5 ﹢", "-2\r\n ﹢(0)", "P", "-2", "0", "0"},
      {"1 ÷ 0. ﹢", "1.#INF\r\n ﹢(0)", "P", "1.#INF", "0", "0"},
      {"0 ÷ 0. ﹢", "-1.#IND\r\n ﹢(0)", "P", "-1.#IND", "0", "0"},
      {"1 ÷ 0. ﹢ 2 ×", "1.#INF\r\n ×(0)", "P", "1.#INF", "0", "0"},
      // A root with the second operand typed as "0." is a power of +infinity.
      {"8 √ 0. ﹢", "1.#INF\r\n ﹢(0)", "P", "1.#INF", "0", "0"},
      {"0.5 √ 0. ﹢", "0\r\n ﹢(0)", "P", "0", "0", "0"},
      {"12 ÷ 5 ﹦ ×", "2.4\r\n ×(0)", "P", "2.4", "0", "0"},
      {"1 ÷ 3 ≈ ×", "0.33\r\n ×(0)", "P", "0.33", "0", "0"},
      {"1 ÷ 0 ﹦ ﹢", "0\r\n ﹢(0)", "P", "0", "0", "0"},
      {"7 ÷ 2 … ﹢", "3……1\r\n ﹢(0)", "P", "3", "0", "0"},
      {"2 ﹢ 3 ×", "5\r\n ×(0)", "P", "5", "0", "0"},
  });
}

TEST(CalcEngine, ChainsWorkLeftToRight) {
  CheckRows({
      {"2 ﹢ 3 × 4 ﹦", "5\r\n ×(4)\r\n﹦20", "R", "5", "4", "20"},
      {"5 × 0 ﹢ 1 ﹦", "5\r\n ﹢(1)\r\n﹦6", "R", "5", "1", "6"},
      {"5 × 0. ﹢", "0\r\n ﹢(0)", "P", "0", "0", "0"},
      // The carried result keeps only the 13 digits shown.
      {"1 ÷ 3 ﹦ × 3 ﹦", "0.3333333333333\r\n ×(3)\r\n﹦0.9999999999999", "R",
       "0.3333333333333", "3", "0.9999999999999"},
      {"1 ÷ 3 × 3 ﹦", "0.3333333333333\r\n ×(3)\r\n﹦1", "R", "0.3333333333333", "3", "1"},
      {"7 ∧ 2 ≈ × 2 ﹦", "49.00\r\n ×(2)\r\n﹦98", "R", "49", "2", "98"},
      {"1 ﹢ 2 ﹢ 3 ﹢ 4 ﹦", "6\r\n ﹢(4)\r\n﹦10", "R", "6", "4", "10"},
  });
}

TEST(CalcEngine, UnaryFunctions) {
  CheckRows({
      {"30 sin", "30\r\nsin(30)\r\n﹦0.499999999987", "R", "30", "0", "0.499999999987"},
      {"90 sin", "90\r\nsin(90)\r\n﹦1", "R", "90", "0", "1"},
      {"60 cos", "60\r\ncos(60)\r\n﹦0.5000000000259", "R", "60", "0", "0.5000000000259"},
      {"45 tan", "45\r\ntan(45)\r\n﹦0.9999999999551", "R", "45", "0", "0.9999999999551"},
      {"1 atn", "1\r\natn(1)\r\n﹦0.7853981633974", "R", "1", "0", "0.7853981633974"},
      {"10 log", "10\r\nlog(10)\r\n﹦2.302585092994", "R", "10", "0", "2.302585092994"},
      {"1 exp", "1\r\nexp(1)\r\n﹦2.718281828459", "R", "1", "0", "2.718281828459"},
      {"4 1/X", "4\r\n 1/(4)\r\n﹦0.25", "R", "4", "0", "0.25"},
      {"30 sin sin", "0.499999999987\r\nsin(0.499999999987)\r\n﹦0.008726535497898", "R",
       "0.499999999987", "0", "0.008726535497898"},
      {"4 1/X 1/X", "0.25\r\n 1/(0.25)\r\n﹦4", "R", "0.25", "0", "4"},
      // The argument is shown in the program's number format.
      {"007.50 exp", "7.5\r\nexp(7.5)\r\n﹦1808.042414456", "R", "7.5", "0", "1808.042414456"},
      // The short π leaves tiny values where 0 might be expected.
      {"180 sin", "180\r\nsin(180)\r\n﹦8.979318433952e-011", "R", "180", "0",
       "8.979318433952e-011"},
      {"90 cos", "90\r\ncos(90)\r\n﹦4.489659216976e-011", "R", "90", "0",
       "4.489659216976e-011"},
      {"0.0000002 1/X", "2e-007\r\n 1/(2e-007)\r\n﹦5000000", "R", "2e-007", "0", "5000000"},
      // After an infinity the reciprocal is 0.
      {"1 ÷ 0 ﹦ 1/X", "1.#INF\r\n 1/(1.#INF)\r\n﹦0", "R", "1.#INF", "0", "0"},
  });
}

TEST(CalcEngine, FunctionKeysInIdleDoNothing) {
  for (const char* key : {"sin", "cos", "tan", "atn", "log", "exp", "1/X", "…"}) {
    CheckRows({{key, "0", "Idle", "0", "0", "0"}});
  }
}

TEST(CalcEngine, FunctionsWhileAnOperatorIsPending) {
  CheckRows({
      // The function applies to the first operand; the typed second operand
      // stays in CalcState but leaves the display.
      {"5 ﹢ 3 sin", "5\r\nsin(5)\r\n﹦0.08715574274517", "P+R", "5", "3", "0.08715574274517"},
      {"5 × sin", "5\r\nsin(5)\r\n﹦0.08715574274517", "P+R", "5", "0", "0.08715574274517"},
      {"5 × sin sin", "5\r\nsin(5)\r\n﹦0.08715574274517", "P+R", "5", "0", "0.08715574274517"},
      {"5 × cos", "5\r\ncos(5)\r\n﹦0.996194698092", "P+R", "5", "0", "0.996194698092"},
      {"5 × tan", "5\r\ntan(5)\r\n﹦0.08748866352341", "P+R", "5", "0", "0.08748866352341"},
      // In the combined state digits edit the function's argument text...
      {"5 × sin 3", "5\r\nsin(53)", "P+R", "5", "53", "0.08715574274517"},
      // ...which ﹦ ignores: it evaluates the function of the first operand.
      {"5 × sin 3 ﹦", "5\r\nsin(53)\r\n﹦0.08715574274517", "R", "5", "53",
       "0.08715574274517"},
      // The function name is no operator, so the new one computes nothing.
      {"5 × sin ﹢", "5\r\n ﹢(0)", "P+R", "5", "0", "0.08715574274517"},
      {"5 × sin ﹢ 2 ﹦", "5\r\n ﹢(2)\r\n﹦7", "R", "5", "2", "7"},
      {"5 × sin ←", "5\r\nsin(0)", "P+R", "5", "0", "0.08715574274517"},
      {"5 × sin ← ←", "5", "E+R", "5", "0", "0.08715574274517"},
      {"5 × sin ← ← 2", "52", "E+R", "52", "0", "0.08715574274517"},
      {"5 × sin ← ← ﹢", "5\r\n ﹢(0)", "P+R", "5", "0", "0.08715574274517"},
      {"5 × sin atn", "5\r\natn(5)\r\n﹦1.373400766945", "R", "5", "0", "1.373400766945"},
      {"5 × sin ≈", "5\r\nsin(5)\r\n≈0.09", "R", "5", "0", "0.09"},
      {"5 × 1/X", "5\r\n 1/(5)\r\n﹦0.2", "R", "5", "0", "0.2"},
      {"5 × sin 1/X", "5\r\n 1/(5)\r\n﹦0.2", "R", "5", "0", "0.2"},
  });
}

TEST(CalcEngine, RemainderKey) {
  CheckRows({
      {"7 ÷ 2 …", "7\r\n ÷(2)\r\n﹦3……1", "R", "7", "2", "3.5"},
      {"7 ÷ 2 ﹦ …", "7\r\n ÷(2)\r\n﹦3……1", "R", "7", "2", "3.5"},
      {"0 — 7 ÷ 2 …", "-7\r\n ÷(2)\r\n﹦-3……-1", "R", "-7", "2", "-3.5"},
      {"7.5 ÷ 2 …", "7.5\r\n ÷(2)\r\n﹦3……1.5", "R", "7.5", "2", "3.75"},
      {"7.50 ÷ 2.0 …", "7.5\r\n ÷(2)\r\n﹦3……1.5", "R", "7.5", "2", "3.75"},
      {"1 ÷ 3 ﹦ …", "1\r\n ÷(3)\r\n﹦0……1", "R", "1", "3", "0.3333333333333"},
      {"0.3 1/X …", "0.3\r\n 1/(0.3)\r\n﹦3……0.1", "R", "0.3", "0", "3.333333333333"},
      {"7 × 2 …", "7\r\n ×(2)", "P", "7", "2", "0"},
      {"7 …", "7", "E", "7", "0", "0"},
      {"30 sin …", "30\r\nsin(30)\r\n﹦0.499999999987", "R", "30", "0", "0.499999999987"},
      // The divisor must be larger than 1e-7.
      {"1 ÷ 0.0000001 …", "1\r\n ÷(0.0000001)\r\n错误", "P", "1", "1e-007", "0"},
      {"1 ÷ 0.0000002 …", "1\r\n ÷(2e-007)\r\n﹦5000000……4.525188817411e-017", "R", "1",
       "2e-007", "5000000"},
      {"7 ÷ …", "7\r\n ÷(0)\r\n错误", "P", "7", "0", "0"},
      {"7 ÷ 0 …", "7\r\n ÷(0)\r\n错误", "P", "7", "0", "0"},
      {"7 ÷ 0 ﹦ …", "7\r\n ÷(0)\r\n错误", "R", "7", "0", "1.#INF"},
  });
}

TEST(CalcEngine, EqualsAndApproximately) {
  CheckRows({
      {"12 ÷ 5 ﹦", "12\r\n ÷(5)\r\n﹦2.4", "R", "12", "5", "2.4"},
      {"12 ÷ 5 ≈", "12\r\n ÷(5)\r\n≈2.40", "R", "12", "5", "2.4"},
      {"1 ÷ 3 ﹦", "1\r\n ÷(3)\r\n﹦0.3333333333333", "R", "1", "3", "0.3333333333333"},
      {"1 ÷ 3 ≈", "1\r\n ÷(3)\r\n≈0.33", "R", "1", "3", "0.33"},
      {"7 × 6 ≈", "7\r\n ×(6)\r\n≈42.00", "R", "7", "6", "42"},
      {"7 ∧ 2 ≈", "7\r\n ∧(2)\r\n≈49.00", "R", "7", "2", "49"},
      {"2 ∧ 10 ﹦", "2\r\n ∧(10)\r\n﹦1024", "R", "2", "10", "1024"},
      {"8 √ 3 ﹦", "8\r\n √(3)\r\n﹦2", "R", "8", "3", "2"},
      {"12 — 20 ﹦", "12\r\n —(20)\r\n﹦-8", "R", "12", "20", "-8"},
      {"0.1 ﹢ 0.2 ﹦", "0.1\r\n ﹢(0.2)\r\n﹦0.3", "R", "0.1", "0.2", "0.3"},
      {"5 ﹦", "5\r\n\r\n﹦5", "R", "5", "0", "5"},
      {"5 ﹦ ﹦", "5\r\n\r\n﹦5", "R", "5", "0", "5"},
      {"﹦", "0\r\n\r\n﹦0", "R", "0", "0", "0"},
      {"12 ÷ 5 ﹦ ﹦", "12\r\n ÷(5)\r\n﹦2.4", "R", "12", "5", "2.4"},
      {"1 ÷ 3 ﹦ ≈", "1\r\n ÷(3)\r\n≈0.33", "R", "1", "3", "0.33"},
      {"1 ÷ 0 ﹦", "1\r\n ÷(0)\r\n错误", "R", "1", "0", "1.#INF"},
      {"1 ÷ 0 ≈", "1\r\n ÷(0)\r\n错误", "R", "1", "0", "1.#INF"},
      {"0 ÷ 0 ﹦", "0\r\n ÷(0)\r\n错误", "R", "0", "0", "-1.#IND"},
      {"8 √ 0 ﹦", "8\r\n √(0)\r\n错误", "R", "8", "0", "1.#INF"},
      {"30 sin ≈", "30\r\nsin(30)\r\n≈0.50", "R", "30", "0", "0.5"},
      {"30 sin ﹦", "30\r\nsin(30)\r\n﹦0.499999999987", "R", "30", "0", "0.499999999987"},
      {"4 1/X ﹦", "4\r\n 1/(4)\r\n﹦0.25", "R", "4", "0", "0.25"},
      {"4 1/X ≈", "4\r\n 1/(4)\r\n≈0.25", "R", "4", "0", "0.25"},
      {"6 ≈", "6\r\n\r\n≈6.00", "R", "6", "0", "6"},
      {"0 — 0.5 ≈", "0\r\n —(0.5)\r\n≈-0.50", "R", "0", "0.5", "-0.5"},
      {"1234 × 1 ≈", "1234\r\n ×(1)\r\n≈1200", "R", "1234", "1", "1200", -2},
      {"5 ÷ 2 ≈", "5\r\n ÷(2)\r\n≈3", "R", "5", "2", "3", 0},
  });
}

TEST(CalcEngine, ApproximatelyPadsToRoundDigits) {
  CheckRows({
      {"0.1 ﹢ 0.2 ≈", "0.1\r\n ﹢(0.2)\r\n≈0.3000000000", "R", "0.1", "0.2", "0.3", 10},
      {"123456.123456789 ≈", "123456.123456789\r\n\r\n≈123456.1234568000", "R",
       "123456.1234568", "0", "123456.1234568", 10},
      {"0.000001 ≈", "0.000001\r\n\r\n≈0.000", "R", "1e-006", "0", "0", 3},
      {"2 ÷ 3 ≈", "2\r\n ÷(3)\r\n≈0.6666666667", "R", "2", "3", "0.6666666667", 10},
      {"2 ÷ 3 ≈", "2\r\n ÷(3)\r\n≈0.667", "R", "2", "3", "0.667", 3},
      {"2 ÷ 3 ≈", "2\r\n ÷(3)\r\n≈1", "R", "2", "3", "1", 0},
      {"2 ÷ 3 ≈", "2\r\n ÷(3)\r\n≈0", "R", "2", "3", "0", -2},
      {"1250 ≈", "1250\r\n\r\n≈1300", "R", "1250", "0", "1300", -2},
      {"1250 ≈", "1250\r\n\r\n≈1250.000", "R", "1250", "0", "1250", 3},
      {"1.005 ≈", "1.005\r\n\r\n≈1.01", "R", "1.005", "0", "1.01", 2},
      {"99.995 ≈", "99.995\r\n\r\n≈100.00", "R", "99.995", "0", "100", 2},
      {"5 ÷ 0 ≈", "5\r\n ÷(0)\r\n错误", "R", "5", "0", "1.#INF", 3},
  });
}

TEST(CalcEngine, ApproximatelyWritesAnExponentFormUnpadded) {
  // Line 3 always shows the value kept in result, also in exponent form, so
  // the next operator carries the right number.
  CheckRows({
      {"123456789 × 1000000 ≈", "123456789\r\n ×(1000000)\r\n≈1.23456789e+014", "R",
       "123456789", "1000000", "1.23456789e+014"},
      {"123456789 × 1000000 ≈ ×", "1.23456789e+014\r\n ×(0)", "P", "1.23456789e+014", "0", "0"},
      {"123456789 × 1000000 ≈ × 2 ﹦", "1.23456789e+014\r\n ×(2)\r\n﹦2.46913578e+014", "R",
       "1.23456789e+014", "2", "2.46913578e+014"},
      {"0.00001 ≈", "0.00001\r\n\r\n≈1e-005", "R", "1e-005", "0", "1e-005", 10},
      {"0.00001 ≈ ﹢", "1e-005\r\n ﹢(0)", "P", "1e-005", "0", "0", 10},
      {"0.0000123456 ≈", "0.0000123456\r\n\r\n≈1.23e-005", "R", "1.23456e-005", "0", "1.23e-005",
       7},
      // After ﹦ had written a plain line 3, ≈ replaces it.
      {"123456789 × 1000000 ﹦ ≈", "123456789\r\n ×(1000000)\r\n≈1.23456789e+014", "R",
       "123456789", "1000000", "1.23456789e+014"},
  });
  // The exact double, not only its text.
  const Calc c = RunKeys("0.00001 ≈", 10);
  EXPECT_EQ(c.state.result, RoundNumber(0.00001, 10));
}

TEST(CalcEngine, ApproximatelyWithAbsurdRoundDigits) {
  // Settings typed on the settings page are not range-checked.
  const std::string ninetyNine(99, '0');
  CheckRows({{"0 ≈", ("0\r\n\r\n≈0." + ninetyNine).c_str(), "R", "0", "0", "0", 99}});
  // A huge count still pads, but only to a bounded width.
  Calc c = RunKeys("0 ≈", INT_MAX);
  const Text head = Gbk("0\r\n\r\n≈0.");
  ASSERT_EQ(c.display.substr(0, head.size()), head);
  EXPECT_EQ(c.display.size(), head.size() + 1000);
  EXPECT_EQ(c.display.find_first_not_of('0', head.size()), std::string::npos);
  // A count so large that 10^digits overflows ends in the error line.
  CheckRows({
      {"5 ≈", "5\r\n\r\n错误", "R", "5", "0", "-1.#IND", INT_MIN},
      {"5 ≈", "5\r\n\r\n错误", "R", "5", "0", "-1.#IND", INT_MAX},
  });
}

TEST(CalcEngine, ErrorLineInEveryMode) {
  CheckRows({
      // EnteringFirst: a refused reciprocal keeps the flags.
      {"0 1/X", "0\r\n 1/(0)\r\n错误", "E", "0", "0", "0"},
      {"0.0000001 1/X", "1e-007\r\n 1/(1e-007)\r\n错误", "E", "1e-007", "0", "0"},
      {"0 1/X 5", "5", "E", "5", "0", "0"},
      {"0 1/X .", "0.", "E", "0", "0", "0"},
      {"0 1/X ﹢", "0\r\n ﹢(0)", "P", "0", "0", "0"},
      // Backspace on a line 1 of "0" leaves the whole display as it is.
      {"0 1/X ←", "0\r\n 1/(0)\r\n错误", "E", "0", "0", "0"},
      {"0.0000001 1/X ←", "1e-00", "E", "1", "0", "0"},
      // OperatorPending.
      {"7 ÷ … 2", "7\r\n ÷(2)", "P", "7", "2", "0"},
      {"7 ÷ … ←", "7", "E", "7", "0", "0"},
      {"7 ÷ … ×", "7\r\n ×(0)", "P", "7", "0", "0"},
      {"0 ÷ 1/X", "0\r\n 1/(0)\r\n错误", "P", "0", "0", "0"},
      // Digits then edit the reciprocal's line; ﹦ refuses it again but shows
      // no error, since result is finite.
      {"0 ÷ 1/X 3", "0\r\n 1/(3)", "P", "0", "3", "0"},
      {"0 ÷ 1/X 3 ﹦", "0\r\n 1/(3)\r\n﹦0", "R", "0", "3", "0"},
      // ResultShown.
      {"0 log", "0\r\nlog(0)\r\n错误", "R", "0", "0", "-1.#INF"},
      {"0 — 1 ﹦ log", "-1\r\nlog(-1)\r\n错误", "R", "-1", "1", "-1.#IND"},
      {"800 exp", "800\r\nexp(800)\r\n错误", "R", "800", "0", "1.#INF"},
      {"1 ÷ 0 ﹦ ←", "0", "E", "0", "0", "0"},
      {"1 ÷ 0 ﹦ sin", "1.#INF\r\nsin(1.#INF)\r\n错误", "R", "1.#INF", "0", "1.#INF"},
      {"1 ÷ 0 ﹦ …", "1\r\n ÷(0)\r\n错误", "R", "1", "0", "1.#INF"},
      // A key that changes nothing still shows an earlier infinity as an error.
      {"9 ∧ 999 ﹢ sin 3", "1.#INF\r\nsin(1.#INF3)", "P+R", "1.#INF", "1", "1.#INF"},
      {"9 ∧ 999 ﹢ sin 3 …", "1.#INF\r\nsin(1.#INF3)\r\n错误", "P+R", "1.#INF", "1", "1.#INF"},
  });
  // A tag that is no key at all also ends in the error check.
  Calc c = RunKeys("9 ∧ 999 ﹢ sin 3");
  ApplyFunctionKey(c.state, c.display, "xyz", 2);
  EXPECT_TRUE(SameDisplay(c.display, Gbk("1.#INF\r\nsin(1.#INF3)\r\n错误")));
}

TEST(CalcEngine, OperandsFollowTheDisplay) {
  // After every step of a long session the stored operands equal the values
  // of what the display shows while they are typed.
  Calc c;
  ClearAll(c.state, c.display);
  const char* keys[] = {"1", "2", ".", "5", "×", "3", ".", "←", "4", "﹢", "π", "←", "←", "≈"};
  for (const char* key : keys) {
    ASSERT_TRUE(PressToken(c, key, 2, 11)) << key;
    if (c.state.enteringFirst == 1) {
      EXPECT_EQ(c.state.firstOperand, TextToNumber(DisplayLine(c.display, 1))) << key;
    }
    if (c.state.operatorPending == 1) {
      const Text line2 = DisplayLine(c.display, 2);
      EXPECT_EQ(c.state.secondOperand, TextToNumber(line2.substr(4, line2.size() - 5))) << key;
    }
  }
  // 12.5 × 34 ﹢ 3.141592653 ≈
  EXPECT_TRUE(SameDisplay(c.display, Gbk("425\r\n ﹢(3.141592653)\r\n≈428.14")));
}

// ----- keyboard -----------------------------------------------------------

struct KeyRow {
  int key;
  int modifiers;
  const char* does;  // the key token it must act as; "" for nothing
};

TEST(CalcKeyboard, KeyTableMapsCodeAndModifiersToOperations) {
  // From "12 ÷ 5" every operation leaves a different display.
  const KeyRow rows[] = {
      {27, 0, "AC"},    {27, 3, "AC"},    {8, 0, "←"},     {8, 1, "←"},     {13, 0, "﹦"},
      {13, 1, "≈"},     {13, 2, "﹦"},    {13, 3, "﹦"},    {13, 4, "﹦"},    {13, 5, "﹦"},
      {187, 0, "﹦"},   {187, 1, "≈"},    {187, 2, "﹦"},   {187, 3, "﹦"},   {54, 2, "∧"},
      {54, 0, "6"},     {54, 1, "6"},     {54, 3, "6"},    {54, 6, "6"},    {55, 2, "√"},
      {55, 0, "7"},     {55, 3, "7"},     {107, 0, "﹢"},  {107, 2, "﹢"},  {107, 7, "﹢"},
      {189, 0, "—"},    {189, 2, "—"},    {106, 0, "×"},   {106, 1, "×"},   {191, 0, "÷"},
      {191, 2, "÷"},    {80, 0, "π"},     {80, 2, "π"},    {80, 1, "π"},    {48, 0, "0"},
      {49, 0, "1"},     {50, 0, "2"},     {51, 0, "3"},    {52, 0, "4"},    {53, 0, "5"},
      {56, 0, "8"},     {56, 2, "8"},     {57, 0, "9"},    {53, 4, "5"},    {57, 7, "9"},
      {190, 0, "."},    {190, 2, "."},    {83, 0, "sin"},  {83, 1, "sin"},  {83, 2, "sin"},
      {67, 0, "cos"},   {67, 1, "cos"},   {84, 0, "tan"},  {65, 0, "atn"},  {76, 0, "log"},
      {69, 0, "exp"},   {69, 4, "exp"},   {220, 0, "…"},   {220, 2, "…"},   {186, 0, "1/X"},
      {186, 2, "1/X"},  {0, 0, ""},       {9, 0, ""},      {9, 2, ""},      {16, 2, ""},
      {17, 1, ""},      {18, 4, ""},      {32, 0, ""},     {66, 0, ""},     {96, 0, ""},
      {105, 0, ""},     {109, 0, ""},     {110, 0, ""},    {111, 0, ""},    {188, 0, ""},
      {222, 0, ""},     {112, 0, ""},     {46, 0, ""},     {255, 0, ""},    {-1, 0, ""},
      {100000, 0, ""},  {INT_MIN, 0, ""}, {INT_MAX, 7, ""},
  };
  for (const KeyRow& row : rows) {
    SCOPED_TRACE("key " + std::to_string(row.key) + " modifiers " +
                 std::to_string(row.modifiers) + " should act as \"" + row.does + "\"");
    Calc got = RunKeys("12 ÷ 5");
    HandleCalculatorKey(got.state, got.display, row.key, row.modifiers, 2, 11);
    const Calc want = RunKeys(std::string("12 ÷ 5 ") + row.does);
    EXPECT_TRUE(SameDisplay(got.display, want.display));
    EXPECT_EQ(Mode(got.state), Mode(want.state));
    EXPECT_EQ(got.state.firstOperand, want.state.firstOperand);
    EXPECT_EQ(got.state.secondOperand, want.state.secondOperand);
  }
}

TEST(CalcKeyboard, KeysGiveTheExactDisplays) {
  struct {
    int key, modifiers;
    const char* display;
  } rows[] = {
      {13, 0, "12\r\n ÷(5)\r\n﹦2.4"},
      {13, 1, "12\r\n ÷(5)\r\n≈2.40"},
      {13, 3, "12\r\n ÷(5)\r\n﹦2.4"},
      {187, 2, "12\r\n ÷(5)\r\n﹦2.4"},
      {187, 1, "12\r\n ÷(5)\r\n≈2.40"},
      {54, 2, "2.4\r\n ∧(0)"},
      {54, 3, "12\r\n ÷(56)"},
      {55, 2, "2.4\r\n √(0)"},
      {107, 0, "2.4\r\n ﹢(0)"},
      {189, 0, "2.4\r\n —(0)"},
      {106, 0, "2.4\r\n ×(0)"},
      {191, 0, "2.4\r\n ÷(0)"},
      {56, 2, "12\r\n ÷(58)"},
      {80, 0, "12\r\n ÷(3.14159265359)"},
      {190, 0, "12\r\n ÷(5.)"},
      {83, 1, "12\r\nsin(12)\r\n﹦0.2079116908119"},
      {67, 0, "12\r\ncos(12)\r\n﹦0.9781476007351"},
      {84, 0, "12\r\ntan(12)\r\n﹦0.2125565616638"},
      {65, 0, "12\r\natn(12)\r\n﹦1.487655094906"},
      {76, 0, "12\r\nlog(12)\r\n﹦2.484906649788"},
      {69, 0, "12\r\nexp(12)\r\n﹦162754.791419"},
      {220, 0, "12\r\n ÷(5)\r\n﹦2……2"},
      {186, 0, "12\r\n 1/(12)\r\n﹦0.08333333333333"},
      {8, 0, "12\r\n ÷(0)"},
      {27, 0, "0"},
      {32, 0, "12\r\n ÷(5)"},
  };
  for (const auto& row : rows) {
    Calc c = RunKeys("12 ÷ 5");
    HandleCalculatorKey(c.state, c.display, row.key, row.modifiers, 2, 11);
    EXPECT_TRUE(SameDisplay(c.display, Gbk(row.display)))
        << "key " << row.key << " modifiers " << row.modifiers;
  }
}

TEST(CalcKeyboard, SettingsArePassedThrough) {
  Calc c = RunKeys("12 ÷ 5");
  HandleCalculatorKey(c.state, c.display, 80, 0, 2, 4);
  EXPECT_TRUE(SameDisplay(c.display, Gbk("12\r\n ÷(3.1415)")));
  HandleCalculatorKey(c.state, c.display, 13, 1, 0, 4);
  EXPECT_TRUE(SameDisplay(c.display, Gbk("12\r\n ÷(3.1415)\r\n≈4")));
  HandleCalculatorKey(c.state, c.display, 187, 1, 5, 4);
  EXPECT_TRUE(SameDisplay(c.display, Gbk("12\r\n ÷(3.1415)\r\n≈3.81983")));
}

TEST(CalcKeyboard, AWholeCalculationByKeys) {
  // 7, Shift+6, 2, Ctrl+Enter, keypad *, keypad 3 (folded to 51), Enter.
  Calc c;
  ClearAll(c.state, c.display);
  const int keys[][2] = {{55, 0}, {54, 2}, {50, 0}, {13, 1}, {106, 0}, {51, 0}, {13, 0}};
  for (const auto& k : keys) HandleCalculatorKey(c.state, c.display, k[0], k[1], 2, 11);
  EXPECT_TRUE(SameDisplay(c.display, Gbk("49.00\r\n ×(3)\r\n﹦147")));
  EXPECT_EQ(Mode(c.state), "R");
  EXPECT_EQ(c.state.result, 147);
}

}  // namespace
