// The name score page on the real MainWindow: names typed with real keys,
// the test started with a real click, the count-up watched at every step.
//
// The count-up pumps events between its steps. The tests post one queued call
// each time the bar moves; it is delivered by the pump of that very step, so
// the page can be looked at (and used) exactly where the user would see it.
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

#include <functional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "calc/keypad_page.h"
#include "core/gbk.h"
#include "namescore/namescore_page.h"
#include "toolkit/toolkit.h"
#include "toolkit/toolkit_qt.h"

namespace {

constexpr const char* kWin = "MainWindow";
constexpr const char* kPlaceholder = "\r\n    评 价";

// Everything the page shows, texts in GBK.
struct Page {
  int position = 0;
  std::string name, score, grade, verdict;
  bool nameEnabled = true, buttonEnabled = true;
  bool operator==(const Page&) const = default;
};

Page ReadPage() {
  Page p;
  p.position = tk::GetPosition(kWin, "测试进度条");
  p.name = tk::GetText(kWin, "姓名编辑框");
  p.score = tk::GetText(kWin, "得分标签");
  p.grade = tk::GetText(kWin, "等级标签");
  p.verdict = tk::GetText(kWin, "评价标签");
  p.nameEnabled = tk::IsEnabled(kWin, "姓名编辑框");
  p.buttonEnabled = tk::IsEnabled(kWin, "测试按钮");
  return p;
}

std::string Show(const std::string& gbk) { return "\"" + Utf8FromGbk(gbk) + "\" [" + HexBytes(gbk) + "]"; }

std::string Describe(const Page& p) {
  return "position " + std::to_string(p.position) + ", name " + Show(p.name) + ", score " + Show(p.score) +
         ", grade " + Show(p.grade) + ", verdict " + Show(p.verdict) + ", name box " +
         (p.nameEnabled ? "enabled" : "disabled") + ", button " + (p.buttonEnabled ? "enabled" : "disabled");
}

std::string Diff(const std::string& what, const Page& got, const Page& want) {
  return what + "\n  got  " + Describe(got) + "\n  want " + Describe(want);
}

// The grade beside a count, written from the design's table.
const char* GradeOf(int j) {
  if (j <= 20) return "←底级→";
  if (j <= 40) return "←低级→";
  if (j <= 60) return "←中级→";
  if (j <= 80) return "←高级→";
  if (j <= 98) return "←超级→";
  return "←神级→";
}

const char* VerdictOf(int score) {
  if (score == 0) return "像您这样的人还真是罕见啊！";
  if (score <= 20) return "您是人么？总觉得狗都比你强！";
  if (score <= 40) return "幸好你还知道1+1等于多少！";
  if (score <= 60) return "您的人品还不够好哟，要多做善事啊！";
  if (score <= 80) return "不错，继续发扬，相信您能更好！";
  if (score <= 98) return "努力啊，差一点就可以升仙了！";
  return "你到底是人是鬼？还是神？";
}

// The page at the pump of count j, with `name` in the box.
Page CountingPage(const std::string& name, int j) {
  return Page{j, name, std::to_string(j), Gbk(GradeOf(j)), Gbk(kPlaceholder), false, false};
}

#define CHECK_COUNT(name, score, beeps)                 \
  do {                                                  \
    const std::string fault = CountFault(name, score, beeps); \
    QVERIFY2(fault.empty(), fault.c_str());             \
  } while (false)

#define CHECK_PAGE(what, want)                           \
  do {                                                   \
    const Page got = ReadPage();                         \
    QVERIFY2(got == (want), Diff(what, got, want).c_str()); \
  } while (false)

// The page once a test of `name` has ended with `score`.
Page FinalPage(const std::string& name, int score) {
  return Page{score, name, std::to_string(score), Gbk(score == 0 ? "←残级→" : GradeOf(score)),
              Gbk(VerdictOf(score)), true, true};
}

Page DesignPage(const std::string& name) {
  return Page{0, name, Gbk("分数"), Gbk("←等级→"), Gbk(kPlaceholder), true, true};
}

}  // namespace

class NameScoreWindowTest : public QObject {
  Q_OBJECT

 private:
  QWidget* window_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  QLineEdit* nameBox_ = nullptr;
  QPushButton* button_ = nullptr;
  QProgressBar* bar_ = nullptr;

  // What the page looked like at each pump of the count-up, in order.
  std::vector<Page> pumps_;
  // What it looked like each time the bar moved forward, before the step's
  // labels were written.
  std::vector<Page> beforeSteps_;
  std::vector<tk::MessageBoxRecord> boxes_;
  std::vector<Page> atBeeps_;
  // Run at the pump of count j, after the page has been recorded.
  std::function<void(int j)> atPump_;
  // Set while the test's own click runs: the bar moves only for the count.
  bool watching_ = false;

