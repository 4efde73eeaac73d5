// The toolkit through real widgets and real Qt events: key codes as the
// calculator sees them, redirection, the edit boxes' input rules, texts in
// and out, combo boxes, message boxes and modal windows.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <QtTest>
#include <functional>
#include <vector>

#include "core/gbk.h"
#include "toolkit/gbk_qt.h"
#include "toolkit/toolkit.h"
#include "toolkit/toolkit_qt.h"

Q_DECLARE_METATYPE(Qt::Key)
Q_DECLARE_METATYPE(Qt::KeyboardModifiers)

namespace {

const char* const kWin = "TestWindow";
const char* const kAux = "AuxWindow";

tk::WindowSpec TestWindowSpec() {
  using tk::ControlSpec;
  using tk::Input;
  using tk::Kind;
  tk::WindowSpec w;
  w.name = kWin;
  w.caption = "测试窗口";
  w.clientWidth = 300;
  w.clientHeight = 300;
  w.minimizeBox = true;
  auto& c = w.controls;
  c.push_back(ControlSpec{.name = "键A", .kind = Kind::ColourButton, .left = 0, .top = 0, .width = 40, .height = 24,
                          .text = "A", .tag = "甲"});
  c.push_back(ControlSpec{.name = "键B", .kind = Kind::ColourButton, .left = 40, .top = 0, .width = 40,
                          .height = 24, .text = "B", .tag = "乙"});
  c.push_back(ControlSpec{.name = "普通按钮", .kind = Kind::Button, .left = 80, .top = 0, .width = 60,
                          .height = 24, .text = "普通"});
  c.push_back(ControlSpec{.name = "标签", .kind = Kind::Label, .left = 0, .top = 30, .width = 100, .height = 20,
                          .text = "标签"});
  c.push_back(ControlSpec{.name = "字节框", .kind = Kind::Edit, .left = 0, .top = 60, .width = 100, .height = 20,
                          .maxBytes = 10});
  c.push_back(ControlSpec{.name = "整数框", .kind = Kind::Edit, .left = 0, .top = 90, .width = 100, .height = 20,
                          .input = Input::Integer});
  c.push_back(ControlSpec{.name = "小数框", .kind = Kind::Edit, .left = 0, .top = 120, .width = 100, .height = 20,
                          .input = Input::Decimal});
  c.push_back(ControlSpec{.name = "字符框", .kind = Kind::Edit, .left = 0, .top = 150, .width = 100, .height = 20});
  c.push_back(ControlSpec{.name = "只读框", .kind = Kind::Edit, .left = 0, .top = 180, .width = 100, .height = 20,
                          .input = Input::ReadOnly});
  c.push_back(ControlSpec{.name = "多行框", .kind = Kind::Edit, .left = 110, .top = 60, .width = 150, .height = 60,
                          .multiline = true, .vscroll = true});
  c.push_back(ControlSpec{.name = "列表框", .kind = Kind::Combo, .left = 110, .top = 130, .width = 150, .height = 20});
  c.push_back(ControlSpec{.name = "进度条", .kind = Kind::ProgressBar, .left = 110, .top = 160, .width = 150,
                          .height = 20});
  return w;
}

tk::WindowSpec AuxWindowSpec() {
  using tk::ControlSpec;
  using tk::Kind;
  tk::WindowSpec w;
  w.name = kAux;
  w.caption = "辅助窗口";
  w.clientWidth = 200;
  w.clientHeight = 100;
  w.escCloses = true;
  w.inTaskbar = false;
  w.controls.push_back(ControlSpec{.name = "关闭按钮", .kind = Kind::Button, .left = 100, .top = 60, .width = 80,
                                   .height = 30, .text = "关闭"});
  w.controls.push_back(ControlSpec{.name = "意见编辑框", .kind = Kind::Edit, .left = 10, .top = 10, .width = 180,
                                   .height = 40, .multiline = true, .vscroll = true});
  return w;
}

QWidget* W(const char* control) { return tk::ControlWidget(kWin, control); }

struct KeyRecord {
  std::string source;
  int code, modifiers;
};

QString Hex(const std::string& bytes) { return QString::fromStdString(HexBytes(bytes)); }

// Text committed by an input method, as a Chinese input method delivers it.
void Commit(QWidget* w, const QString& text) {
  QInputMethodEvent e;
  e.setCommitString(text);
  QApplication::sendEvent(w, &e);
}

void Paste(QWidget* w, const QString& text) {
  QApplication::clipboard()->setText(text);
  if (auto* e = qobject_cast<QLineEdit*>(w)) e->paste();
  if (auto* e = qobject_cast<QPlainTextEdit*>(w)) e->paste();
}

void Focus(QWidget* w) {
  w->setFocus(Qt::OtherFocusReason);
  QTRY_VERIFY(w->hasFocus());
}

}  // namespace

