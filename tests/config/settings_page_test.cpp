// The settings page in the real MainWindow (QtTest, offscreen): start-up
// fills its boxes from config.ini, its two buttons store the typed values
// and rewrite the file byte for byte, and a file that cannot be written
// keeps its bytes and says so.
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/app.h"
#include "config/config_file.h"
#include "config/settings_state.h"
#include "core/gbk.h"
#include "toolkit/toolkit.h"
#include "toolkit/toolkit_qt.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kWindow = "MainWindow";
constexpr const char* kRoundBox = "约到位数编辑框";
constexpr const char* kPiBox = "圆周率编辑框";

// The example config.ini with the given settings values (UTF-8 in, GBK out).
std::string Example(const char* round, const char* pi) {
  return Gbk(std::string(";//配置开始___\r\n; 注释\r\n【高级配置】\r\n约等到的位置为") + round + "\r\nπ取值" + pi +
             "位小数\r\n【单位配置】\r\n    类型=长度\r\n        名称=千米‖倍率=1000\r\n"
             "        名称=米‖倍率=1\r\n        名称=厘米‖倍率=0.01\r\n    类型=时间\r\n"
             "        名称=小时‖倍率=3600\r\n        名称=分钟‖倍率=60\r\n        名称=秒‖倍率=1\r\n"
             ";//配置结束___");
}

QString Describe(const std::string& got, const std::string& want) {
  return QStringLiteral("\n  got:  %1\n        %2\n  want: %3\n        %4")
      .arg(QString::fromStdString(HexBytes(got)), QString::fromStdString(Utf8FromGbk(got)),
           QString::fromStdString(HexBytes(want)), QString::fromStdString(Utf8FromGbk(want)));
}