  QWidget* W(const char* control) { return tk::ControlWidget(kWin, control); }

  void Focus(QWidget* w) {
    w->setFocus(Qt::OtherFocusReason);
    QTRY_VERIFY(w->hasFocus());
  }

  void ClickTab(int index) {
    QTabBar* bar = tabs_->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(index).center());
    QCOMPARE(tabs_->currentIndex(), index);
  }

  // Types ASCII with real key presses into the empty name box.
  void TypeName(const char* ascii) {
    Focus(nameBox_);
    QTest::keyClicks(nameBox_, QString::fromLatin1(ascii));
  }

  // Chinese arrives from an input method as a committed string.
  void CommitName(const char* utf8) {
    Focus(nameBox_);
    QInputMethodEvent e;
    e.setCommitString(QString::fromUtf8(utf8));
    QApplication::sendEvent(nameBox_, &e);
  }

  // Clicks 开始测试; the click returns once the test has ended.
  void StartTest() {
    pumps_.clear();
    beforeSteps_.clear();
    watching_ = true;
    QTest::mouseClick(button_, Qt::LeftButton);
    watching_ = false;
  }

  // Every step of a count-up from 1 to `score` of `name`, each seen at its
  // pump inside the click, and the page at the last of `beeps` beeps (at
  // least one). "" when all is well.
  std::string CountFault(const std::string& name, int score, int beeps) {
    if (static_cast<int>(beforeSteps_.size()) != score || static_cast<int>(pumps_.size()) != score) {
      return "the bar moved " + std::to_string(beforeSteps_.size()) + " times and " +
             std::to_string(pumps_.size()) + " pumps were seen, expected " + std::to_string(score);
    }
    for (int j = 1; j <= score; ++j) {
      Page before = j == 1 ? Page{0, name, "0", Gbk("←残级→"), Gbk(kPlaceholder), false, false}
                           : CountingPage(name, j - 1);
      before.position = j;  // the bar has just moved
      if (!(beforeSteps_[j - 1] == before)) {
        return Diff("as step " + std::to_string(j) + " begins", beforeSteps_[j - 1], before);
      }
      if (!(pumps_[j - 1] == CountingPage(name, j))) {
        return Diff("at pump " + std::to_string(j), pumps_[j - 1], CountingPage(name, j));
      }
    }
    if (static_cast<int>(atBeeps_.size()) != beeps || atBeeps_.empty()) {
      return std::to_string(atBeeps_.size()) + " beeps, expected " + std::to_string(beeps);
    }
    Page atBeep = FinalPage(name, score);
    atBeep.nameEnabled = atBeep.buttonEnabled = false;
    if (!(atBeeps_.back() == atBeep)) return Diff("at the beep", atBeeps_.back(), atBeep);
    return std::string();
  }

 private slots:
  void initTestCase() {
    static int argc = 1;
    static char name[] = "namescore_window_tests";
    static char* argv[] = {name, nullptr};
    tk::Initialise(argc, argv);
    tk::SetMessageBoxHook([this](const tk::MessageBoxRecord& r) { boxes_.push_back(r); });
    tk::SetBeepHook([this] {
      // The verdict stands and both controls are still disabled when it beeps.
      Page gone;
      gone.position = -1;
      atBeeps_.push_back(tk::WindowExists(kWin) ? ReadPage() : gone);
    });
  }

  void init() {
    tk::SetSleepOverride(1);
    KeypadState = CalcState{};
    tk::BuildWindow(MainWindowSpec());
    BindKeypadDesignHandlers();
    BindNameScorePage();
    WireKeypad();
    tk::ShowWindow(kWin);
    window_ = tk::WindowWidget(kWin);
    QVERIFY(window_);
    QVERIFY(QTest::qWaitForWindowActive(window_));
    tabs_ = tk::TabWidget(kWin);
    nameBox_ = qobject_cast<QLineEdit*>(W("姓名编辑框"));
    button_ = qobject_cast<QPushButton*>(W("测试按钮"));
    bar_ = qobject_cast<QProgressBar*>(W("测试进度条"));
    QVERIFY(tabs_ && nameBox_ && button_ && bar_);
    ClickTab(2);
    QVERIFY(nameBox_->isVisible());
    pumps_.clear();
    beforeSteps_.clear();
    boxes_.clear();
    atBeeps_.clear();
    atPump_ = nullptr;
    connect(bar_, &QProgressBar::valueChanged, this, [this](int j) {
      if (!watching_ || j <= 0) return;
      beforeSteps_.push_back(ReadPage());
      QMetaObject::invokeMethod(
          this,
          [this, j] {
            // Delivered by the pump of step j, unless the count never pumps.
            if (!tk::WindowExists(kWin)) return;
            pumps_.push_back(ReadPage());
            if (atPump_) atPump_(j);
          },
          Qt::QueuedConnection);
    });
  }

  void cleanup() {
    atPump_ = nullptr;
    if (tk::WindowExists(kWin)) tk::CloseWindow(kWin);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QTRY_VERIFY(tk::WindowWidget(kWin) == nullptr);
  }

  // Score 0: no step, no pause; the reset look of the test, the verdict and
  // one beep.
  void scoreZeroCountsNothing() {
    TypeName("ae");
    // Left over from an earlier test, so the reset at the start shows.
    tk::SetPosition(kWin, "测试进度条", 55);
    tk::SetText(kWin, "得分标签", "55");
    tk::SetText(kWin, "等级标签", Gbk("←中级→"));
    tk::SetText(kWin, "评价标签", Gbk(VerdictOf(55)));
    // A step would take this long.
    tk::SetSleepOverride(400);
    QElapsedTimer clock;
    clock.start();
    StartTest();
    QVERIFY2(clock.elapsed() < 400, qPrintable(QString::number(clock.elapsed())));
    QCoreApplication::processEvents();
    CHECK_COUNT("ae", 0, 1);
    CHECK_PAGE("after the test", FinalPage("ae", 0));
    QVERIFY(boxes_.empty());
  }

  // 99 steps through every grade in order; a second start of the same name
  // begins again from the reset look.
  void fullCountToNinetyNine() {
    TypeName("cj");
    for (int run = 1; run <= 2; ++run) {
      StartTest();
      CHECK_COUNT("cj", 99, run);
      CHECK_PAGE("after the test", FinalPage("cj", 99));
    }
    std::vector<std::string> grades;
    for (const Page& p : pumps_) {
      if (grades.empty() || grades.back() != Utf8FromGbk(p.grade)) grades.push_back(Utf8FromGbk(p.grade));
    }
    const std::vector<std::string> inOrder = {"←底级→", "←低级→", "←中级→", "←高级→", "←超级→", "←神级→"};
    QVERIFY(grades == inOrder);
    QVERIFY(boxes_.empty());
  }

  // Without the test's short sleep, each step waits 100 ms.
  void eachStepTakesATenthOfASecond() {
    tk::SetSleepOverride(std::nullopt);
    TypeName("eB");  // scores 2
    QElapsedTimer clock;
    clock.start();
    StartTest();
    const qint64 elapsed = clock.elapsed();
    CHECK_COUNT("eB", 2, 1);
    QVERIFY2(elapsed >= 200 && elapsed < 1500, qPrintable(QString::number(elapsed)));
    CHECK_PAGE("after the test", FinalPage("eB", 2));
  }

  void emptyName_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("input");
    QTest::newRow("nothing typed") << "type" << "";
    QTest::newRow("ASCII spaces") << "type" << "   ";
    QTest::newRow("ideographic spaces") << "commit" << QString::fromUtf8("　　");
    QTest::newRow("both kinds") << "commit" << QString::fromUtf8(" 　 ");
  }

  // A name of nothing but spaces: the reminder, and the page as it was.
  void emptyName() {
    QFETCH(QString, how);
    QFETCH(QString, input);
    if (how == "type") TypeName(input.toLatin1().constData());
    if (how == "commit") CommitName(input.toUtf8().constData());
    QCOMPARE(nameBox_->text(), input);
    tk::SetPosition(kWin, "测试进度条", 37);
    tk::SetText(kWin, "得分标签", "37");
    tk::SetText(kWin, "等级标签", Gbk("←低级→"));
    tk::SetText(kWin, "评价标签", Gbk(VerdictOf(37)));
    const Page before = ReadPage();
    StartTest();
    QCoreApplication::processEvents();
    CHECK_PAGE("after the click", before);
    QCOMPARE(static_cast<int>(boxes_.size()), 1);
    QCOMPARE(Utf8FromGbk(boxes_[0].text), std::string("请输入您的姓名！"));
    QCOMPARE(Utf8FromGbk(boxes_[0].title), std::string("温馨提示"));
    QCOMPARE(boxes_[0].kind, 64);
    QVERIFY(atBeeps_.empty());
    QVERIFY(pumps_.empty());
  }

  // While counting, the name box and the button take nothing: a click does
  // not start a second test, typing does not change the name.
  void controlsLockedDuringTheCount() {
    TypeName("Tom");
    atPump_ = [this](int j) {
      if (j != 30) return;
      QTest::mouseClick(button_, Qt::LeftButton);
      QTest::keyClicks(nameBox_, "x");
      QTest::keyClick(nameBox_, Qt::Key_Backspace);
    };
    StartTest();
    CHECK_COUNT("Tom", 98, 1);
    CHECK_PAGE("after the test", FinalPage("Tom", 98));
    // Usable again: typing resets, a click tests.
    Focus(nameBox_);
    QTest::keyClick(nameBox_, Qt::Key_Backspace);
    CHECK_PAGE("after Backspace", DesignPage("To"));
    atPump_ = nullptr;
    StartTest();
    CHECK_COUNT("To", 81, 2);
    CHECK_PAGE("after the second test", FinalPage("To", 81));
  }

  // The count pumps events: the calculator can be used in the middle of it,
  // and the count goes on to its end.
  void otherPageUsableDuringTheCount() {
    TypeName("A");  // scores 72
    QString seenDisplay;
    atPump_ = [this, &seenDisplay](int j) {
      if (j != 20) return;
      ClickTab(0);
      QTest::mouseClick(W("按钮7"), Qt::LeftButton);
      QTest::mouseClick(W("乘按钮"), Qt::LeftButton);
      QTest::keyClick(W("乘按钮"), Qt::Key_6);
      QTest::mouseClick(W("等于按钮"), Qt::LeftButton);
      seenDisplay = QString::fromStdString(Utf8FromGbk(tk::GetText(kWin, "数据显示框")));
    };
    StartTest();
    QCOMPARE(seenDisplay, QString::fromUtf8("7\r\n ×(6)\r\n﹦42"));
    QCOMPARE(tabs_->currentIndex(), 0);
    CHECK_COUNT("A", 72, 1);
    CHECK_PAGE("after the test", FinalPage("A", 72));
  }

  // Closing the window mid-count ends the test there: no more steps, no
  // verdict, no beep, and the click returns.
  void closingTheWindowStopsTheCount() {
    TypeName("cj");
    atPump_ = [this](int j) {
      if (j == 40) window_->close();
    };
    StartTest();
    QVERIFY(!tk::WindowExists(kWin));
    QCOMPARE(static_cast<int>(pumps_.size()), 40);
    QCOMPARE(static_cast<int>(beforeSteps_.size()), 40);
    QVERIFY(atBeeps_.empty());
    QVERIFY(boxes_.empty());
  }

  // Every edit of the name brings back the page's design-time look.
  void editingTheNameResets() {
    TypeName("A");
    CHECK_PAGE("after typing", DesignPage("A"));
    StartTest();
    CHECK_PAGE("after the test", FinalPage("A", 72));
    QTest::keyClicks(nameBox_, "b");
    CHECK_PAGE("after typing", DesignPage("Ab"));
    StartTest();
    CHECK_PAGE("after the second test", FinalPage("Ab", 96));
    QTest::keyClick(nameBox_, Qt::Key_Backspace);
    CHECK_PAGE("after Backspace", DesignPage("A"));
    StartTest();
    QTest::keyClick(nameBox_, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(nameBox_, Qt::Key_Delete);
    CHECK_PAGE("after deleting all", DesignPage(""));
    QCOMPARE(static_cast<int>(atBeeps_.size()), 3);
    QVERIFY(boxes_.empty());
  }

  void typedNames_data() {
    QTest::addColumn<QString>("commit");  // from an input method first
    QTest::addColumn<QString>("typed");   // then with key presses
    QTest::addColumn<QString>("inBox");
    QTest::addColumn<int>("score");
    // The box takes 10 bytes: an 11th typed byte has no effect.
    QTest::newRow("11 letters") << "" << "abcdefghijk" << "abcdefghij" << 41;
    QTest::newRow("spaces count towards the limit") << "" << "a b c d e f" << "a b c d e " << 99;
    QTest::newRow("five Chinese characters") << QString::fromUtf8("王小明李华") << "a"
                                             << QString::fromUtf8("王小明李华") << 80;
    QTest::newRow("inner space") << "" << "Li Lei" << "Li Lei" << 80;
    QTest::newRow("Chinese name") << QString::fromUtf8("王") << "" << QString::fromUtf8("王") << 46;
  }

  void typedNames() {
    QFETCH(QString, commit);
    QFETCH(QString, typed);
    QFETCH(QString, inBox);
    QFETCH(int, score);
    if (!commit.isEmpty()) CommitName(commit.toUtf8().constData());
    TypeName(typed.toLatin1().constData());
    QCOMPARE(nameBox_->text(), inBox);
    const std::string name = Gbk(inBox.toUtf8().toStdString());
    StartTest();
    CHECK_COUNT(name, score, 1);
    CHECK_PAGE("after the test", FinalPage(name, score));
  }
};

QTEST_MAIN(NameScoreWindowTest)
#include "namescore_window_test.moc"