class UrlCatcher : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> urls;
 public slots:
  void Open(const QUrl& url) { urls << url; }
};

class ToolkitTest : public QObject {
  Q_OBJECT

 private:
  std::vector<KeyRecord> keys_;
  int clicks_ = 0;

  void BindKeyRecorder(const char* control) {
    tk::OnKeyDown(kWin, control, [this](int code, int mods) { keys_.push_back({tk::EventSource(), code, mods}); });
    tk::OnClick(kWin, control, [this] { ++clicks_; });
  }

 private slots:
  void initTestCase() {
    static int argc = 1;
    static char name[] = "toolkit_tests";
    static char* argv[] = {name, nullptr};
    tk::Initialise(argc, argv);
  }

  void init() {
    keys_.clear();
    clicks_ = 0;
    tk::CreateWindow(TestWindowSpec());
    QWidget* w = tk::WindowWidget(kWin);
    QVERIFY(w);
    QApplication::setActiveWindow(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
  }

  void cleanup() {
    tk::SetMessageBoxHook(nullptr);
    tk::SetSleepOverride(std::nullopt);
    tk::SetBeepHook(nullptr);
    tk::CloseWindow(kWin);
    QVERIFY(!tk::WindowExists(kWin));
    QTRY_VERIFY(tk::WindowWidget(kWin) == nullptr);
  }

  // ----- the GBK crossing -----------------------------------------------------

  void gbkCrossing() {
    struct Row {
      const char* utf8;
      const char* gbk;
    };
    const Row rows[] = {
        {"", ""},
        {"abc 1.5\r\n", "abc 1.5\r\n"},
        {"青禾计算器", "\xC7\xE0\xBA\xCC\xBC\xC6\xCB\xE3\xC6\xF7"},
        {"﹢—×÷∧√﹦≈…", "\xA9\x80\xA1\xAA\xA1\xC1\xA1\xC2\xA1\xC4\xA1\xCC\xA9\x84\xA1\xD6\xA1\xAD"},
        {"·π", "\xA1\xA4\xA6\xD0"},
    };
    for (const Row& r : rows) {
      const QString text = QString::fromUtf8(r.utf8);
      QCOMPARE(Hex(tk::GbkFromQString(text)), Hex(r.gbk));
      QCOMPARE(tk::QStringFromGbk(r.gbk), text);
      QCOMPARE(tk::GbkByteCount(text), static_cast<int>(std::string(r.gbk).size()));
    }
    // No GBK form: "?".
    QCOMPARE(tk::GbkFromQString(QString::fromUtf8("a😀b")), std::string("a?b"));
    QCOMPARE(tk::GbkCharCode(U'中'), 0xD6D0);
    QCOMPARE(tk::GbkCharCode(U'a'), 0x61);
    QCOMPARE(tk::QStringFromGbkCharCode(0xD6D0), QString::fromUtf8("中"));
    QCOMPARE(tk::QStringFromGbkCharCode('z'), QStringLiteral("z"));
  }

  // ----- key-down ---------------------------------------------------------------

  void keyCodes_data() {
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("held");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("modifiers");
    const Qt::KeyboardModifiers none, shift(Qt::ShiftModifier), ctrl(Qt::ControlModifier), alt(Qt::AltModifier),
        pad(Qt::KeypadModifier);
    struct Row {
      const char* what;
      Qt::Key key;
      Qt::KeyboardModifiers held;
      int code, modifiers;
    };
    const Row rows[] = {
        {"A", Qt::Key_A, none, 65, 0},
        {"Z", Qt::Key_Z, none, 90, 0},
        {"Ctrl+S", Qt::Key_S, ctrl, 83, 1},
        {"Ctrl+Alt+S", Qt::Key_S, ctrl | alt, 83, 5},
        {"Alt+5", Qt::Key_5, alt, 53, 4},
        {"0", Qt::Key_0, none, 48, 0},
        {"9", Qt::Key_9, none, 57, 0},
        {"Shift+6 arrives as ^", Qt::Key_AsciiCircum, shift, 54, 2},
        {"Shift+7 arrives as &", Qt::Key_Ampersand, shift, 55, 2},
        {"Ctrl+Shift+6", Qt::Key_AsciiCircum, ctrl | shift, 54, 3},
        {"Shift+8 arrives as *", Qt::Key_Asterisk, shift, 56, 2},
        {"Shift+0 arrives as )", Qt::Key_ParenRight, shift, 48, 2},
        {"keypad *", Qt::Key_Asterisk, pad, 106, 0},
        {"Shift+= arrives as +", Qt::Key_Plus, shift, 187, 2},
        {"keypad +", Qt::Key_Plus, pad, 107, 0},
        {"=", Qt::Key_Equal, none, 187, 0},
        {"Ctrl+=", Qt::Key_Equal, ctrl, 187, 1},
        {"-", Qt::Key_Minus, none, 189, 0},
        {"Shift+- arrives as _", Qt::Key_Underscore, shift, 189, 2},
        {"keypad -", Qt::Key_Minus, pad, 189, 0},
        {"/", Qt::Key_Slash, none, 191, 0},
        {"keypad /", Qt::Key_Slash, pad, 191, 0},
        {".", Qt::Key_Period, none, 190, 0},
        {"keypad .", Qt::Key_Period, pad, 190, 0},
        {"keypad , (decimal key of some layouts)", Qt::Key_Comma, pad, 190, 0},
        {",", Qt::Key_Comma, none, 188, 0},
        {"keypad 0", Qt::Key_0, pad, 48, 0},
        {"keypad 7", Qt::Key_7, pad, 55, 0},
        {"keypad 9", Qt::Key_9, pad, 57, 0},
        {";", Qt::Key_Semicolon, none, 186, 0},
        {"\\", Qt::Key_Backslash, none, 220, 0},
        {"Shift+\\ arrives as |", Qt::Key_Bar, shift, 220, 2},
        {"Return", Qt::Key_Return, none, 13, 0},
        {"keypad Enter", Qt::Key_Enter, pad, 13, 0},
        {"Ctrl+Return", Qt::Key_Return, ctrl, 13, 1},
        {"Ctrl+Shift+Return", Qt::Key_Return, ctrl | shift, 13, 3},
        {"Esc", Qt::Key_Escape, none, 27, 0},
        {"Backspace", Qt::Key_Backspace, none, 8, 0},
        {"P", Qt::Key_P, none, 80, 0},
        {"F1", Qt::Key_F1, none, 112, 0},
        {"Left", Qt::Key_Left, none, 37, 0},
        {"Delete", Qt::Key_Delete, none, 46, 0},
    };
    for (const Row& r : rows) QTest::newRow(r.what) << r.key << r.held << r.code << r.modifiers;
  }

  void keyCodes() {
    QFETCH(Qt::Key, key);
    QFETCH(Qt::KeyboardModifiers, held);
    QFETCH(int, code);
    QFETCH(int, modifiers);
    BindKeyRecorder("键A");
    QWidget* button = W("键A");
    Focus(button);
    QTest::keyClick(button, key, held);
    QVERIFY(!keys_.empty());
    // QtTest presses the modifier keys first; the key itself comes last.
    const KeyRecord& last = keys_.back();
    QCOMPARE(last.code, code);
    QCOMPARE(last.modifiers, modifiers);
    QCOMPARE(last.source, std::string("键A"));
  }

  void theModifierKeyItselfIsNotCounted() {
    BindKeyRecorder("键A");
    QWidget* button = W("键A");
    Focus(button);
    QKeyEvent shift(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
    QApplication::sendEvent(button, &shift);
    QKeyEvent ctrlWithShift(QEvent::KeyPress, Qt::Key_Control, Qt::ShiftModifier | Qt::ControlModifier);
    QApplication::sendEvent(button, &ctrlWithShift);
    QKeyEvent alt(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier | Qt::ControlModifier);
    QApplication::sendEvent(button, &alt);
    QCOMPARE(keys_.size(), std::size_t{3});
    QCOMPARE(keys_[0].code, 16);
    QCOMPARE(keys_[0].modifiers, 0);
    QCOMPARE(keys_[1].code, 17);
    QCOMPARE(keys_[1].modifiers, 2);
    QCOMPARE(keys_[2].code, 18);
    QCOMPARE(keys_[2].modifiers, 1);
  }

  void autoRepeatRaisesEveryTime() {
    BindKeyRecorder("键A");
    QWidget* button = W("键A");
    Focus(button);
    for (bool repeat : {false, true, true}) {
      QKeyEvent e(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, QStringLiteral("5"), repeat);
      QApplication::sendEvent(button, &e);
    }
    QCOMPARE(keys_.size(), std::size_t{3});
    for (const KeyRecord& k : keys_) QCOMPARE(k.code, 53);
  }

  void tabMovesTheFocusAndNeverReachesTheHandler() {
    BindKeyRecorder("键A");
    BindKeyRecorder("键B");
    Focus(W("键A"));
    QTest::keyClick(W("键A"), Qt::Key_Tab);
    QTRY_VERIFY(W("键B")->hasFocus());
    QTest::keyClick(W("键B"), Qt::Key_Backtab, Qt::ShiftModifier);
    QTRY_VERIFY(W("键A")->hasFocus());
    for (const KeyRecord& k : keys_) {
      QVERIFY2(k.code == 16, qPrintable(QStringLiteral("key %1 reached the handler").arg(k.code)));
    }
    QCOMPARE(clicks_, 0);
  }

  void spaceStillClicksTheFocusedButton() {
    BindKeyRecorder("键A");
    Focus(W("键A"));
    QTest::keyClick(W("键A"), Qt::Key_Space);
    QCOMPARE(clicks_, 1);
    QCOMPARE(keys_.size(), std::size_t{1});
    QCOMPARE(keys_[0].code, 32);
  }

  void enterPressesNoButton() {
    BindKeyRecorder("键A");
    tk::OnClick(kWin, "普通按钮", [this] { ++clicks_; });
    Focus(W("键A"));
    QTest::keyClick(W("键A"), Qt::Key_Return);
    Focus(W("普通按钮"));
    QTest::keyClick(W("普通按钮"), Qt::Key_Return);
    QTest::keyClick(W("普通按钮"), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(clicks_, 0);
    QCOMPARE(keys_.size(), std::size_t{1});
    QCOMPARE(keys_[0].code, 13);
  }

  // ----- redirection and the event source -------------------------------------

  void redirectedEventsReportTheirSource() {
    std::vector<std::string> clicked, keyed;
    tk::Redirect(kWin, "键B", "键A");
    // Handlers are looked up when the event comes, so binding after the
    // redirection counts.
    tk::OnClick(kWin, "键A", [&] { clicked.push_back(tk::EventSource() + "/" + tk::GetTag(kWin, tk::EventSource().c_str())); });
    tk::OnKeyDown(kWin, "键A", [&](int code, int) { keyed.push_back(tk::EventSource() + std::to_string(code)); });
    QTest::mouseClick(W("键B"), Qt::LeftButton);
    QTest::mouseClick(W("键A"), Qt::LeftButton);
    Focus(W("键B"));
    QTest::keyClick(W("键B"), Qt::Key_7);
    QCOMPARE(clicked, (std::vector<std::string>{"键B/" + Gbk("乙"), "键A/" + Gbk("甲")}));
    QCOMPARE(keyed, (std::vector<std::string>{"键B55"}));
    QCOMPARE(tk::EventSource(), std::string());
  }

  void redirectionNeedsTheSameKind() {
    int a = 0;
    tk::OnClick(kWin, "键A", [&] { ++a; });
    tk::Redirect(kWin, "普通按钮", "键A");  // a push button and a colour button
    QTest::mouseClick(W("普通按钮"), Qt::LeftButton);
    QCOMPARE(a, 0);
    tk::Redirect(kWin, "键B", "键A");
    QTest::mouseClick(W("键B"), Qt::LeftButton);
    QCOMPARE(a, 1);
  }

  // ----- edit boxes ---------------------------------------------------------------

  void maximumLengthCountsGbkBytes_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("after");
    auto u = [](const char* s) { return QString::fromUtf8(s); };
    QTest::newRow("typed ASCII") << u("") << 0 << u("type") << u("abcdefghijkl") << u("abcdefghij");
    QTest::newRow("input method, Chinese") << u("") << 0 << u("commit") << u("青禾计算器测试") << u("青禾计算器");
    QTest::newRow("a Chinese char needs two bytes") << u("abc") << 3 << u("commit") << u("青禾计算器") << u("abc青禾计");
    QTest::newRow("inserted in the middle") << u("abcdefgh") << 2 << u("commit") << u("中文") << u("ab中cdefgh");
    QTest::newRow("pasted") << u("") << 0 << u("paste") << u("1234567890123") << u("1234567890");
    QTest::newRow("pasted into a full box") << u("0123456789") << 10 << u("paste") << u("x") << u("0123456789");
    QTest::newRow("typed into a full box") << u("一二三四五") << 5 << u("type") << u("a") << u("一二三四五");
  }

  void maximumLengthCountsGbkBytes() {
    QFETCH(QString, before);
    QFETCH(int, caret);
    QFETCH(QString, how);
    QFETCH(QString, input);
    QFETCH(QString, after);
    auto* edit = qobject_cast<QLineEdit*>(W("字节框"));
    QVERIFY(edit);
    tk::SetText(kWin, "字节框", tk::GbkFromQString(before));
    edit->setCursorPosition(caret);
    Focus(edit);
    if (how == "type") QTest::keyClicks(edit, input);
    if (how == "commit") Commit(edit, input);
    if (how == "paste") Paste(edit, input);
    QCOMPARE(edit->text(), after);
    QCOMPARE(tk::GetText(kWin, "字节框"), tk::GbkFromQString(after));
  }

  void programWritesAreNotCut() {
    tk::SetText(kWin, "字节框", "12345678901234");
    QCOMPARE(tk::GetText(kWin, "字节框"), std::string("12345678901234"));
    tk::SetText(kWin, "整数框", "1.5e3");
    QCOMPARE(tk::GetText(kWin, "整数框"), std::string("1.5e3"));
  }

  void numericInputModes_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("after");
    auto u = [](const char* s) { return QString::fromUtf8(s); };
    QTest::newRow("integer, typed") << u("整数框") << u("type") << u("1a-2.b3") << u("1-23");
    QTest::newRow("integer, pasted") << u("整数框") << u("paste") << u("x4-5.6y") << u("4-56");
    QTest::newRow("integer, input method") << u("整数框") << u("commit") << u("１2三-") << u("2-");
    QTest::newRow("decimal, typed") << u("小数框") << u("type") << u("1a-2.b3") << u("1-2.3");
    QTest::newRow("decimal, pasted") << u("小数框") << u("paste") << u("x4-5.6y") << u("4-5.6");
    QTest::newRow("decimal, minus anywhere") << u("小数框") << u("type") << u("5-.-") << u("5-.-");
    QTest::newRow("normal box takes anything") << u("字符框") << u("type") << u("a-1.b") << u("a-1.b");
  }

  void numericInputModes() {
    QFETCH(QString, box);
    QFETCH(QString, how);
    QFETCH(QString, input);
    QFETCH(QString, after);
    const QByteArray name = box.toUtf8();
    auto* edit = qobject_cast<QLineEdit*>(W(name.constData()));
    QVERIFY(edit);
    Focus(edit);
    if (how == "type") QTest::keyClicks(edit, input);
    if (how == "commit") Commit(edit, input);
    if (how == "paste") Paste(edit, input);
    QCOMPARE(edit->text(), after);
  }

  void backspaceAlwaysPasses() {
    auto* edit = qobject_cast<QLineEdit*>(W("整数框"));
    Focus(edit);
    QTest::keyClicks(edit, "123");
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), QStringLiteral("12"));
  }

  void readOnlyBoxTakesNoTyping() {
    auto* edit = qobject_cast<QLineEdit*>(W("只读框"));
    tk::SetText(kWin, "只读框", "42");
    Focus(edit);
    QTest::keyClicks(edit, "abc");
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(tk::GetText(kWin, "只读框"), std::string("42"));
  }

  // 0 discards the character, another value replaces it, no answer lets it
  // through; pasted text does not pass the handler.
  void characterHandlerAnswers() {
    std::vector<int> seen;
    tk::OnChar(kWin, "字符框", [&](int c) -> std::optional<int> {
      seen.push_back(c);
      if (c == 'x') return 0;
      if (c == 'y') return 'z';
      if (c == 'c') return 0xD6D0;  // 中 in GBK
      return std::nullopt;
    });
    auto* edit = qobject_cast<QLineEdit*>(W("字符框"));
    Focus(edit);
    QTest::keyClicks(edit, "axycb");
    QCOMPARE(edit->text(), QString::fromUtf8("az中b"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), QString::fromUtf8("az中"));
    Commit(edit, QString::fromUtf8("xy文"));
    QCOMPARE(edit->text(), QString::fromUtf8("az中z文"));
    Paste(edit, QStringLiteral("xyc"));
    QCOMPARE(edit->text(), QString::fromUtf8("az中z文xyc"));
    QCOMPARE(seen, (std::vector<int>{'a', 'x', 'y', 'c', 'b', 8, 'x', 'y', 0xCEC4}));
  }

  void ctrlLetterReachesTheHandlerAsAControlCharacter() {
    std::vector<int> seen;
    tk::OnChar(kWin, "字符框", [&](int c) -> std::optional<int> {
      seen.push_back(c);
      return std::nullopt;
    });
    auto* edit = qobject_cast<QLineEdit*>(W("字符框"));
    Focus(edit);
    QApplication::clipboard()->setText(QStringLiteral("12"));
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit->text(), QStringLiteral("12"));
    QCOMPARE(seen, (std::vector<int>{22}));
  }

  void textChangedOnTypingAndOnWrites() {
    std::vector<std::string> changes;
    tk::OnTextChanged(kWin, "多行框", [&] { changes.push_back(tk::EventSource() + ":" + tk::GetText(kWin, "多行框")); });
    tk::SetText(kWin, "多行框", "a\r\nb");
    QCOMPARE(tk::GetText(kWin, "多行框"), std::string("a\r\nb"));
    auto* edit = qobject_cast<QPlainTextEdit*>(W("多行框"));
    Focus(edit);
    edit->moveCursor(QTextCursor::End);
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_C);
    QCOMPARE(tk::GetText(kWin, "多行框"), std::string("a\r\nb\r\nc"));
    QCOMPARE(changes.front(), std::string("多行框:a\r\nb"));
    QCOMPARE(changes.back(), std::string("多行框:a\r\nb\r\nc"));
  }

  // ----- texts in and out -----------------------------------------------------------

  void textsComeBackByteForByte_data() {
    QTest::addColumn<QByteArray>("control");
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray cut("\xD6\xD0\xCE", 3);  // 中 and half of a second character
    QTest::newRow("label, line breaks") << QByteArray("标签") << QByteArray(Gbk("7\r\n ∧(2)\r\n≈49.00").c_str());
    QTest::newRow("label, cut character") << QByteArray("标签") << cut;
    QTest::newRow("label, lone CR") << QByteArray("标签") << QByteArray("a\rb");
    QTest::newRow("edit, cut character") << QByteArray("字符框") << cut;
    QTest::newRow("edit, Chinese") << QByteArray("字符框") << QByteArray(Gbk("千米").c_str());
    QTest::newRow("button caption") << QByteArray("普通按钮") << QByteArray(Gbk("开始测试").c_str());
    QTest::newRow("multi-line edit") << QByteArray("多行框") << QByteArray(Gbk("2千米\r\n500米").c_str());
  }

  void textsComeBackByteForByte() {
    QFETCH(QByteArray, control);
    QFETCH(QByteArray, bytes);
    const std::string written = bytes.toStdString();
    tk::SetText(kWin, control.constData(), written);
    const std::string read = tk::GetText(kWin, control.constData());
    QVERIFY2(read == written, qPrintable(Hex(read) + " != " + Hex(written)));
  }

  void labelShowsTheDecodedText() {
    tk::SetText(kWin, "标签", Gbk("7\r\n ∧(2)"));
    QCOMPARE(qobject_cast<QLabel*>(W("标签"))->text(), QString::fromUtf8("7\n ∧(2)"));
  }

  // ----- combo boxes -------------------------------------------------------------------

  void comboItems() {
    std::vector<std::string> selected;
    tk::OnListSelected(kWin, "列表框", [&] { selected.push_back(tk::EventSource() + ":" + tk::GetText(kWin, "列表框")); });
    QCOMPARE(tk::ComboInsert(kWin, "列表框", 0, Gbk("长度")), 0);
    QCOMPARE(tk::GetSelection(kWin, "列表框"), -1);  // no selection after filling
    QCOMPARE(tk::GetText(kWin, "列表框"), std::string());
    QCOMPARE(tk::ComboInsert(kWin, "列表框", 1, Gbk("时间")), 1);
    QCOMPARE(tk::ComboInsert(kWin, "列表框", 0, Gbk("面积")), 0);
    QCOMPARE(tk::ComboInsert(kWin, "列表框", -1, "x"), -1);
    QCOMPARE(tk::ComboInsert(kWin, "列表框", 9, "x"), -1);
    QCOMPARE(tk::ComboCount(kWin, "列表框"), 3);
    QVERIFY(selected.empty());

    tk::SetSelection(kWin, "列表框", 2);
    QCOMPARE(tk::GetSelection(kWin, "列表框"), 2);
    QCOMPARE(tk::GetText(kWin, "列表框"), Gbk("时间"));
    tk::SetSelection(kWin, "列表框", 7);
    QCOMPARE(tk::GetSelection(kWin, "列表框"), -1);
    QCOMPARE(selected, (std::vector<std::string>{"列表框:" + Gbk("时间")}));

    // The user's choice from the keyboard.
    auto* combo = qobject_cast<QComboBox*>(W("列表框"));
    tk::SetSelection(kWin, "列表框", 0);
    Focus(combo);
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(tk::GetSelection(kWin, "列表框"), 1);
    QCOMPARE(selected.back(), "列表框:" + Gbk("长度"));

    tk::ComboClear(kWin, "列表框");
    QCOMPARE(tk::ComboCount(kWin, "列表框"), 0);
    QCOMPARE(tk::GetSelection(kWin, "列表框"), -1);
    QCOMPARE(tk::GetText(kWin, "列表框"), std::string());
  }

  // ----- other properties ----------------------------------------------------------------

  void enabledAndPosition() {
    tk::OnClick(kWin, "普通按钮", [this] { ++clicks_; });
    tk::SetEnabled(kWin, "普通按钮", false);
    QVERIFY(!tk::IsEnabled(kWin, "普通按钮"));
    QTest::mouseClick(W("普通按钮"), Qt::LeftButton);
    QCOMPARE(clicks_, 0);
    tk::SetEnabled(kWin, "普通按钮", true);
    QVERIFY(tk::IsEnabled(kWin, "普通按钮"));
    QTest::mouseClick(W("普通按钮"), Qt::LeftButton);
    QCOMPARE(clicks_, 1);

    for (auto [in, out] : {std::pair{40, 40}, {100, 100}, {150, 100}, {-5, 0}}) {
      tk::SetPosition(kWin, "进度条", in);
      QCOMPARE(tk::GetPosition(kWin, "进度条"), out);
      QCOMPARE(qobject_cast<QProgressBar*>(W("进度条"))->value(), out);
    }
  }

  void unknownNamesAreHarmless() {
    tk::SetText("NoSuchWindow", "标签", "x");
    QCOMPARE(tk::GetText("NoSuchWindow", "标签"), std::string());
    QCOMPARE(tk::GetText(kWin, "不存在"), std::string());
    QCOMPARE(tk::GetSelection(kWin, "标签"), -1);
    QCOMPARE(tk::ComboInsert(kWin, "标签", 0, "x"), -1);
    QVERIFY(!tk::WindowExists("NoSuchWindow"));
  }

  // ----- services ------------------------------------------------------------------------------

  void messageBoxShowsOneOkButton_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("icon");
    QTest::newRow("error") << 16 << static_cast<int>(QMessageBox::Critical);
    QTest::newRow("information") << 64 << static_cast<int>(QMessageBox::Information);
  }

  void messageBoxShowsOneOkButton() {
    QFETCH(int, kind);
    QFETCH(int, icon);
    QString title, text;
    int buttons = 0, shownIcon = -1;
    bool hasParent = true;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      title = box->windowTitle();
      text = box->text();
      buttons = static_cast<int>(box->buttons().size());
      shownIcon = static_cast<int>(box->icon());
      hasParent = box->parentWidget() != nullptr;
      QTest::keyClick(box, Qt::Key_Return);
    });
    tk::MessageBox(Gbk("请输入您的意见！\r\n第二行"), kind, Gbk("温馨提示"));
    QCOMPARE(title, QString::fromUtf8("温馨提示"));
    QCOMPARE(text, QString::fromUtf8("请输入您的意见！\n第二行"));
    QCOMPARE(buttons, 1);
    QCOMPARE(shownIcon, icon);
    QVERIFY(!hasParent);
  }

  void messageBoxHookRecords() {
    std::vector<tk::MessageBoxRecord> boxes;
    tk::SetMessageBoxHook([&](const tk::MessageBoxRecord& r) { boxes.push_back(r); });
    tk::MessageBox(Gbk("错"), 16, Gbk("错误提示"));
    QCOMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(boxes[0].text, Gbk("错"));
    QCOMPARE(boxes[0].title, Gbk("错误提示"));
    QCOMPARE(boxes[0].kind, 16);
  }

  void sleepBeepAndUrl() {
    QElapsedTimer t;
    t.start();
    tk::Sleep(-1000);
    tk::SetSleepOverride(0);
    tk::Sleep(60000);
    QVERIFY(t.elapsed() < 1000);
    tk::SetSleepOverride(std::nullopt);
    t.restart();
    tk::Sleep(30);
    QVERIFY(t.elapsed() >= 29);

    int beeps = 0;
    tk::SetBeepHook([&] { ++beeps; });
    tk::Beep();
    QCOMPARE(beeps, 1);

    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &catcher, "Open");
    tk::OpenUrl("mailto:someone@example.com");
    QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
    QCOMPARE(catcher.urls.size(), 1);
    QCOMPARE(catcher.urls[0].toString(), QStringLiteral("mailto:someone@example.com"));
  }

  // The kinds the auxiliary windows use: hyperlink, picture box, list view,
  // a link-style colour button and transparent labels.
  void auxiliaryKinds() {
    using tk::ControlSpec;
    using tk::Kind;
    tk::WindowSpec layout = AuxWindowSpec();
    layout.controls.push_back(ControlSpec{.name = "邮箱链接框", .kind = Kind::Hyperlink, .left = 0, .top = 0,
                                        .width = 96, .height = 32, .text = "someone@example.com"});
    layout.controls.push_back(ControlSpec{.name = "图标图片框", .kind = Kind::Picture, .left = 100, .top = 0,
                                        .width = 48, .height = 48});
    layout.controls.push_back(ControlSpec{.name = "联系按钮", .kind = Kind::ColourButton, .left = 0, .top = 50,
                                        .width = 90, .height = 30, .text = "QQ", .textColour = tk::Rgb{0, 96, 192},
                                        .hoverTextColour = tk::Rgb{0, 136, 255}, .linkStyle = true});
    layout.controls.push_back(ControlSpec{.name = "热键列表框", .kind = Kind::ListView, .left = 0, .top = 0,
                                        .width = 200, .height = 50,
                                        .columns = {{"对象", 120}, {"按键", 130}},
                                        .rows = {{"清除数据（AC）", "退出键（Ecs）"}, {"π", "P键"}}});
    std::vector<std::string> clicked;
    bool checked = false;
    tk::OpenModal(layout, [&] {
      tk::OnClick(kAux, "邮箱链接框", [&] { clicked.push_back(tk::EventSource()); });
      tk::OnClick(kAux, "联系按钮", [&] { clicked.push_back(tk::EventSource()); });
      QTimer::singleShot(0, [&] {
        QTest::mouseClick(tk::ControlWidget(kAux, "邮箱链接框"), Qt::LeftButton);
        QTest::mouseClick(tk::ControlWidget(kAux, "联系按钮"), Qt::LeftButton);
        QCOMPARE(tk::GetText(kAux, "邮箱链接框"), std::string("someone@example.com"));
        QCOMPARE(tk::ControlWidget(kAux, "邮箱链接框")->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(tk::ControlWidget(kAux, "邮箱链接框")->font().underline());
        QCOMPARE(tk::ControlWidget(kAux, "联系按钮")->cursor().shape(), Qt::PointingHandCursor);
        auto* picture = qobject_cast<QLabel*>(tk::ControlWidget(kAux, "图标图片框"));
        QVERIFY(picture);
        QCOMPARE(picture->pixmap().size(), QSize(48, 48));
        auto* list = qobject_cast<QTreeWidget*>(tk::ControlWidget(kAux, "热键列表框"));
        QVERIFY(list);
        QCOMPARE(list->headerItem()->text(0), QString::fromUtf8("对象"));
        QCOMPARE(list->headerItem()->text(1), QString::fromUtf8("按键"));
        QCOMPARE(list->columnWidth(0), 120);
        QCOMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(list->topLevelItem(0)->text(0), QString::fromUtf8("清除数据（AC）"));
        QCOMPARE(list->topLevelItem(0)->text(1), QString::fromUtf8("退出键（Ecs）"));
        // The link button draws no background of its own.
        QWidget* link = tk::ControlWidget(kAux, "联系按钮");
        const QImage image = link->window()->grab().toImage();
        QCOMPARE(image.pixelColor(link->mapTo(link->window(), QPoint(1, 1))).rgb(),
                 link->window()->palette().color(QPalette::Window).rgb());
        checked = true;
        tk::CloseWindow(kAux);
      });
    });
    QVERIFY(checked);
    QCOMPARE(clicked, (std::vector<std::string>{"邮箱链接框", "联系按钮"}));
  }

  // ----- windows -----------------------------------------------------------------------------

  void modalWindowBlocksTheOthersAndIsGoneWhenClosed() {
    int mainClicks = 0;
    tk::OnClick(kWin, "普通按钮", [&] { ++mainClicks; });
    QPointer<QWidget> aux;
    bool existedWhileOpen = false, existsAfterClose = true, modal = false;
    Qt::WindowFlags flags;
    QSize size;
    tk::OpenModal(AuxWindowSpec(), [&] {
      tk::OnClick(kAux, "关闭按钮", [&] {
        tk::CloseWindow(kAux);
        existsAfterClose = tk::WindowExists(kAux);
      });
      QTimer::singleShot(0, [&] {
        aux = tk::WindowWidget(kAux);
        existedWhileOpen = tk::WindowExists(kAux);
        if (!aux) return;
        modal = aux->isModal();
        flags = aux->windowFlags();
        size = aux->size();
        // A click through the window system, as a user's click arrives.
        QWidget* button = W("普通按钮");
        QTest::mouseClick(button->window()->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          button->mapTo(button->window(), QPoint(5, 5)));
        QTest::mouseClick(tk::ControlWidget(kAux, "关闭按钮"), Qt::LeftButton);
      });
    });
    // OpenModal returns once the window has been destroyed.
    QVERIFY(existedWhileOpen);
    QVERIFY(!existsAfterClose);
    QVERIFY(aux.isNull());
    QVERIFY(modal);
    QCOMPARE(size, QSize(200, 100));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QCOMPARE(mainClicks, 0);
    // The main window takes clicks again.
    QTest::mouseClick(W("普通按钮"), Qt::LeftButton);
    QCOMPARE(mainClicks, 1);
  }

  void escapeClosesAnAuxiliaryWindow() {
    bool gone = false;
    tk::OpenModal(AuxWindowSpec(), [&] {
      QTimer::singleShot(0, [&] {
        QWidget* edit = tk::ControlWidget(kAux, "意见编辑框");
        if (!edit) return;
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Escape);
        gone = !tk::WindowExists(kAux);
      });
    });
    QVERIFY(gone);
  }

  void aWindowClosedInsideItsHandlerIsGoneAtOnce() {
    bool existsAfterClose = true;
    QPointer<QWidget> window = tk::WindowWidget(kWin);
    tk::OnClick(kWin, "普通按钮", [&] {
      tk::WindowWidget(kWin)->close();  // as the user's close box does
      tk::PumpEvents();
      existsAfterClose = tk::WindowExists(kWin);
      tk::SetText(kWin, "标签", "late");  // dropped quietly
    });
    QTest::mouseClick(W("普通按钮"), Qt::LeftButton);
    QVERIFY(!existsAfterClose);
    QVERIFY(!window.isNull());  // destroyed only after the handler
    QTRY_VERIFY(window.isNull());
    tk::CreateWindow(TestWindowSpec());  // for cleanup()
  }
};

QTEST_MAIN(ToolkitTest)
#include "toolkit_test.moc"
