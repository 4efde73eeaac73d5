// MainWindow as the user meets it: every control at its place with its
// design-time text and tag, the four pages, the fixed frame, and Esc.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyleOptionTab>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

#include "app/main_window.h"
#include "calc/keypad_page.h"
#include "core/gbk.h"
#include "namescore/namescore.h"
#include "toolkit/toolkit.h"
#include "toolkit/toolkit_qt.h"

namespace {

enum class Is { Label, Edit, MultiEdit, Combo, Button, ColourButton, Progress };

struct Expected {
  const char* name;
  Is kind;
  int page;  // 1..4
  int left, top, width, height;
  const char* text;     // design-time text, UTF-8
  const char* tag;      // nullptr: none
  const char* tooltip;  // nullptr: none
};

// Written from the window design, independently of the program's own table.
const Expected kControls[] = {
    {"数据显示框", Is::Label, 1, 8, 28, 232, 46, "0", nullptr, nullptr},
    {"按钮7", Is::ColourButton, 1, 8, 80, 40, 24, "7", "7", nullptr},
    {"按钮8", Is::ColourButton, 1, 56, 80, 40, 24, "8", "8", nullptr},
    {"按钮9", Is::ColourButton, 1, 104, 80, 40, 24, "9", "9", nullptr},
    {"删格按钮", Is::ColourButton, 1, 152, 80, 40, 24, "←", nullptr, "删格"},
    {"清除按钮", Is::ColourButton, 1, 200, 80, 40, 24, "AC", nullptr, "清除"},
    {"按钮4", Is::ColourButton, 1, 8, 112, 40, 24, "4", "4", nullptr},
    {"按钮5", Is::ColourButton, 1, 56, 112, 40, 24, "5", "5", nullptr},
    {"按钮6", Is::ColourButton, 1, 104, 112, 40, 24, "6", "6", nullptr},
    {"求n次乘方按钮", Is::ColourButton, 1, 152, 112, 40, 24, "X^n", " ∧", "求n次乘方"},
    {"求n次开方按钮", Is::ColourButton, 1, 200, 112, 40, 24, "n√X", " √", "求n次开方"},
    {"按钮1", Is::ColourButton, 1, 8, 144, 40, 24, "1", "1", nullptr},
    {"按钮2", Is::ColourButton, 1, 56, 144, 40, 24, "2", "2", nullptr},
    {"按钮3", Is::ColourButton, 1, 104, 144, 40, 24, "3", "3", nullptr},
    {"乘按钮", Is::ColourButton, 1, 152, 144, 40, 24, "×", " ×", nullptr},
    {"除按钮", Is::ColourButton, 1, 200, 144, 40, 24, "÷", " ÷", nullptr},
    {"按钮0", Is::ColourButton, 1, 8, 176, 40, 24, "0", "0", nullptr},
    {"小数点按钮", Is::ColourButton, 1, 56, 176, 40, 24, "·", ".", nullptr},
    {"圆周率按钮", Is::ColourButton, 1, 104, 176, 40, 24, "π", "π", nullptr},
    {"加按钮", Is::ColourButton, 1, 152, 176, 40, 24, "﹢", " ﹢", nullptr},
    {"减按钮", Is::ColourButton, 1, 200, 176, 40, 24, "—", " —", nullptr},
    {"求正弦按钮", Is::ColourButton, 1, 8, 208, 40, 24, "sin", "sin", "求正弦"},
    {"求正切按钮", Is::ColourButton, 1, 56, 208, 40, 24, "tan", "tan", "求正切"},
    {"求自然对数按钮", Is::ColourButton, 1, 104, 208, 40, 24, "log", "log", "求自然对数"},
    {"求倒数按钮", Is::ColourButton, 1, 152, 208, 40, 24, "1/X", "1/X", "求倒数"},
    {"求余数按钮", Is::ColourButton, 1, 200, 208, 40, 24, "…", " …", "求余数"},
    {"求余弦按钮", Is::ColourButton, 1, 8, 240, 40, 24, "cos", "cos", "求余弦"},
    {"求反正切按钮", Is::ColourButton, 1, 56, 240, 40, 24, "atn", "atn", "求反正切"},
    {"求反对数按钮", Is::ColourButton, 1, 104, 240, 40, 24, "exp", "exp", "求反对数"},
    {"约等于按钮", Is::ColourButton, 1, 152, 240, 40, 24, "≈", " ≈", "约等于"},
    {"等于按钮", Is::ColourButton, 1, 200, 240, 40, 24, "﹦", " ﹦", "等于"},

    {"标签7", Is::Label, 2, 8, 40, 56, 20, "单位类型：", nullptr, nullptr},
    {"单位类型组合框", Is::Combo, 2, 64, 40, 176, 20, "", nullptr, nullptr},
    {"标签1", Is::Label, 2, 8, 72, 56, 20, "输入单位：", nullptr, nullptr},
    {"输入单位组合框", Is::Combo, 2, 64, 72, 176, 20, "", nullptr, nullptr},
    {"标签2", Is::Label, 2, 8, 100, 56, 20, "输入数据：", nullptr, nullptr},
    {"输入数据编辑框", Is::Edit, 2, 64, 100, 176, 20, "", nullptr, nullptr},
    {"标签3", Is::Label, 2, 8, 128, 56, 20, "输出单位：", nullptr, nullptr},
    {"输出单位组合框", Is::Combo, 2, 64, 128, 176, 20, "", nullptr, nullptr},
    {"标签4", Is::Label, 2, 8, 156, 56, 20, "输出数据：", nullptr, nullptr},
    {"输出数据编辑框", Is::Edit, 2, 64, 156, 176, 20, "", nullptr, nullptr},
    {"标签5", Is::Label, 2, 8, 184, 56, 20, "进    率：", nullptr, nullptr},
    {"进率编辑框", Is::Edit, 2, 64, 184, 176, 20, "", nullptr, nullptr},
    {"标签6", Is::Label, 2, 8, 212, 56, 20, "完整输出：", nullptr, nullptr},
    {"完整输出编辑框", Is::MultiEdit, 2, 64, 212, 176, 52, "", nullptr, nullptr},

    {"标签9", Is::Label, 3, 16, 40, 192, 16, "声明：此功能仅供娱乐，不必当真！", nullptr, nullptr},
    {"标签8", Is::Label, 3, 16, 80, 96, 24, "请输入您的姓名：", nullptr, nullptr},
    {"姓名编辑框", Is::Edit, 3, 16, 104, 160, 32, "", nullptr, nullptr},
    {"测试按钮", Is::Button, 3, 176, 104, 64, 32, "开始测试", nullptr, nullptr},
    {"测试进度条", Is::Progress, 3, 16, 152, 224, 24, "", nullptr, nullptr},
    {"得分标签", Is::Label, 3, 16, 192, 88, 48, "分数", nullptr, nullptr},
    {"等级标签", Is::Label, 3, 16, 232, 88, 32, "←等级→", nullptr, nullptr},
    {"评价标签", Is::Label, 3, 99, 192, 141, 72, "\r\n    评 价", nullptr, nullptr},

    {"标签10", Is::Label, 4, 12, 48, 220, 32,
     "数值四舍五入保留的小数位数：\r\n（〉0约到小数部分，≤0约到整数部分）", nullptr, nullptr},
    {"约到位数编辑框", Is::Edit, 4, 16, 88, 104, 24, "", nullptr, nullptr},
    {"默认按钮", Is::Button, 4, 152, 104, 80, 24, "恢复默认", nullptr, nullptr},
    {"标签11", Is::Label, 4, 12, 128, 132, 24, "π取到小数部分的位数：\r\n（0～11）", nullptr, nullptr},
    {"圆周率编辑框", Is::Edit, 4, 16, 160, 104, 24, "", nullptr, nullptr},
    {"确认按钮", Is::Button, 4, 152, 144, 80, 24, "应用配置", nullptr, nullptr},
    {"分隔标签", Is::Label, 4, 1, 194, 246, 2, "", nullptr, nullptr},
    {"关于按钮", Is::Button, 4, 16, 216, 64, 32, "关于", nullptr, nullptr},
    {"帮助按钮", Is::Button, 4, 92, 216, 64, 32, "帮助", nullptr, nullptr},
    {"建议按钮", Is::Button, 4, 168, 216, 64, 32, "建议", nullptr, nullptr},
};

const char* KindName(Is kind) {
  switch (kind) {
    case Is::Label: return "label";
    case Is::Edit: return "edit box";
    case Is::MultiEdit: return "multi-line edit box";
    case Is::Combo: return "combo box";
    case Is::Button: return "button";
    case Is::ColourButton: return "colour button";
    case Is::Progress: return "progress bar";
  }
  return "?";
}

bool HasKind(QWidget* w, Is kind) {
  switch (kind) {
    case Is::Label: return qobject_cast<QLabel*>(w) != nullptr;
    case Is::Edit: return qobject_cast<QLineEdit*>(w) != nullptr;
    case Is::MultiEdit: return qobject_cast<QPlainTextEdit*>(w) != nullptr;
    case Is::Combo: return qobject_cast<QComboBox*>(w) != nullptr;
    case Is::Button: {
      auto* b = qobject_cast<QPushButton*>(w);
      return b && !b->isFlat();
    }
    case Is::ColourButton: {
      auto* b = qobject_cast<QPushButton*>(w);
      return b && b->isFlat();
    }
    case Is::Progress: return qobject_cast<QProgressBar*>(w) != nullptr;
  }
  return false;
}

QString ShownText(QWidget* w) {
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
  if (auto* e = qobject_cast<QPlainTextEdit*>(w)) return e->toPlainText();
  if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText();
  return QString();
}

// Group colours of the keypad: normal background by button.
struct KeyColour {
  const char* name;
  QColor normal;
};

const QColor kEntry(230, 230, 255), kOperator(232, 244, 244), kFunction(255, 236, 217), kClear(255, 232, 232);

const KeyColour kKeyColours[] = {
    {"按钮0", kEntry},        {"按钮5", kEntry},        {"按钮9", kEntry},        {"小数点按钮", kEntry},
    {"圆周率按钮", kEntry},    {"加按钮", kOperator},    {"减按钮", kOperator},    {"乘按钮", kOperator},
    {"除按钮", kOperator},     {"求n次乘方按钮", kOperator}, {"求n次开方按钮", kOperator},
    {"求正弦按钮", kFunction}, {"求余弦按钮", kFunction}, {"求正切按钮", kFunction}, {"求反正切按钮", kFunction},
    {"求自然对数按钮", kFunction}, {"求反对数按钮", kFunction}, {"求倒数按钮", kFunction},
    {"求余数按钮", kFunction}, {"约等于按钮", kFunction}, {"等于按钮", kFunction},
    {"清除按钮", kClear},      {"删格按钮", kClear},
};

QColor ColourOf(const char* name) {
  for (const KeyColour& k : kKeyColours) {
    if (std::string(k.name) == name) return k.normal;
  }
  return QColor();
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  QWidget* window_ = nullptr;
  QTabWidget* tabs_ = nullptr;

 private slots:
  void initTestCase() {
    static int argc = 1;
    static char name[] = "app_window_tests";
    static char* argv[] = {name, nullptr};
    tk::Initialise(argc, argv);
  }

  void init() {
    tk::BuildWindow(MainWindowSpec());
    tk::ShowWindow("MainWindow");
    window_ = tk::WindowWidget("MainWindow");
    QVERIFY(window_);
    QVERIFY(QTest::qWaitForWindowExposed(window_));
    tabs_ = tk::TabWidget("MainWindow");
    QVERIFY(tabs_);
  }

  void cleanup() {
    tk::CloseWindow("MainWindow");
    QTRY_VERIFY(tk::WindowWidget("MainWindow") == nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  void everyControlAtItsPlaceWithTextAndTag() {
    QStringList faults;
    for (const Expected& e : kControls) {
      const QString name = QString::fromUtf8(e.name);
      QWidget* w = tk::ControlWidget("MainWindow", e.name);
      if (!w) {
        faults << name + ": missing";
        continue;
      }
      if (w->objectName() != name) faults << name + ": objectName " + w->objectName();
      if (!HasKind(w, e.kind)) faults << name + ": not a " + KindName(e.kind) + " but " + w->metaObject()->className();
      const QPoint at = w->mapTo(tabs_, QPoint(0, 0));
      if (at != QPoint(e.left, e.top) || w->size() != QSize(e.width, e.height)) {
        faults << QStringLiteral("%1: at %2,%3 size %4x%5, expected %6,%7 size %8x%9")
                      .arg(name)
                      .arg(at.x()).arg(at.y()).arg(w->width()).arg(w->height())
                      .arg(e.left).arg(e.top).arg(e.width).arg(e.height);
      }
      const std::string text = tk::GetText("MainWindow", e.name);
      if (text != Gbk(e.text)) {
        faults << name + ": text " + QString::fromStdString(HexBytes(text)) + " expected " +
                      QString::fromStdString(HexBytes(Gbk(e.text)));
      }
      QString shown = QString::fromUtf8(e.text);
      shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
      if (ShownText(w) != shown) faults << name + ": shows \"" + ShownText(w) + "\"";
      const std::string tag = tk::GetTag("MainWindow", e.name);
      if (tag != (e.tag ? Gbk(e.tag) : std::string())) {
        faults << name + ": tag " + QString::fromStdString(HexBytes(tag));
      }
      if (w->toolTip() != (e.tooltip ? QString::fromUtf8(e.tooltip) : QString())) {
        faults << name + ": tooltip \"" + w->toolTip() + "\"";
      }
      if (!tk::IsEnabled("MainWindow", e.name)) faults << name + ": disabled";
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));

    // Nothing beyond the design: 64 controls and no stray widget on the pages.
    int named = 0;
    for (QWidget* w : tabs_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
      if (w == tabs_->tabBar() || w->inherits("QStackedWidget")) continue;
      ++named;
      bool known = false;
      for (const Expected& e : kControls) known = known || w->objectName() == QString::fromUtf8(e.name);
      QVERIFY2(known, qPrintable(w->objectName()));
    }
    QCOMPARE(named, static_cast<int>(std::size(kControls)));
  }

  void pagesInOrderAndFirstSelected() {
    QCOMPARE(tabs_->objectName(), QString::fromUtf8("模式选择夹"));
    QCOMPARE(tabs_->count(), 4);
    const char* titles[] = {"普通计算", "单位换算", "人品测试", "配置帮助"};
    for (int i = 0; i < 4; ++i) QCOMPARE(tabs_->tabText(i), QString::fromUtf8(titles[i]));
    QCOMPARE(tabs_->currentIndex(), 0);
    QCOMPARE(tk::GetText("MainWindow", "数据显示框"), std::string("0"));
    QCOMPARE(tabs_->tabBar()->font().pixelSize(), 12);
  }

  void allTabsVisibleInTheStrip() {
    QTabBar* bar = tabs_->tabBar();
    QVERIFY(!tabs_->usesScrollButtons());
    for (int i = 0; i < 4; ++i) {
      const QRect r = bar->tabRect(i);
      // The title is drawn whole inside the tab's text area.
      QStyleOptionTab option;
      option.initFrom(bar);
      option.rect = r;
      option.text = bar->tabText(i);
      option.shape = bar->shape();
      const QRect textArea = bar->style()->subElementRect(QStyle::SE_TabBarTabText, &option, bar);
      const int textWidth = bar->fontMetrics().horizontalAdvance(bar->tabText(i));
      QVERIFY2(textArea.width() >= textWidth,
               qPrintable(QStringLiteral("tab %1 has %2 pixels for a %3-pixel title").arg(i).arg(textArea.width()).arg(textWidth)));
      const QRect inWindow(bar->mapTo(window_, r.topLeft()), r.size());
      QVERIFY2(inWindow.right() < 248, qPrintable(QStringLiteral("tab %1 ends at %2").arg(i).arg(inWindow.right())));
    }
  }

  void onlyTheSelectedPageShows() {
    for (int page = 0; page < 4; ++page) {
      tabs_->setCurrentIndex(page);
      for (const Expected& e : kControls) {
        QWidget* w = tk::ControlWidget("MainWindow", e.name);
        QVERIFY(w);
        QVERIFY2(w->isVisible() == (e.page == page + 1),
                 qPrintable(QStringLiteral("%1 on page %2").arg(QString::fromUtf8(e.name)).arg(page + 1)));
      }
    }
  }

  void keypadColoursDrawn() {
    const QImage image = window_->grab().toImage();
    for (const KeyColour& k : kKeyColours) {
      QWidget* w = tk::ControlWidget("MainWindow", k.name);
      QVERIFY(w);
      // A point inside the thin border, away from the centred caption.
      const QPoint p = w->mapTo(window_, QPoint(3, 3));
      QCOMPARE(image.pixelColor(p).rgb(), k.normal.rgb());
    }
    // Hovered: the group's second colour.
    const std::pair<const char*, QColor> hovered[] = {{"按钮5", QColor(208, 208, 255)},
                                                      {"乘按钮", QColor(209, 233, 233)},
                                                      {"等于按钮", QColor(255, 225, 196)},
                                                      {"清除按钮", QColor(255, 200, 200)}};
    for (const auto& [name, colour] : hovered) {
      QWidget* w = tk::ControlWidget("MainWindow", name);
      QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
      QApplication::sendEvent(w, &enter);
      QCOMPARE(w->grab().toImage().pixelColor(3, 3).rgb(), colour.rgb());
      QEvent leave(QEvent::Leave);
      QApplication::sendEvent(w, &leave);
      QCOMPARE(w->grab().toImage().pixelColor(3, 3).rgb(), ColourOf(name).rgb());
    }
    // The display's face colour, just inside its 5-pixel frame.
    QWidget* display = tk::ControlWidget("MainWindow", "数据显示框");
    QCOMPARE(image.pixelColor(display->mapTo(window_, QPoint(6, 6))).rgb(), QColor(224, 233, 224).rgb());
  }

  void fixedFrameWithMinimizeOnly() {
    QCOMPARE(window_->windowTitle(), QString::fromUtf8("青禾计算器"));
    QCOMPARE(window_->size(), QSize(248, 272));
    QCOMPARE(window_->minimumSize(), QSize(248, 272));
    QCOMPARE(window_->maximumSize(), QSize(248, 272));
    QCOMPARE(tabs_->geometry(), QRect(0, 0, 248, 272));
    const Qt::WindowFlags f = window_->windowFlags();
    QVERIFY(f.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!f.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(f.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(f.testFlag(Qt::Window) && !f.testFlag(Qt::Tool));
  }

  void escapeDoesNotClose() {
    QWidget* key = tk::ControlWidget("MainWindow", "按钮5");
    key->setFocus();
    QTRY_VERIFY(key->hasFocus());
    QTest::keyClick(key, Qt::Key_Escape);
    QTest::keyClick(window_, Qt::Key_Escape);
    QCoreApplication::processEvents();
    QVERIFY(tk::WindowExists("MainWindow"));
    QVERIFY(window_->isVisible());
  }

  void enterPressesNoButton() {
    int clicks = 0;
    for (const Expected& e : kControls) {
      if (e.kind == Is::Button || e.kind == Is::ColourButton) tk::OnClick("MainWindow", e.name, [&] { ++clicks; });
    }
    for (const char* name : {"按钮5", "等于按钮"}) {
      QWidget* key = tk::ControlWidget("MainWindow", name);
      key->setFocus();
      QTRY_VERIFY(key->hasFocus());
      QTest::keyClick(key, Qt::Key_Return);
      QTest::keyClick(key, Qt::Key_Enter, Qt::KeypadModifier);
    }
    tabs_->setCurrentIndex(3);
    QWidget* edit = tk::ControlWidget("MainWindow", "约到位数编辑框");
    edit->setFocus();
    QTRY_VERIFY(edit->hasFocus());
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(clicks, 0);
  }

  // Focus on show: where the start-up put it, else the first control.
  void focusWhenShown() {
    QVERIFY(tk::ControlWidget("MainWindow", "按钮7")->hasFocus());
    tk::CloseWindow("MainWindow");
    tk::BuildWindow(MainWindowSpec());
    tk::SetFocus("MainWindow", "等于按钮");
    tk::ShowWindow("MainWindow");
    window_ = tk::WindowWidget("MainWindow");
    QVERIFY(QTest::qWaitForWindowActive(window_));
    QVERIFY(tk::ControlWidget("MainWindow", "等于按钮")->hasFocus());
  }

  // A visit to another page by clicking its tab gives the keyboard back to
  // the keypad button that had it when the user returns.
  void focusReturnsToThePageAfterATabVisit() {
    QVERIFY(QTest::qWaitForWindowActive(window_));
    QWidget* five = tk::ControlWidget("MainWindow", "按钮5");
    QTest::mouseClick(five, Qt::LeftButton);
    QVERIFY(five->hasFocus());
    QTabBar* bar = tabs_->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
    QCOMPARE(tabs_->currentIndex(), 2);
    QVERIFY(!five->hasFocus());
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
    QCOMPARE(tabs_->currentIndex(), 0);
    QVERIFY(five->hasFocus());
  }

  // The keypad wired as at start-up, worked with real clicks and keys.
  void keypadThroughRealEvents() {
    KeypadState = CalcState{};
    BindKeypadDesignHandlers();
    WireKeypad();
    QVERIFY(QTest::qWaitForWindowActive(window_));
    auto key = [](const char* name) { return tk::ControlWidget("MainWindow", name); };
    auto display = [] { return Utf8FromGbk(tk::GetText("MainWindow", "数据显示框")); };
    QTest::mouseClick(key("按钮7"), Qt::LeftButton);  // redirected to 小数点按钮's handler
    QCOMPARE(display(), std::string("7"));
    QWidget* focused = QApplication::focusWidget();
    QVERIFY(focused);
    QTest::keyClick(focused, Qt::Key_AsciiCircum, Qt::ShiftModifier);  // Shift+6
    QCOMPARE(display(), std::string("7\r\n ∧(0)"));
    QTest::keyClick(focused, Qt::Key_2, Qt::KeypadModifier);
    QCOMPARE(display(), std::string("7\r\n ∧(2)"));
    key("等于按钮")->setFocus();
    QTest::keyClick(key("等于按钮"), Qt::Key_Space);  // the button's own click
    QCOMPARE(display(), std::string("7\r\n ∧(2)\r\n﹦49"));
    QTest::keyClick(key("等于按钮"), Qt::Key_Escape);
    QCOMPARE(display(), std::string("0"));
    QTest::keyClick(key("等于按钮"), Qt::Key_Asterisk, Qt::ShiftModifier);  // main keyboard: the 8 key
    QCOMPARE(display(), std::string("8"));
    QTest::keyClick(key("等于按钮"), Qt::Key_Asterisk, Qt::KeypadModifier);
    QCOMPARE(display(), std::string("8\r\n ×(0)"));
  }

  // Pictures of the four pages for a person to compare with the design.
  void screenshotsOfThePages() {
    const QString dir = qEnvironmentVariable("QH_SCREENSHOT_DIR", QDir::currentPath() + "/screenshots");
    QVERIFY(QDir().mkpath(dir));
    const char* files[] = {"page1-calculator.png", "page2-converter.png", "page3-namescore.png",
                           "page4-settings.png"};
    for (int page = 0; page < 4; ++page) {
      tabs_->setCurrentIndex(page);
      QCoreApplication::processEvents();
      const QImage image = window_->grab().toImage();
      QCOMPARE(image.size(), QSize(248, 272));
      QVERIFY(image.save(dir + "/" + files[page]));
    }
    // Full displays, as the calculator and the name score leave them.
    tk::SetText("MainWindow", "数据显示框", Gbk("12345.678\r\n ∧(2)\r\n≈152415765.28"));
    tk::SetText("MainWindow", "得分标签", "87");
    tk::SetText("MainWindow", "等级标签", ScoreGrade(87));
    tk::SetText("MainWindow", "评价标签", ScoreVerdict(87));
    tk::SetPosition("MainWindow", "测试进度条", 87);
    tabs_->setCurrentIndex(0);
    QVERIFY(window_->grab().save(dir + "/page1-three-lines.png"));
    tabs_->setCurrentIndex(2);
    QVERIFY(window_->grab().save(dir + "/page3-scored.png"));
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
