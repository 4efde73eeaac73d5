// The calculator page on the real MainWindow, opened by the program's own
// start-up steps and worked with real mouse clicks and key events.
//
// A row starts from a state reached by running the engine over a key
// sequence, written as in the engine's tests: tokens separated by spaces,
// digits and "." (several per token), π, ﹢ — × ÷ ∧ √, ﹦ ≈ …, the function
// names and 1/X. Then one real event goes to a keypad button, and the whole
// display text must match byte for byte.
#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QWindow>
#include <QtTest>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/app.h"
#include "app/main_window.h"
#include "calc/keypad_page.h"
#include "config/settings_state.h"
#include "core/gbk.h"
#include "toolkit/toolkit.h"
#include "toolkit/toolkit_qt.h"

namespace {

const char* const kDisplay = "数据显示框";

const char* const kKeypad[] = {
    "按钮0",      "按钮1",        "按钮2",        "按钮3",      "按钮4",        "按钮5",
    "按钮6",      "按钮7",        "按钮8",        "按钮9",      "小数点按钮",   "圆周率按钮",
    "加按钮",     "减按钮",       "乘按钮",       "除按钮",     "求n次乘方按钮", "求n次开方按钮",
    "等于按钮",   "约等于按钮",   "求余数按钮",   "求倒数按钮", "求正弦按钮",   "求余弦按钮",
    "求正切按钮", "求反正切按钮", "求自然对数按钮", "求反对数按钮", "清除按钮",   "删格按钮",
};

QWidget* Key(const char* name) { return tk::ControlWidget(kMainWindow, name); }

std::string DisplayText() { return tk::GetText(kMainWindow, kDisplay); }

// A display text on one line, readable in a failure message.
std::string Shown(const std::string& gbk) {
  std::string out;
  for (char ch : Utf8FromGbk(gbk)) {
    if (ch == '\r') out += "\\r";
    else if (ch == '\n') out += "\\n";
    else out += ch;
  }
  return out;
}

// "" when the display holds `expectedUtf8`, else both texts with their bytes.
QString Difference(const std::string& expectedUtf8) {
  const std::string got = DisplayText();
  const std::string want = Gbk(expectedUtf8);
  if (got == want) return QString();
  return QString::fromStdString("\n    display  \"" + Shown(got) + "\"  " + HexBytes(got) +
                                "\n    expected \"" + Shown(want) + "\"  " + HexBytes(want));
}

// Runs one token of a key sequence on the engine; false when it is no key.
bool RunToken(Text& display, const std::string& token) {
  for (const char* op : {"﹢", "—", "×", "÷", "∧", "√"}) {
    if (token == op) {
      ApplyBinaryOperator(KeypadState, display, Gbk(std::string(" ") + op));
      return true;
    }
  }
  for (const char* op : {"﹦", "≈", "…"}) {
    if (token == op) {
      ApplyFunctionKey(KeypadState, display, Gbk(std::string(" ") + op), RoundDigits);
      return true;
    }
  }
  for (const char* f : {"sin", "cos", "tan", "atn", "log", "exp", "1/X"}) {
    if (token == f) {
      ApplyFunctionKey(KeypadState, display, f, RoundDigits);
      return true;
    }
  }
  if (token == "π") {
    EnterOperand(KeypadState, display, Gbk("π"), PiDigits);
    return true;
  }
  if (token.empty() || token.find_first_not_of("0123456789.") != std::string::npos) return false;
  for (char ch : token) EnterOperand(KeypadState, display, std::string(1, ch), PiDigits);
  return true;
}

// Clears the calculator and brings it into the state after `keys`, on the
// window's display. False when the sequence holds an unknown token.
bool Reach(const std::string& keys) {
  Text display = DisplayText();
  ClearAll(KeypadState, display);
  std::istringstream tokens(keys);
  std::string token;
  while (tokens >> token) {
    if (!RunToken(display, token)) return false;
  }
  tk::SetText(kMainWindow, kDisplay, display);
  return true;
}

bool SameState(const CalcState& a, const CalcState& b) {
  return a.operatorPending == b.operatorPending && a.enteringFirst == b.enteringFirst &&
         a.resultShown == b.resultShown && a.firstOperand == b.firstOperand &&
         a.secondOperand == b.secondOperand && a.result == b.result;
}

// Fails the running test with the byte difference of the display.
#define EXPECT_DISPLAY(text)                                  \
  do {                                                        \
    const QString difference_ = Difference(text);             \
    QVERIFY2(difference_.isEmpty(), qPrintable(difference_)); \
  } while (false)

bool Focus(const char* name) {
  QWidget* w = Key(name);
  if (!w) return false;
  w->setFocus(Qt::OtherFocusReason);
  return w->hasFocus();
}

// The start-up ends the program when config.ini is missing or malformed;
// here that must fail loudly instead of leaving with exit code 0. The exit
// routine also runs at the normal end of the process, which is no fault.
bool startingUp = false;

void ExitRoutine() {
  if (!startingUp) return;
  std::fputs("FAIL: the start-up steps ended the program (config.ini beside the test?)\n", stderr);
  std::_Exit(1);
}

}  // namespace

