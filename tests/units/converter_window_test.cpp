// The converter page on the real MainWindow: units are chosen from the
// drop-down lists with the mouse or the keyboard, values typed key by key
// and pasted, and the three output boxes read back as the user sees them.
#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "config/config_file.h"
#include "config/settings_page.h"
#include "config/settings_state.h"
#include "core/gbk.h"
#include "toolkit/toolkit.h"
#include "toolkit/toolkit_qt.h"
#include "units/converter_page.h"
#include "../common/example_config.h"

namespace {

constexpr const char* kWindow = "MainWindow";


QComboBox* Combo(const char* name) { return qobject_cast<QComboBox*>(tk::ControlWidget(kWindow, name)); }
QLineEdit* LineEdit(const char* name) { return qobject_cast<QLineEdit*>(tk::ControlWidget(kWindow, name)); }
QLineEdit* ValueBox() { return LineEdit("输入数据编辑框"); }

// The texts of the value box and the three output boxes, UTF-8.
struct Boxes {
  std::string input, output, rate, full;
  bool operator==(const Boxes&) const = default;
};

Boxes Shown() {
  return {Utf8FromGbk(tk::GetText(kWindow, "输入数据编辑框")), Utf8FromGbk(tk::GetText(kWindow, "输出数据编辑框")),
          Utf8FromGbk(tk::GetText(kWindow, "进率编辑框")), Utf8FromGbk(tk::GetText(kWindow, "完整输出编辑框"))};
}

QByteArray Describe(const Boxes& b) {
  return QByteArray::fromStdString("input \"" + b.input + "\" output \"" + b.output + "\" rate \"" + b.rate +
                                   "\" full \"" + b.full + "\" (bytes " + HexBytes(Gbk(b.full.c_str())) + ")");
}

#define QCOMPARE_BOXES(got, want)                                                           \
  do {                                                                                      \
    const Boxes got_ = (got), want_ = (want);                                               \
    QVERIFY2(got_ == want_, ("\n  shown: " + Describe(got_) + "\n  want:  " + Describe(want_)).constData()); \
  } while (false)

std::vector<std::string> Items(const char* combo) {
  std::vector<std::string> items;
  QComboBox* box = Combo(combo);
  for (int i = 0; i < box->count(); ++i) items.push_back(box->itemText(i).toStdString());
  return items;
}

// Opens the list and clicks the item, as the user picks a unit with the mouse.
bool ClickItem(const char* combo, int index) {
  QComboBox* box = Combo(combo);
  if (!box || index >= box->count()) return false;
  box->showPopup();
  QAbstractItemView* view = box->view();
  if (!QTest::qWaitFor([&] { return view->isVisible(); })) return false;
  const QPoint at = view->visualRect(view->model()->index(index, 0)).center();
  QTest::mouseMove(view->viewport(), at);
  QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
  return QTest::qWaitFor([&] { return !view->isVisible(); }) && box->currentIndex() == index;
}

// Moves through the closed list with the arrow keys, as the user does with
// the focus on it: every step is a choice of its own.
bool StepToItem(const char* combo, int index) {
  QComboBox* box = Combo(combo);
  if (!box || index >= box->count()) return false;
  box->setFocus();
  if (!QTest::qWaitFor([&] { return box->hasFocus(); })) return false;
  while (box->currentIndex() < index) QTest::keyClick(box, Qt::Key_Down);
  while (box->currentIndex() > index) QTest::keyClick(box, Qt::Key_Up);
  return box->currentIndex() == index;
}

// The offscreen platform cannot raise a drop-down list or let it grab the
// keyboard and says so at every opening; the lists work all the same.
QtMessageHandler passOn = nullptr;

void QuietAboutDropDowns(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtWarningMsg && (message == QLatin1String("This plugin does not support raise()") ||
                               message == QLatin1String("This plugin does not support grabbing the keyboard")))
    return;
  if (passOn) passOn(type, context, message);
}

bool FocusValueBox() {
  QLineEdit* box = ValueBox();
  box->setFocus();
  return QTest::qWaitFor([&] { return box->hasFocus(); });
}

void ClearValueBox() {
  QTest::keyClick(ValueBox(), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(ValueBox(), Qt::Key_Backspace);
}

}  // namespace