#define COMPARE_BYTES(got, want)                                              \
  do {                                                                        \
    const std::string got_ = (got), want_ = (want);                           \
    QVERIFY2(got_ == want_, qPrintable(#got + Describe(got_, want_)));        \
  } while (false)

}  // namespace

class SettingsPageTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir* dir_ = nullptr;
  std::vector<tk::MessageBoxRecord> boxes_;
  std::vector<std::pair<int, int>> settingsAtBox_;  // RoundDigits, PiDigits while a box shows

  std::string ConfigFile() const { return (fs::path(dir_->path().toStdString()) / "config.ini").string(); }

  std::string FileBytes() const {
    std::ifstream in(ConfigFile(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // Starts the program's window the way the program does, over `config`.
  bool Start(const std::string& config) {
    if (!config.empty()) std::ofstream(ConfigFile(), std::ios::binary) << config;
    OpenMainWindow();
    QWidget* window = tk::WindowWidget(kWindow);
    if (!window || !QTest::qWaitForWindowExposed(window)) return false;
    tk::TabWidget(kWindow)->setCurrentIndex(3);
    return true;
  }

  void Stop() {
    tk::CloseWindow(kWindow);
    QTRY_VERIFY(tk::WindowWidget(kWindow) == nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  // Types into a box as the user does, after emptying it.
  static void Type(const char* box, const char* text) {
    tk::SetText(kWindow, box, "");
    QWidget* edit = tk::ControlWidget(kWindow, box);
    edit->setFocus();
    QTest::keyClicks(edit, QString::fromUtf8(text));
  }

  static void Click(const char* control) { QTest::mouseClick(tk::ControlWidget(kWindow, control), Qt::LeftButton); }

 private slots:
  void initTestCase() {
    static int argc = 1;
    static char name[] = "config_page_tests";
    static char* argv[] = {name, nullptr};
    tk::Initialise(argc, argv);
  }

  void init() {
    dir_ = new QTemporaryDir();
    QVERIFY(dir_->isValid());
    SetProgramDirectoryOverride(dir_->path().toStdString());
    boxes_.clear();
    settingsAtBox_.clear();
    tk::SetMessageBoxHook([this](const tk::MessageBoxRecord& box) {
      boxes_.push_back(box);
      settingsAtBox_.emplace_back(RoundDigits, PiDigits);
    });
  }

  void cleanup() {
    if (tk::WindowWidget(kWindow)) Stop();
    tk::SetMessageBoxHook(nullptr);
    SetProgramDirectoryOverride(std::nullopt);
    std::error_code ignored;
    fs::permissions(ConfigFile(), fs::perms::owner_all, fs::perm_options::add, ignored);
    delete dir_;
    dir_ = nullptr;
  }

  void startUpShowsTheSettings_data() {
    QTest::addColumn<QString>("round");
    QTest::addColumn<QString>("pi");
    QTest::addColumn<QString>("roundBox");
    QTest::addColumn<QString>("piBox");
    QTest::newRow("the example") << "2" << "11" << "2" << "11";
    QTest::newRow("the ends of the ranges") << "-10" << "0" << "-10" << "0";
    QTest::newRow("full-width digits and a space") << " ７" << "１０" << "7" << "10";
    QTest::newRow("out of range") << "11" << "12" << "2" << "11";
    QTest::newRow("empty") << "" << "" << "2" << "11";
  }
  void startUpShowsTheSettings() {
    QFETCH(QString, round);
    QFETCH(QString, pi);
    QFETCH(QString, roundBox);
    QFETCH(QString, piBox);
    QVERIFY(Start(Example(round.toUtf8().constData(), pi.toUtf8().constData())));
    QCOMPARE(QString::fromStdString(tk::GetText(kWindow, kRoundBox)), roundBox);
    QCOMPARE(QString::fromStdString(tk::GetText(kWindow, kPiBox)), piBox);
    QCOMPARE(RoundDigits, roundBox.toInt());
    QCOMPARE(PiDigits, piBox.toInt());
    QVERIFY(boxes_.empty());
  }

  void applyStoresWhatWasTypedAndRewritesTheFile_data() {
    QTest::addColumn<QString>("roundTyped");
    QTest::addColumn<QString>("piTyped");
    QTest::addColumn<int>("round");
    QTest::addColumn<int>("pi");
    QTest::newRow("3 and 8") << "3" << "8" << 3 << 8;
    QTest::newRow("007 is 7") << "007" << "11" << 7 << 11;
    QTest::newRow("1-2 is 1") << "1-2" << "5" << 1 << 5;
    QTest::newRow("99 is stored and written") << "99" << "11" << 99 << 11;
    QTest::newRow("negative") << "-10" << "-3" << -10 << -3;
    QTest::newRow("empty and a lone minus are 0") << "" << "-" << 0 << 0;
  }
  void applyStoresWhatWasTypedAndRewritesTheFile() {
    QFETCH(QString, roundTyped);
    QFETCH(QString, piTyped);
    QFETCH(int, round);
    QFETCH(int, pi);
    QVERIFY(Start(Example("2", "11")));
    Type(kRoundBox, roundTyped.toUtf8().constData());
    Type(kPiBox, piTyped.toUtf8().constData());
    Click("确认按钮");

    QCOMPARE(RoundDigits, round);
    QCOMPARE(PiDigits, pi);
    QCOMPARE(QString::fromStdString(tk::GetText(kWindow, kRoundBox)), roundTyped);
    QCOMPARE(QString::fromStdString(tk::GetText(kWindow, kPiBox)), piTyped);
    const std::string want = Example(std::to_string(round).c_str(), std::to_string(pi).c_str());
    COMPARE_BYTES(FileBytes(), want);
    COMPARE_BYTES(ConfigText, want);
    Click("确认按钮");
    COMPARE_BYTES(FileBytes(), want);
    QVERIFY(boxes_.empty());
  }

  void restoreDefaults() {
    QVERIFY(Start(Example("5", "3")));
    QCOMPARE(tk::GetText(kWindow, kRoundBox), std::string("5"));
    QCOMPARE(tk::GetText(kWindow, kPiBox), std::string("3"));
    Click("默认按钮");
    QCOMPARE(tk::GetText(kWindow, kRoundBox), std::string("2"));
    QCOMPARE(tk::GetText(kWindow, kPiBox), std::string("11"));
    QCOMPARE(RoundDigits, 2);
    QCOMPARE(PiDigits, 11);
    COMPARE_BYTES(FileBytes(), Example("2", "11"));
  }

  // 99 serves for the rest of the run; the next start replaces it by 2
  // while the file keeps 99 until the next save.
  void outOfRangeValueLastsUntilTheNextStart() {
    QVERIFY(Start(Example("2", "11")));
    Type(kRoundBox, "99");
    Click("确认按钮");
    QCOMPARE(RoundDigits, 99);
    Stop();
    QVERIFY(Start(""));
    QCOMPARE(RoundDigits, 2);
    QCOMPARE(tk::GetText(kWindow, kRoundBox), std::string("2"));
    COMPARE_BYTES(FileBytes(), Example("99", "11"));
  }

  // The new values reach the calculator at once.
  void calculatorUsesTheNewValues() {
    QVERIFY(Start(Example("2", "11")));
    Type(kRoundBox, "3");
    Type(kPiBox, "4");
    Click("确认按钮");
    tk::TabWidget(kWindow)->setCurrentIndex(0);
    for (const char* key : {"按钮2", "除按钮", "按钮3", "约等于按钮"}) Click(key);
    COMPARE_BYTES(tk::GetText(kWindow, "数据显示框"), Gbk("2\r\n ÷(3)\r\n≈0.667"));
    Click("清除按钮");
    Click("圆周率按钮");
    COMPARE_BYTES(tk::GetText(kWindow, "数据显示框"), std::string("3.1415"));
  }

  void unwritableFileKeepsItsBytesAndSaysSo_data() {
    QTest::addColumn<bool>("directory");
    QTest::newRow("a read-only config.ini") << false;
    QTest::newRow("a directory in its place") << true;
  }
  void unwritableFileKeepsItsBytesAndSaysSo() {
    QFETCH(bool, directory);
    const std::string old = Example("2", "11");
    QVERIFY(Start(old));
    if (directory) {
      fs::remove(ConfigFile());
      fs::create_directory(ConfigFile());
    } else {
      fs::permissions(ConfigFile(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    }
    Type(kRoundBox, "4");
    Type(kPiBox, "9");
    Click("确认按钮");

    QCOMPARE(boxes_.size(), size_t(1));
    COMPARE_BYTES(boxes_[0].text, Gbk("配置文件保存失败！"));
    COMPARE_BYTES(boxes_[0].title, Gbk("错误提示"));
    QCOMPARE(boxes_[0].kind, 16);
    // The values were in effect before the box came up, and stay.
    QCOMPARE(settingsAtBox_[0], std::make_pair(4, 9));
    QCOMPARE(RoundDigits, 4);
    QCOMPARE(PiDigits, 9);
    COMPARE_BYTES(ConfigText, Example("4", "9"));
    QCOMPARE(tk::GetText(kWindow, kRoundBox), std::string("4"));
    if (directory) {
      QVERIFY(fs::is_directory(ConfigFile()));
    } else {
      COMPARE_BYTES(FileBytes(), old);
    }
  }
};

QTEST_MAIN(SettingsPageTest)
#include "settings_page_test.moc"