class KeypadWindowTest : public QObject {
  Q_OBJECT

 private:
  QWidget* window_ = nullptr;
  std::vector<tk::MessageBoxRecord> boxes_;

 private slots:
  void initTestCase() {
    static int argc = 1;
    static char name[] = "calc_window_tests";
    static char* argv[] = {name, nullptr};
    tk::Initialise(argc, argv);
    tk::SetExitRoutine(&ExitRoutine);
    tk::SetMessageBoxHook([this](const tk::MessageBoxRecord& r) { boxes_.push_back(r); });
  }

  // The window as the program opens it: built, bound, the start-up steps
  // run, shown. The calculator state is the one of a fresh process.
  void init() {
    boxes_.clear();
    KeypadState = CalcState{};
    startingUp = true;
    OpenMainWindow();
    startingUp = false;
    window_ = tk::WindowWidget(kMainWindow);
    QVERIFY(window_);
    QVERIFY(QTest::qWaitForWindowActive(window_));
    QVERIFY2(boxes_.empty(), boxes_.empty() ? "" : Utf8FromGbk(boxes_[0].text).c_str());
    RoundDigits = 2;
    PiDigits = 11;
  }

  void cleanup() {
    tk::CloseWindow(kMainWindow);
    QTRY_VERIFY(tk::WindowWidget(kMainWindow) == nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  void keyboardWorksAsSoonAsTheWindowOpens() {
    QCOMPARE(DisplayText(), std::string("0"));
    QWidget* focused = QApplication::focusWidget();
    QVERIFY2(focused, "no widget has the focus");
    bool onKeypad = false;
    for (const char* name : kKeypad) onKeypad = onKeypad || focused == Key(name);
    QVERIFY2(onKeypad, qPrintable("focus on " + focused->objectName()));
    // Typed at the window, as a person types: the platform's key events go
    // to whatever has the focus.
    QWindow* handle = window_->windowHandle();
    QTest::keyClick(handle, Qt::Key_7);
    QTest::keyClick(handle, Qt::Key_AsciiCircum, Qt::ShiftModifier);
    QTest::keyClick(handle, Qt::Key_2, Qt::KeypadModifier);
    QTest::keyClick(handle, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_DISPLAY("7\r\n ∧(2)\r\n≈49.00");
  }

  // One click on each of the thirty buttons, from a state where its
  // operation shows. The redirected buttons must pass their own tags, and the
  // clicked button takes the focus so that the keyboard goes on from there.
  void everyButtonClickReachesItsOperation() {
    struct Row {
      const char* button;
      const char* before;  // keys run first
      const char* after;   // display after the click
    };
    const Row rows[] = {
        {"按钮0", "5", "50"},
        {"按钮1", "", "1"},
        {"按钮2", "", "2"},
        {"按钮3", "", "3"},
        {"按钮4", "", "4"},
        {"按钮5", "", "5"},
        {"按钮6", "", "6"},
        {"按钮7", "", "7"},
        {"按钮8", "", "8"},
        {"按钮9", "12 ×", "12\r\n ×(9)"},
        {"小数点按钮", "7", "7."},
        {"圆周率按钮", "12", "3.14159265359"},
        {"加按钮", "12", "12\r\n ﹢(0)"},
        {"减按钮", "12", "12\r\n —(0)"},
        {"乘按钮", "12", "12\r\n ×(0)"},
        {"除按钮", "12", "12\r\n ÷(0)"},
        {"求n次乘方按钮", "12", "12\r\n ∧(0)"},
        {"求n次开方按钮", "12", "12\r\n √(0)"},
        {"加按钮", "12 × 3", "36\r\n ﹢(0)"},
        {"等于按钮", "12 ÷ 5", "12\r\n ÷(5)\r\n﹦2.4"},
        {"约等于按钮", "12 ÷ 5", "12\r\n ÷(5)\r\n≈2.40"},
        {"求余数按钮", "7 ÷ 2", "7\r\n ÷(2)\r\n﹦3……1"},
        {"求倒数按钮", "4", "4\r\n 1/(4)\r\n﹦0.25"},
        {"求正弦按钮", "30", "30\r\nsin(30)\r\n﹦0.499999999987"},
        {"求余弦按钮", "60", "60\r\ncos(60)\r\n﹦0.5000000000259"},
        {"求正切按钮", "45", "45\r\ntan(45)\r\n﹦0.9999999999551"},
        {"求反正切按钮", "1", "1\r\natn(1)\r\n﹦0.7853981633974"},
        {"求自然对数按钮", "10", "10\r\nlog(10)\r\n﹦2.302585092994"},
        {"求反对数按钮", "1", "1\r\nexp(1)\r\n﹦2.718281828459"},
        {"清除按钮", "12 × 3", "0"},
        {"删格按钮", "123", "12"},
        {"删格按钮", "12 × 3", "12\r\n ×(0)"},
    };
    QStringList faults;
    for (const Row& row : rows) {
      const QString label = QString::fromUtf8(row.button) + " after \"" + row.before + "\"";
      const char* elsewhere = std::string_view(row.button) == "清除按钮" ? "删格按钮" : "清除按钮";
      QVERIFY(Focus(elsewhere));
      if (!Reach(row.before)) QFAIL(qPrintable("bad key sequence in row " + label));
      QTest::mouseClick(Key(row.button), Qt::LeftButton);
      const QString difference = Difference(row.after);
      if (!difference.isEmpty()) faults << label + difference;
      if (!Key(row.button)->hasFocus()) faults << label + ": the clicked button has no focus";
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
  }

  // The key table, one real key event each on a focused keypad button.
  void everyKeyReachesItsOperation() {
    const auto none = Qt::NoModifier, pad = Qt::KeypadModifier, shift = Qt::ShiftModifier,
               ctrl = Qt::ControlModifier, alt = Qt::AltModifier;
    struct Row {
      const char* label;
      const char* focus;   // the keypad button the key goes to
      const char* before;  // keys run first
      Qt::Key key;
      Qt::KeyboardModifiers modifiers;
      const char* after;  // display after the key
    };
    const Row rows[] = {
        {"1", "等于按钮", "", Qt::Key_1, none, "1"},
        {"2", "按钮5", "", Qt::Key_2, none, "2"},
        {"3", "乘按钮", "", Qt::Key_3, none, "3"},
        {"4", "等于按钮", "", Qt::Key_4, none, "4"},
        {"5", "等于按钮", "", Qt::Key_5, none, "5"},
        {"6", "等于按钮", "", Qt::Key_6, none, "6"},
        {"7", "等于按钮", "", Qt::Key_7, none, "7"},
        {"8", "等于按钮", "", Qt::Key_8, none, "8"},
        {"9", "等于按钮", "", Qt::Key_9, none, "9"},
        {"0", "等于按钮", "5", Qt::Key_0, none, "50"},
        {"keypad 1", "等于按钮", "", Qt::Key_1, pad, "1"},
        {"keypad 2", "等于按钮", "", Qt::Key_2, pad, "2"},
        {"keypad 3", "等于按钮", "", Qt::Key_3, pad, "3"},
        {"keypad 4", "等于按钮", "", Qt::Key_4, pad, "4"},
        {"keypad 5", "等于按钮", "", Qt::Key_5, pad, "5"},
        {"keypad 6", "等于按钮", "", Qt::Key_6, pad, "6"},
        {"keypad 7", "等于按钮", "", Qt::Key_7, pad, "7"},
        {"keypad 8", "等于按钮", "", Qt::Key_8, pad, "8"},
        {"keypad 9", "等于按钮", "", Qt::Key_9, pad, "9"},
        {"keypad 0", "等于按钮", "12 ×", Qt::Key_0, pad, "12\r\n ×(0)"},
        {"keypad 0 after a digit", "等于按钮", "12 × 4", Qt::Key_0, pad, "12\r\n ×(40)"},
        {".", "按钮7", "7", Qt::Key_Period, none, "7."},
        {"keypad .", "按钮7", "7", Qt::Key_Period, pad, "7."},
        {"keypad , (the decimal key of some layouts)", "按钮7", "7", Qt::Key_Comma, pad, "7."},
        {"keypad +", "加按钮", "12", Qt::Key_Plus, pad, "12\r\n ﹢(0)"},
        {"-", "等于按钮", "12", Qt::Key_Minus, none, "12\r\n —(0)"},
        {"keypad -", "等于按钮", "12", Qt::Key_Minus, pad, "12\r\n —(0)"},
        {"Shift+- (_)", "等于按钮", "12", Qt::Key_Underscore, shift, "12\r\n —(0)"},
        {"keypad *", "等于按钮", "12", Qt::Key_Asterisk, pad, "12\r\n ×(0)"},
        {"/", "等于按钮", "12", Qt::Key_Slash, none, "12\r\n ÷(0)"},
        {"keypad /", "等于按钮", "12", Qt::Key_Slash, pad, "12\r\n ÷(0)"},
        {"Shift+6 (^)", "等于按钮", "12", Qt::Key_AsciiCircum, shift, "12\r\n ∧(0)"},
        {"Shift+7 (&)", "等于按钮", "12", Qt::Key_Ampersand, shift, "12\r\n √(0)"},
        {"Ctrl+Shift+6 is the digit", "等于按钮", "12", Qt::Key_AsciiCircum, ctrl | shift, "126"},
        {"Ctrl+Shift+7 is the digit", "等于按钮", "12", Qt::Key_Ampersand, ctrl | shift, "127"},
        {"Ctrl+6 is the digit", "等于按钮", "12", Qt::Key_6, ctrl, "126"},
        {"Shift+8 (main *) is the digit", "等于按钮", "12", Qt::Key_Asterisk, shift, "128"},
        {"Enter", "等于按钮", "12 ÷ 5", Qt::Key_Return, none, "12\r\n ÷(5)\r\n﹦2.4"},
        {"keypad Enter", "按钮5", "12 ÷ 5", Qt::Key_Enter, pad, "12\r\n ÷(5)\r\n﹦2.4"},
        {"=", "等于按钮", "12 ÷ 5", Qt::Key_Equal, none, "12\r\n ÷(5)\r\n﹦2.4"},
        {"Shift+= (main +) completes", "加按钮", "12 ÷ 5", Qt::Key_Plus, shift, "12\r\n ÷(5)\r\n﹦2.4"},
        {"Ctrl+Enter", "等于按钮", "1 ÷ 3", Qt::Key_Return, ctrl, "1\r\n ÷(3)\r\n≈0.33"},
        {"Ctrl+keypad Enter", "等于按钮", "1 ÷ 3", Qt::Key_Enter, ctrl | pad, "1\r\n ÷(3)\r\n≈0.33"},
        {"Ctrl+=", "等于按钮", "1 ÷ 3", Qt::Key_Equal, ctrl, "1\r\n ÷(3)\r\n≈0.33"},
        {"Ctrl+Shift+Enter", "等于按钮", "1 ÷ 3", Qt::Key_Return, ctrl | shift,
         "1\r\n ÷(3)\r\n﹦0.3333333333333"},
        {"Alt+Enter", "等于按钮", "1 ÷ 3", Qt::Key_Return, alt, "1\r\n ÷(3)\r\n﹦0.3333333333333"},
        {"Esc", "等于按钮", "12 × 3", Qt::Key_Escape, none, "0"},
        {"BackSpace", "等于按钮", "123", Qt::Key_Backspace, none, "12"},
        {"BackSpace takes the operator back", "乘按钮", "12 ×", Qt::Key_Backspace, none, "12"},
        {"S", "等于按钮", "30", Qt::Key_S, none, "30\r\nsin(30)\r\n﹦0.499999999987"},
        {"Shift+S", "等于按钮", "30", Qt::Key_S, shift, "30\r\nsin(30)\r\n﹦0.499999999987"},
        {"Ctrl+S", "求正弦按钮", "30", Qt::Key_S, ctrl, "30\r\nsin(30)\r\n﹦0.499999999987"},
        {"C", "等于按钮", "60", Qt::Key_C, none, "60\r\ncos(60)\r\n﹦0.5000000000259"},
        {"T", "等于按钮", "45", Qt::Key_T, none, "45\r\ntan(45)\r\n﹦0.9999999999551"},
        {"A", "等于按钮", "1", Qt::Key_A, none, "1\r\natn(1)\r\n﹦0.7853981633974"},
        {"L", "等于按钮", "10", Qt::Key_L, none, "10\r\nlog(10)\r\n﹦2.302585092994"},
        {"E", "等于按钮", "1", Qt::Key_E, none, "1\r\nexp(1)\r\n﹦2.718281828459"},
        {"P", "等于按钮", "", Qt::Key_P, none, "3.14159265359"},
        {"P into the second operand", "等于按钮", "2 × 5", Qt::Key_P, none, "2\r\n ×(3.14159265359)"},
        {"\\", "等于按钮", "7 ÷ 2", Qt::Key_Backslash, none, "7\r\n ÷(2)\r\n﹦3……1"},
        {";", "等于按钮", "4", Qt::Key_Semicolon, none, "4\r\n 1/(4)\r\n﹦0.25"},
        {"Alt+5", "等于按钮", "", Qt::Key_5, alt, "5"},
        {"Q does nothing", "等于按钮", "12 × 3", Qt::Key_Q, none, "12\r\n ×(3)"},
        {"F1 does nothing", "等于按钮", "12 × 3", Qt::Key_F1, none, "12\r\n ×(3)"},
        {"Left does nothing", "等于按钮", "12 × 3", Qt::Key_Left, none, "12\r\n ×(3)"},
        {"Ctrl alone does nothing", "等于按钮", "12 × 3", Qt::Key_Control, ctrl, "12\r\n ×(3)"},
    };
    QStringList faults;
    for (const Row& row : rows) {
      const QString label = QString::fromUtf8(row.label) + " on " + QString::fromUtf8(row.focus) +
                            " after \"" + row.before + "\"";
      if (!Reach(row.before)) QFAIL(qPrintable("bad key sequence in row " + label));
      if (!Focus(row.focus)) {
        faults << label + ": cannot focus the button";
        continue;
      }
      QTest::keyClick(Key(row.focus), row.key, row.modifiers);
      const QString difference = Difference(row.after);
      if (!difference.isEmpty()) faults << label + difference;
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
  }

  // After the wiring every keypad button hands its key-downs to the one key
  // handler, and no key but Space clicks it.
  void everyButtonTakesKeys() {
    QStringList faults;
    for (const char* name : kKeypad) {
      if (!Reach("12 × 3")) QFAIL("bad key sequence");
      if (!Focus(name)) {
        faults << QString::fromUtf8(name) + ": cannot focus the button";
        continue;
      }
      QTest::keyClick(Key(name), Qt::Key_9);
      const QString difference = Difference("12\r\n ×(39)");
      if (!difference.isEmpty()) faults << QString::fromUtf8(name) + difference;
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
  }

  // A held key repeats through the platform: the first press and every
  // auto-repeated one are key-downs of their own.
  void heldKeysRepeat() {
    QVERIFY(Focus("按钮5"));
    QWindow* handle = window_->windowHandle();
    auto hold = [handle](Qt::Key key, const QString& text, int repeats) {
      qt_handleKeyEvent(handle, QEvent::KeyPress, key, Qt::NoModifier, text, false);
      for (int i = 0; i < repeats; ++i) {
        qt_handleKeyEvent(handle, QEvent::KeyRelease, key, Qt::NoModifier, text, true);
        qt_handleKeyEvent(handle, QEvent::KeyPress, key, Qt::NoModifier, text, true);
      }
      qt_handleKeyEvent(handle, QEvent::KeyRelease, key, Qt::NoModifier, text, false);
      QCoreApplication::processEvents();
    };
    hold(Qt::Key_7, QStringLiteral("7"), 4);
    EXPECT_DISPLAY("77777");
    hold(Qt::Key_Backspace, QStringLiteral("\b"), 2);
    EXPECT_DISPLAY("77");
    QVERIFY(Key("按钮5")->hasFocus());
  }

  // Space is not a calculator key; it still presses the focused button,
  // whose click enters its operation exactly once.
  void spacePressesTheFocusedButtonOnce() {
    struct Row {
      const char* button;
      const char* before;
      const char* after;
    };
    const Row rows[] = {
        {"按钮3", "", "3"},
        {"乘按钮", "12", "12\r\n ×(0)"},
        {"求倒数按钮", "4", "4\r\n 1/(4)\r\n﹦0.25"},
    };
    QStringList faults;
    for (const Row& row : rows) {
      if (!Reach(row.before)) QFAIL("bad key sequence");
      QVERIFY(Focus(row.button));
      QTest::keyClick(Key(row.button), Qt::Key_Space);
      const QString difference = Difference(row.after);
      if (!difference.isEmpty()) faults << QString::fromUtf8(row.button) + difference;
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
  }

  void tabMovesTheFocusAndNothingElse() {
    QVERIFY(Reach("12 × 3"));
    const std::string display = DisplayText();
    const CalcState state = KeypadState;
    QVERIFY(Focus("按钮7"));
    QTest::keyClick(Key("按钮7"), Qt::Key_Tab);
    QWidget* next = QApplication::focusWidget();
    QVERIFY(next && next != Key("按钮7"));
    QCOMPARE(DisplayText(), display);
    QVERIFY(SameState(KeypadState, state));
    QTest::keyClick(next, Qt::Key_Backtab, Qt::ShiftModifier);
    QVERIFY(Key("按钮7")->hasFocus());
    QCOMPARE(DisplayText(), display);
    QVERIFY(SameState(KeypadState, state));
  }

  // The settings are read at each key, by the keyboard and by the buttons.
  void settingsTakeEffectAtTheNextKey() {
    QVERIFY(Focus("等于按钮"));
    QWidget* key = Key("等于按钮");
    struct Step {
      int roundDigits, piDigits;
      const char* button;  // nullptr: the key below
      Qt::Key key;
      Qt::KeyboardModifiers modifiers;
      const char* after;
    };
    const Step steps[] = {
        {2, 11, nullptr, Qt::Key_P, Qt::NoModifier, "3.14159265359"},
        {2, 4, nullptr, Qt::Key_P, Qt::NoModifier, "3.1415"},
        {2, 0, "圆周率按钮", Qt::Key_unknown, Qt::NoModifier, "3."},
        {2, 0, nullptr, Qt::Key_Slash, Qt::NoModifier, "3.\r\n ÷(0)"},
        {2, 0, nullptr, Qt::Key_7, Qt::NoModifier, "3.\r\n ÷(7)"},
        {2, 0, nullptr, Qt::Key_Return, Qt::ControlModifier, "3.\r\n ÷(7)\r\n≈0.43"},
        {5, 0, nullptr, Qt::Key_Return, Qt::ControlModifier, "3.\r\n ÷(7)\r\n≈0.42857"},
        {10, 0, "约等于按钮", Qt::Key_unknown, Qt::NoModifier, "3.\r\n ÷(7)\r\n≈0.4285714286"},
        {-1, 0, nullptr, Qt::Key_Equal, Qt::ControlModifier, "3.\r\n ÷(7)\r\n≈0"},
        {2, 3, "乘按钮", Qt::Key_unknown, Qt::NoModifier, "0\r\n ×(0)"},
        {2, 3, nullptr, Qt::Key_P, Qt::NoModifier, "0\r\n ×(3.141)"},
    };
    QVERIFY(Reach(""));
    QStringList faults;
    int n = 0;
    for (const Step& step : steps) {
      ++n;
      RoundDigits = step.roundDigits;
      PiDigits = step.piDigits;
      if (step.button) {
        QTest::mouseClick(Key(step.button), Qt::LeftButton);
        key = Key(step.button);
      } else {
        QTest::keyClick(key, step.key, step.modifiers);
      }
      const QString difference = Difference(step.after);
      if (!difference.isEmpty()) faults << QStringLiteral("step %1").arg(n) + difference;
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
  }
};

QTEST_MAIN(KeypadWindowTest)
#include "keypad_window_test.moc"