class ConverterWindowTest : public QObject {
  Q_OBJECT

 private:
  QWidget* window_ = nullptr;
  QTemporaryDir programDir_;

  // MainWindow as the start-up builds it, with the converter's handlers and
  // the catalogue of `config`, on the converter page.
  void OpenWith(const std::string& config) {
    tk::BuildWindow(MainWindowSpec());
    BindConverterPage();
    ConfigText = config;
    BuildUnitCatalogue();
    tk::ShowWindow(kWindow);
    window_ = tk::WindowWidget(kWindow);
    QVERIFY(window_);
    QVERIFY(QTest::qWaitForWindowActive(window_));
    tk::TabWidget(kWindow)->setCurrentIndex(1);
  }

 private slots:
  void initTestCase() {
    static int argc = 1;
    static char name[] = "units_window_tests";
    static char* argv[] = {name, nullptr};
    tk::Initialise(argc, argv);
    passOn = qInstallMessageHandler(QuietAboutDropDowns);
    QVERIFY(programDir_.isValid());
  }

  void init() { OpenWith(ExampleConfig()); }

  void cleanup() {
    tk::CloseWindow(kWindow);
    QTRY_VERIFY(tk::WindowWidget(kWindow) == nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    SetProgramDirectoryOverride(std::nullopt);
  }

  void typesListedAndNothingChosenAtStart() {
    QCOMPARE(Items("单位类型组合框"), (std::vector<std::string>{"长度", "时间"}));
    QCOMPARE(Combo("单位类型组合框")->currentIndex(), -1);
    QCOMPARE(Combo("输入单位组合框")->count(), 0);
    QCOMPARE(Combo("输出单位组合框")->count(), 0);
    QCOMPARE_BOXES(Shown(), (Boxes{"", "", "", ""}));
  }

  void choosingATypeFillsBothListsAndShowsRateOne() {
    QVERIFY(ClickItem("单位类型组合框", 0));
    const std::vector<std::string> lengths{"千米", "米", "厘米"};
    QCOMPARE(Items("输入单位组合框"), lengths);
    QCOMPARE(Items("输出单位组合框"), lengths);
    QCOMPARE(Combo("输入单位组合框")->currentText(), QString::fromUtf8("千米"));
    QCOMPARE(Combo("输出单位组合框")->currentText(), QString::fromUtf8("千米"));
    QCOMPARE_BOXES(Shown(), (Boxes{"", "", "1", ""}));

    // With a conversion on show, another type replaces the lists and empties
    // every box but the rate.
    QVERIFY(ClickItem("输出单位组合框", 1));
    QVERIFY(FocusValueBox());
    QTest::keyClicks(ValueBox(), "2.5");
    QCOMPARE_BOXES(Shown(), (Boxes{"2.5", "2500", "1000", "2千米500米"}));
    QVERIFY(ClickItem("单位类型组合框", 1));
    const std::vector<std::string> times{"小时", "分钟", "秒"};
    QCOMPARE(Items("输入单位组合框"), times);
    QCOMPARE(Items("输出单位组合框"), times);
    QCOMPARE(Combo("输入单位组合框")->currentIndex(), 0);
    QCOMPARE(Combo("输出单位组合框")->currentIndex(), 0);
    QCOMPARE_BOXES(Shown(), (Boxes{"", "", "1", ""}));

    // Choosing the type on show again starts over as well, and so does each
    // step through the type list with the arrow keys.
    QVERIFY(ClickItem("输出单位组合框", 2));
    QVERIFY(FocusValueBox());
    QTest::keyClicks(ValueBox(), "2");
    QCOMPARE_BOXES(Shown(), (Boxes{"2", "7200", "3600", "2小时0秒"}));
    QVERIFY(ClickItem("单位类型组合框", 1));
    QCOMPARE(Items("输入单位组合框"), times);
    QCOMPARE(Combo("输出单位组合框")->currentIndex(), 0);
    QCOMPARE_BOXES(Shown(), (Boxes{"", "", "1", ""}));
    QVERIFY(StepToItem("单位类型组合框", 0));
    QCOMPARE(Items("输出单位组合框"), lengths);
    QCOMPARE_BOXES(Shown(), (Boxes{"", "", "1", ""}));
  }

  void choosingUnitsAndTypingRecomputeAtOnce() {
    QVERIFY(ClickItem("单位类型组合框", 0));
    QVERIFY(ClickItem("输出单位组合框", 1));  // 千米 -> 米
    QCOMPARE_BOXES(Shown(), (Boxes{"", "", "1000", ""}));
    QVERIFY(FocusValueBox());
    const struct {
      Qt::Key key;
      Boxes after;
    } keys[] = {
        {Qt::Key_2, {"2", "2000", "1000", "2千米0米"}},
        {Qt::Key_Period, {"2.", "2000", "1000", "2千米0米"}},
        {Qt::Key_5, {"2.5", "2500", "1000", "2千米500米"}},
        {Qt::Key_Backspace, {"2.", "2000", "1000", "2千米0米"}},
        {Qt::Key_7, {"2.7", "2700", "1000", "2千米700米"}},
    };
    for (const auto& k : keys) {
      QTest::keyClick(ValueBox(), k.key);
      QCOMPARE_BOXES(Shown(), k.after);
    }
    QVERIFY(ClickItem("输入单位组合框", 1));  // 米 -> 米
    QCOMPARE_BOXES(Shown(), (Boxes{"2.7", "2.7", "1", "2.7米"}));
    QVERIFY(StepToItem("输出单位组合框", 2));  // 米 -> 厘米, passing 米 -> 米
    QCOMPARE_BOXES(Shown(), (Boxes{"2.7", "270", "100", "2米70厘米"}));
    QVERIFY(StepToItem("输入单位组合框", 0));  // 千米 -> 厘米
    QCOMPARE_BOXES(Shown(), (Boxes{"2.7", "270000", "100000", "2千米70000厘米"}));
    // Clearing the value empties the output and the full output, not the rate.
    QVERIFY(FocusValueBox());
    ClearValueBox();
    QCOMPARE_BOXES(Shown(), (Boxes{"", "", "100000", ""}));
  }

  void typedCharactersAreFiltered() {
    QVERIFY(ClickItem("单位类型组合框", 0));
    QVERIFY(ClickItem("输出单位组合框", 1));  // 千米 -> 米
    QVERIFY(FocusValueBox());
    QLineEdit* box = ValueBox();

    // A second "." is refused wherever the caret stands.
    QTest::keyClicks(box, "1..5");
    QCOMPARE(box->text(), QStringLiteral("1.5"));
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, Qt::Key_Period);
    QCOMPARE(box->text(), QStringLiteral("1.5"));
    // A "-" into a box that holds text is refused, also with the caret at the start.
    QTest::keyClick(box, Qt::Key_Minus);
    QCOMPARE(box->text(), QStringLiteral("1.5"));
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClick(box, Qt::Key_Minus);
    QCOMPARE(box->text(), QStringLiteral("1.5"));
    // Letters and other signs are dropped.
    QTest::keyClicks(box, "a+e,");
    QTest::keyClick(box, Qt::Key_E, Qt::ShiftModifier);
    QCOMPARE(box->text(), QStringLiteral("1.5"));
    QCOMPARE_BOXES(Shown(), (Boxes{"1.5", "1500", "1000", "1千米500米"}));

    // A "-" into the empty box is taken; alone it counts as 0.
    ClearValueBox();
    QTest::keyClick(box, Qt::Key_Minus);
    QCOMPARE_BOXES(Shown(), (Boxes{"-", "0", "1000", "0千米0米"}));
    QTest::keyClick(box, Qt::Key_Minus);
    QTest::keyClicks(box, "2x.5");
    QCOMPARE_BOXES(Shown(), (Boxes{"-2.5", "-2500", "1000", "-2千米-500米"}));
    // Once the text is replaced by a selection, the test still looks at the
    // whole text before the key: "-" over a selected "-2.5" is refused.
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Minus);
    QCOMPARE(box->text(), QStringLiteral("-2.5"));
    // A lone "." counts as 0 too.
    ClearValueBox();
    QTest::keyClick(box, Qt::Key_Period);
    QCOMPARE_BOXES(Shown(), (Boxes{".", "0", "1000", "0千米0米"}));
  }

  void pastedTextSkipsTheCharacterFilter() {
    QVERIFY(ClickItem("单位类型组合框", 0));
    QVERIFY(ClickItem("输出单位组合框", 1));  // 千米 -> 米
    QVERIFY(FocusValueBox());
    QLineEdit* box = ValueBox();
    QTest::keyClicks(box, "2.5");

    // Ctrl+V puts a "-" before the text, which typing would refuse.
    QGuiApplication::clipboard()->setText(QStringLiteral("-"));
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE_BOXES(Shown(), (Boxes{"-2.5", "-2500", "1000", "-2千米-500米"}));

    // A second "." arrives by paste and the value is read up to it.
    QGuiApplication::clipboard()->setText(QStringLiteral("1.5.5"));
    box->selectAll();
    box->paste();
    QCOMPARE_BOXES(Shown(), (Boxes{"1.5.5", "1500", "1000", "1千米500米"}));

    // The box's decimal mode still drops what is not a digit, "-" or ".".
    QGuiApplication::clipboard()->setText(QStringLiteral("3千米x2"));
    box->selectAll();
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE_BOXES(Shown(), (Boxes{"32", "32000", "1000", "32千米0米"}));
  }

  void outputBoxesCannotBeEdited() {
    QVERIFY(ClickItem("单位类型组合框", 1));
    QVERIFY(ClickItem("输入单位组合框", 2));  // 秒 -> 分钟
    QVERIFY(ClickItem("输出单位组合框", 1));
    QVERIFY(FocusValueBox());
    QTest::keyClicks(ValueBox(), "100");
    const Boxes before = Shown();
    QCOMPARE_BOXES(before, (Boxes{"100", "1.666666666667", "60", "1分钟40秒"}));

    QGuiApplication::clipboard()->setText(QStringLiteral("9"));
    for (const char* name : {"输出数据编辑框", "进率编辑框"}) {
      QLineEdit* box = LineEdit(name);
      QVERIFY2(box && box->isReadOnly(), name);
      box->setFocus();
      QTRY_VERIFY(box->hasFocus());
      QTest::keyClick(box, Qt::Key_End);
      QTest::keyClicks(box, "12");
      QTest::keyClick(box, Qt::Key_Backspace);
      QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
      QTest::keyClick(box, Qt::Key_Delete);
      QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
      QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
    }
    auto* full = qobject_cast<QPlainTextEdit*>(tk::ControlWidget(kWindow, "完整输出编辑框"));
    QVERIFY(full && full->isReadOnly());
    full->setFocus();
    QTRY_VERIFY(full->hasFocus());
    QTest::keyClicks(full, "12");
    QTest::keyClick(full, Qt::Key_Return);
    QTest::keyClick(full, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(full, Qt::Key_Delete);
    QTest::keyClick(full, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE_BOXES(Shown(), before);
  }

  // The conversions of the example file, each set up from a fresh type choice.
  void exampleFileConversions() {
    const struct {
      int type, in, out;
      const char* input;
      Boxes want;
    } rows[] = {
        {0, 0, 1, "2.5", {"2.5", "2500", "1000", "2千米500米"}},
        {0, 1, 0, "2500", {"2500", "2.5", "1000", "2千米500米"}},
        {0, 1, 2, "1.5", {"1.5", "150", "100", "1米50厘米"}},
        {0, 0, 1, "-2.5", {"-2.5", "-2500", "1000", "-2千米-500米"}},
        {0, 1, 1, "7", {"7", "7", "1", "7米"}},
        {0, 0, 1, "2.99999999999999", {"2.99999999999999", "3000", "1000", "3千米0米"}},
        {1, 0, 1, "1.5", {"1.5", "90", "60", "1小时30分钟"}},
        {1, 2, 1, "100", {"100", "1.666666666667", "60", "1分钟40秒"}},
        {1, 0, 1, "", {"", "", "60", ""}},
    };
    for (const auto& row : rows) {
      QVERIFY(ClickItem("单位类型组合框", row.type));
      QVERIFY(ClickItem("输入单位组合框", row.in));
      QVERIFY(ClickItem("输出单位组合框", row.out));
      QVERIFY(FocusValueBox());
      QTest::keyClicks(ValueBox(), row.input);
      QCOMPARE_BOXES(Shown(), row.want);
    }
  }

  // The config.ini the program ships stands beside this test program as it
  // stands beside the calculator: everyday conversions through the page.
  void shippedCatalogueConversions() {
    tk::CloseWindow(kWindow);
    QTRY_VERIFY(tk::WindowWidget(kWindow) == nullptr);
    QFile file(QCoreApplication::applicationDirPath() + QStringLiteral("/config.ini"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    OpenWith(std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));

    auto indexOf = [](const char* combo, const char* item) {
      const std::vector<std::string> items = Items(combo);
      for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i] == item) return static_cast<int>(i);
      }
      return -1;
    };
    const struct {
      const char *type, *in, *out, *input;
      Boxes want;
    } rows[] = {
        {"质量", "斤", "千克", "3", {"3", "1.5", "2", "1千克1斤"}},
        {"长度", "英里", "米", "2", {"2", "3218.688", "1609.344", "2英里0米"}},
        {"时间", "天", "小时", "1.5", {"1.5", "36", "24", "1天12小时"}},
        {"数据存储", "字节(B)", "千字节(KB)", "2500", {"2500", "2.44140625", "1024", "2千字节(KB)452字节(B)"}},
    };
    for (const auto& row : rows) {
      const int type = indexOf("单位类型组合框", row.type);
      QVERIFY2(type >= 0, row.type);
      QVERIFY(ClickItem("单位类型组合框", type));
      const int in = indexOf("输入单位组合框", row.in), out = indexOf("输出单位组合框", row.out);
      QVERIFY2(in >= 0 && out >= 0, row.type);
      QVERIFY(ClickItem("输入单位组合框", in));
      QVERIFY(ClickItem("输出单位组合框", out));
      QVERIFY(FocusValueBox());
      QTest::keyClicks(ValueBox(), row.input);
      QCOMPARE_BOXES(Shown(), row.want);
    }
  }

  // The start-up steps in their order on a config.ini written to the
  // program's directory, then conversions through the page.
  void startUpReadsConfigIniBesideTheProgram() {
    tk::CloseWindow(kWindow);
    QTRY_VERIFY(tk::WindowWidget(kWindow) == nullptr);
    QFile file(programDir_.filePath(QStringLiteral("config.ini")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    const std::string bytes = ExampleConfig();
    QCOMPARE(file.write(bytes.data(), static_cast<qint64>(bytes.size())), static_cast<qint64>(bytes.size()));
    file.close();
    SetProgramDirectoryOverride(programDir_.path().toStdString());

    ConfigText.clear();
    tk::BuildWindow(MainWindowSpec());
    BindConverterPage();
    LoadSettings();
    if (ConfigText.empty()) QSKIP("LoadSettings does not read config.ini yet");
    BuildUnitCatalogue();
    tk::ShowWindow(kWindow);
    window_ = tk::WindowWidget(kWindow);
    QVERIFY(QTest::qWaitForWindowActive(window_));
    tk::TabWidget(kWindow)->setCurrentIndex(1);

    QCOMPARE(Items("单位类型组合框"), (std::vector<std::string>{"长度", "时间"}));
    QVERIFY(ClickItem("单位类型组合框", 1));
    QVERIFY(ClickItem("输出单位组合框", 2));  // 小时 -> 秒
    QVERIFY(FocusValueBox());
    QTest::keyClicks(ValueBox(), "0.25");
    QCOMPARE_BOXES(Shown(), (Boxes{"0.25", "900", "3600", "0小时900秒"}));
    QVERIFY(ClickItem("单位类型组合框", 0));
    QVERIFY(ClickItem("输入单位组合框", 2));  // 厘米 -> 千米
    QVERIFY(FocusValueBox());
    QTest::keyClicks(ValueBox(), "123456");
    QCOMPARE_BOXES(Shown(), (Boxes{"123456", "1.23456", "100000", "1千米23456厘米"}));
  }
};

QTEST_MAIN(ConverterWindowTest)
#include "converter_window_test.moc"
