// The About, Help and Feedback windows as the user meets them: opened from
// the settings page of the real main window, driven with real Qt events,
// and the Feedback window sending to a real SMTP server on loopback.
// Mouse events go through the window system, as a user's would, so a window
// blocked by a modal one does not get them.
#define QTEST_QPA_MOUSE_HANDLING
#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTimer>
#include <QTreeView>
#include <QRegularExpression>
#include <QUrl>
#include <QUrlQuery>
#include <QWindow>
#include <QtTest>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/app.h"
#include "config/settings_page.h"
#include "core/gbk.h"
#include "loopback_mail_server.h"
#include "toolkit/toolkit.h"
#include "toolkit/toolkit_qt.h"
#include "windows/feedback_mail.h"
#include "windows/smtp_client.h"
#include "windows/windows.h"

using namespace mailtest;

#ifndef QH_SCREENSHOT_DIR
#error "QH_SCREENSHOT_DIR must name the folder for the screenshots"
#endif

namespace {

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

std::string Show(const std::string& gbk) { return Utf8FromGbk(gbk) + "  [" + HexBytes(gbk) + "]"; }

// Byte-exact comparison of GBK texts, printing both readably and in hex.
bool SameBytes(const std::string& actual, const std::string& expected, const std::string& what) {
  if (actual == expected) return true;
  qWarning("%s differs\n  actual:   %s\n  expected: %s", what.c_str(), Show(actual).c_str(),
           Show(expected).c_str());
  return false;
}

QWidget* Control(const char* window, const char* control) {
  return tk::ControlWidget(window, control);
}

void Click(const char* window, const char* control) {
  QWidget* w = Control(window, control);
  QVERIFY2(w, control);
  QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
}

// A key as the window system delivers it: to the window, which hands it to
// its focus widget (and not at all while a modal window blocks it).
void PressKey(const char* window, Qt::Key key) {
  QWidget* w = tk::WindowWidget(window);
  QVERIFY2(w && w->windowHandle(), window);
  QTest::keyClick(w->windowHandle(), key);
}

// Runs `inside` once the window `name` is open, while the opener (a click on
// the settings page) waits in its modal loop. Whatever `inside` does or
// fails, the window is closed afterwards so the opener returns. Answers
// whether the window was open and had to be closed here.
bool WhileOpen(const char* name, const std::function<void()>& open, const std::function<void()>& inside,
               bool* closedByTest = nullptr) {
  bool ran = false;
  bool closedHere = false;
  QTimer::singleShot(0, [&] {
    ran = true;
    if (!tk::WindowExists(name)) return;
    inside();
    QCoreApplication::processEvents();
    if (tk::WindowExists(name)) {
      closedHere = true;
      tk::CloseWindow(name);
    }
  });
  open();
  if (closedByTest) *closedByTest = closedHere;
  return ran && !tk::WindowExists(name);
}

void OpenFromSettingsPage(const char* button) {
  tk::TabWidget("MainWindow")->setCurrentIndex(3);
  Click("MainWindow", button);
}

struct Box {
  std::string text, title;
  int kind;
};
std::vector<Box> gBoxes;

// Catches links handed to the desktop.
class UrlCatcher : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> urls;
 public slots:
  void handle(const QUrl& url) { urls << url; }
};

void SaveScreenshot(const char* window) {
  QDir().mkpath(QStringLiteral(QH_SCREENSHOT_DIR));
  const QString path = QStringLiteral(QH_SCREENSHOT_DIR "/%1.png").arg(Q(window));
  QVERIFY2(tk::WindowWidget(window)->grab().save(path), qPrintable(path));
}

bool gTestsRunning = false;

void FailIfTheProgramEnds() {
  if (!gTestsRunning) return;
  std::fputs("the program ended during the window tests\n", stderr);
  std::_Exit(1);
}

}  // namespace

class WindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();
  void cleanupTestCase();

  void aboutWindowShowsTheProductAndOpensAMailToTheTeam();
  void helpWindowShowsTheHotkeysAndTheIntroduction();
  void windowsAreFixedCentredModalDialogs();
  void mainWindowTakesNoClicksOrKeysWhileOneIsOpen();
  void closeButtonCloseBoxAndEscCloseEachWindow();
  void eachOpeningStartsFresh();
  void contactLinkGoesToTheBrowserAndTheWindowStays();

  void emptySuggestionAsksForTextAndConnectsNowhere();
  void suggestionArrivesIntactAndClosesTheWindow();
  void failedConnectOrLoginKeepsTheText();
  void refusedMailShowsTheClientsAnswer();
  void secondSuggestionGoesOverAFreshConnection();
  void silentServerEndsWithinTheTimeOut();

 private:
  // Opens FeedbackWindow, writes `text` into the box, presses 提交 and
  // answers what the window showed; `stillOpen` tells whether the window was
  // still open after the click and `kept` the box's text then.
  void SubmitThroughWindow(const std::string& text, bool* stillOpen, std::string* kept);

  UrlCatcher catcher_;
};

void WindowsTest::initTestCase() {
  tk::SetExitRoutine(&FailIfTheProgramEnds);
  tk::SetMessageBoxHook([](const tk::MessageBoxRecord& r) { gBoxes.push_back({r.text, r.title, r.kind}); });
  OpenMainWindow();
  QVERIFY(tk::WindowExists("MainWindow"));
  QVERIFY(gBoxes.empty());
  QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &catcher_, "handle");
  QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher_, "handle");
  QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher_, "handle");
}

void WindowsTest::cleanupTestCase() {
  for (const char* scheme : {"mailto", "https", "http"}) QDesktopServices::unsetUrlHandler(Q(scheme));
  tk::SetMessageBoxHook(nullptr);
}

void WindowsTest::init() {
  gBoxes.clear();
  catcher_.urls.clear();
}

void WindowsTest::cleanup() {
  SetFeedbackMailServerForTests(std::nullopt);
  SmtpDisconnect();
  QVERIFY(!tk::WindowExists("AboutWindow"));
  QVERIFY(!tk::WindowExists("HelpWindow"));
  QVERIFY(!tk::WindowExists("FeedbackWindow"));
}

// ----- About and Help ---------------------------------------------------------

void WindowsTest::aboutWindowShowsTheProductAndOpensAMailToTheTeam() {
  const std::vector<std::pair<const char*, std::string>> rows = {
      {"标签1", "产品名称："},         {"产品名称标签", "青禾计算器"},
      {"标签2", "产品版本："},         {"产品版本标签", "1.0"},
      {"标签4", "制作时间："},         {"制作时间标签", "2012年2月18日"},
      {"标签3", "作    者："},         {"作者标签", "青禾计算器开发组  青禾软件学社"},
      {"标签9", "邮    箱："},         {"邮箱链接框", kAuthorMailbox},
      {"关闭按钮", "关闭"},
  };
  bool textsOk = true, iconOk = false, linkFits = false, linkLooksLikeALink = false;
  const bool closed = WhileOpen("AboutWindow", [] { OpenFromSettingsPage("关于按钮"); }, [&] {
    for (const auto& [control, text] : rows)
      textsOk &= SameBytes(tk::GetText("AboutWindow", control), Gbk(text), control);
    auto* picture = qobject_cast<QLabel*>(Control("AboutWindow", "图标图片框"));
    iconOk = picture && picture->size() == QSize(48, 48) && !picture->pixmap().isNull() &&
             picture->pixmap().size() == QSize(48, 48);
    QWidget* link = Control("AboutWindow", "邮箱链接框");
    linkFits = link->fontMetrics().horizontalAdvance(link->property("text").toString()) <= link->width();
    linkLooksLikeALink = link->font().underline() && link->cursor().shape() == Qt::PointingHandCursor;
    SaveScreenshot("AboutWindow");
    Click("AboutWindow", "邮箱链接框");
    Click("AboutWindow", "关闭按钮");
  });
  QVERIFY(closed);
  QVERIFY(textsOk);
  QVERIFY2(iconOk, "the program's icon at 48 x 48");
  QVERIFY2(linkFits, "the whole mailbox shows in its 96 pixels");
  QCOMPARE(catcher_.urls, QList<QUrl>{QUrl(QStringLiteral("mailto:dev@qh.example"))});
  QCOMPARE(tk::GetText("MainWindow", "关于按钮"), Gbk("关于"));
  QVERIFY2(linkLooksLikeALink, "the mailbox is underlined and shows the hand cursor");
}

void WindowsTest::helpWindowShowsTheHotkeysAndTheIntroduction() {
  const std::vector<std::pair<const char*, const char*>> hotkeys = {
      {"清除数据（AC）", "退出键（Ecs）"},     {"删格（←）", "退格键（BackSpace）"},
      {"等于（﹦）", "回车键（Enter）"},       {"约等于（≈）", "Ctrl键 + 回车键"},
      {"求余数（…）", "斜杠键（\\）"},         {"求倒数（1/X）", "分号键（;）"},
      {"求正弦（sin）", "S键"},               {"求余弦（cos）", "C键"},
      {"求正切（tan）", "T键"},               {"求反正切（atn）", "A键"},
      {"求自然对数（log）", "L键"},           {"求反对数（exp）", "E键"},
      {"求n次乘方（X^n）", "Shift键 + 6键"},  {"求n次开方（n√X）", "Shift键 + 7键"},
      {"加号（﹢）", "加号键（+）"},           {"减号（—）", "减号键（-）"},
      {"乘号（×）", "乘号键（*）"},           {"除号（÷）", "除号键（/）"},
      {"小数点", "圆点键（.）"},              {"π", "P键"},
      {"0", "0键"}, {"1", "1键"}, {"2", "2键"}, {"3", "3键"}, {"4", "4键"},
      {"5", "5键"}, {"6", "6键"}, {"7", "7键"}, {"8", "8键"}, {"9", "9键"},
  };
  const std::string introduction = Gbk(
      "本产品提供以下服务：\r\n  一、简单表达式计算\r\n      "
      "由于本人知识有限，未学到更深的数学知识，因此不能编出更多的函数计算式，仅能满足基本计算。\r\n      "
      "用鼠标或键盘输入欲计算的数值和运算就可求出对应的答案。\r\n  二、单位换算\r\n      "
      "在本目录下的config.ini文件可配置单位的信息。\r\n      "
      "选择单位类型和输入、输出的单位，键入欲转换的数值。\r\n  三、人品计算\r\n      "
      "此功能仅供娱乐，所测分数纯属虚构。\r\n      "
      "输入欲测试的姓名，点击“测试”按钮就可测出该姓名的“人品”值。");

  QStringList problems;
  bool introOk = false;
  const bool closed = WhileOpen("HelpWindow", [] { OpenFromSettingsPage("帮助按钮"); }, [&] {
    auto* view = qobject_cast<QTreeView*>(Control("HelpWindow", "热键列表框"));
    if (!view) {
      problems << "no list view";
      return;
    }
    QAbstractItemModel* model = view->model();
    if (model->columnCount() != 2) problems << QStringLiteral("columns: %1").arg(model->columnCount());
    const std::pair<const char*, int> columns[] = {{"对象", 120}, {"按键", 130}};
    for (int c = 0; c < 2; ++c) {
      if (model->headerData(c, Qt::Horizontal).toString() != Q(columns[c].first) ||
          view->header()->sectionSize(c) != columns[c].second)
        problems << QStringLiteral("column %1: %2 %3 px").arg(c).arg(model->headerData(c, Qt::Horizontal).toString())
                        .arg(view->header()->sectionSize(c));
    }
    if (model->rowCount() != static_cast<int>(hotkeys.size()))
      problems << QStringLiteral("rows: %1").arg(model->rowCount());
    for (int r = 0; r < model->rowCount() && r < static_cast<int>(hotkeys.size()); ++r) {
      const QString object = model->index(r, 0).data().toString();
      const QString key = model->index(r, 1).data().toString();
      if (object != Q(hotkeys[r].first) || key != Q(hotkeys[r].second))
        problems << QStringLiteral("row %1: %2 / %3").arg(r + 1).arg(object, key);
    }
    introOk = SameBytes(tk::GetText("HelpWindow", "介绍标签"), introduction, "介绍标签");
    SaveScreenshot("HelpWindow");
    Click("HelpWindow", "关闭按钮");
  });
  QVERIFY(closed);
  QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
  QVERIFY(introOk);
  QCOMPARE(Q(hotkeys.front().first), Q("清除数据（AC）"));
}

void WindowsTest::windowsAreFixedCentredModalDialogs() {
  struct Row {
    const char* window;
    const char* opener;
    const char* caption;
    QSize client;
  };
  const Row rows[] = {
      {"AboutWindow", "关于按钮", "关于", {309 - 6, 224 - 28}},
      {"HelpWindow", "帮助按钮", "使用帮助", {485 - 6, 349 - 28}},
      {"FeedbackWindow", "建议按钮", "发表意见", {292 - 6, 250 - 28}},
  };
  for (const Row& row : rows) {
    QStringList problems;
    const bool closed = WhileOpen(row.window, [&] { OpenFromSettingsPage(row.opener); }, [&] {
      QWidget* w = tk::WindowWidget(row.window);
      if (w->windowTitle() != Q(row.caption)) problems << "caption " + w->windowTitle();
      if (w->size() != row.client || w->minimumSize() != row.client || w->maximumSize() != row.client)
        problems << QStringLiteral("not fixed at %1x%2").arg(row.client.width()).arg(row.client.height());
      const Qt::WindowFlags flags = w->windowFlags();
      if (flags.testFlag(Qt::WindowMinimizeButtonHint) || flags.testFlag(Qt::WindowMaximizeButtonHint))
        problems << "has a minimize or maximize box";
      if (!flags.testFlag(Qt::WindowCloseButtonHint) || !flags.testFlag(Qt::WindowSystemMenuHint))
        problems << "no close box or system menu";
      if (w->windowType() != Qt::Dialog || w->parentWidget() != tk::WindowWidget("MainWindow"))
        problems << "not an owned dialog (it would take a taskbar button)";
      if (w->windowModality() != Qt::ApplicationModal || QApplication::activeModalWidget() != w)
        problems << "not modal";
      const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
      const QPoint offset = w->geometry().center() - centre;
      if (std::abs(offset.x()) > 4 || std::abs(offset.y()) > 4)
        problems << QStringLiteral("not centred: %1,%2").arg(w->geometry().center().x()).arg(w->geometry().center().y());
      if (row.window == std::string("FeedbackWindow")) SaveScreenshot(row.window);
    });
    QVERIFY2(closed, row.window);
    QVERIFY2(problems.isEmpty(), qPrintable(Q(row.window) + ": " + problems.join("; ")));
  }
}

void WindowsTest::mainWindowTakesNoClicksOrKeysWhileOneIsOpen() {
  // Probes on the settings page's 默认按钮 (rebound after the test).
  int clicks = 0, keys = 0;
  tk::OnClick("MainWindow", "默认按钮", [&] { ++clicks; });
  tk::OnKeyDown("MainWindow", "默认按钮", [&](int, int) { ++keys; });
  tk::TabWidget("MainWindow")->setCurrentIndex(3);
  Control("MainWindow", "默认按钮")->setFocus();

  for (const char* opener : {"关于按钮", "帮助按钮", "建议按钮"}) {
    const char* window = opener == std::string("关于按钮")   ? "AboutWindow"
                         : opener == std::string("帮助按钮") ? "HelpWindow"
                                                             : "FeedbackWindow";
    const bool about = opener == std::string("关于按钮");
    bool anotherOpened = false;
    const bool closed = WhileOpen(window, [&] { OpenFromSettingsPage(opener); }, [&] {
      // Should an event get through and open another window, that window
      // would hold the event in its own modal loop: this watch closes it
      // from there so the test goes on, and tells.
      QTimer watch;
      QObject::connect(&watch, &QTimer::timeout, [&] {
        for (const char* other : {"AboutWindow", "HelpWindow", "FeedbackWindow"}) {
          if (other != std::string(window) && tk::WindowExists(other)) {
            anotherOpened = true;
            tk::CloseWindow(other);
          }
        }
      });
      watch.start(20);
      Click("MainWindow", "默认按钮");
      PressKey("MainWindow", Qt::Key_A);
      PressKey("MainWindow", Qt::Key_Space);
      Click("MainWindow", about ? "帮助按钮" : "关于按钮");
      QTest::qWait(60);
    });
    QVERIFY2(closed, window);
    QVERIFY2(!anotherOpened, window);
    QCOMPARE(clicks, 0);
    QCOMPARE(keys, 0);
  }
  // The same events reach the main window once the window is closed.
  Click("MainWindow", "默认按钮");
  PressKey("MainWindow", Qt::Key_A);
  QCOMPARE(clicks, 1);
  QVERIFY(keys >= 1);
  tk::OnKeyDown("MainWindow", "默认按钮", nullptr);
  BindSettingsPage();
}

void WindowsTest::closeButtonCloseBoxAndEscCloseEachWindow() {
  struct Row {
    const char* window;
    const char* opener;
  };
  const Row rows[] = {{"AboutWindow", "关于按钮"}, {"HelpWindow", "帮助按钮"}, {"FeedbackWindow", "建议按钮"}};
  enum Way { Button, CloseBox, Esc };
  for (const Row& row : rows) {
    for (Way way : {Button, CloseBox, Esc}) {
      bool closedByTest = true;
      const bool closed = WhileOpen(row.window, [&] { OpenFromSettingsPage(row.opener); }, [&] {
        if (way == Button) Click(row.window, "关闭按钮");
        if (way == CloseBox) tk::WindowWidget(row.window)->windowHandle()->close();
        if (way == Esc) {
          // With the focus in the window, wherever it is.
          PressKey(row.window, Qt::Key_Escape);
        }
      }, &closedByTest);
      QVERIFY2(closed && !closedByTest, qPrintable(QStringLiteral("%1 way %2").arg(Q(row.window)).arg(way)));
    }
  }
  // Esc in the main window leaves it open.
  PressKey("MainWindow", Qt::Key_Escape);
  QCoreApplication::processEvents();
  QVERIFY(tk::WindowExists("MainWindow"));
  QVERIFY(gBoxes.empty());
  QVERIFY(catcher_.urls.isEmpty());
}

void WindowsTest::eachOpeningStartsFresh() {
  // Whatever one opening changes is gone at the next.
  QPointer<QWidget> first;
  WhileOpen("FeedbackWindow", [] { OpenFromSettingsPage("建议按钮"); }, [&] {
    first = tk::WindowWidget("FeedbackWindow");
    tk::SetText("FeedbackWindow", "意见编辑框", Gbk("写了一半的意见"));
    tk::SetText("FeedbackWindow", "标签1", "x");
  });
  QVERIFY2(first.isNull(), "the closed window is destroyed");
  std::string box = "?", title = "?";
  WhileOpen("FeedbackWindow", [] { OpenFromSettingsPage("建议按钮"); }, [&] {
    box = tk::GetText("FeedbackWindow", "意见编辑框");
    title = tk::GetText("FeedbackWindow", "标签1");
  });
  QCOMPARE(box, std::string());
  QVERIFY(SameBytes(title, Gbk("欢迎您来发表意见！"), "标签1"));

  WhileOpen("AboutWindow", [] { OpenFromSettingsPage("关于按钮"); },
            [] { tk::SetText("AboutWindow", "作者标签", "x"); });
  std::string author;
  WhileOpen("AboutWindow", [] { OpenFromSettingsPage("关于按钮"); },
            [&] { author = tk::GetText("AboutWindow", "作者标签"); });
  QVERIFY(SameBytes(author, Gbk("青禾计算器开发组  青禾软件学社"), "作者标签"));
}

void WindowsTest::contactLinkGoesToTheBrowserAndTheWindowStays() {
  bool stayed = false;
  QCursor cursor;
  const bool closed = WhileOpen("FeedbackWindow", [] { OpenFromSettingsPage("建议按钮"); }, [&] {
    cursor = Control("FeedbackWindow", "联系按钮")->cursor();
    Click("FeedbackWindow", "联系按钮");
    QCoreApplication::processEvents();
    stayed = tk::WindowExists("FeedbackWindow");
    Click("FeedbackWindow", "关闭按钮");
  });
  QVERIFY(closed);
  QVERIFY(stayed);
  QCOMPARE(cursor.shape(), Qt::PointingHandCursor);
  QCOMPARE(catcher_.urls.size(), 1);
  const QUrl url = catcher_.urls.front();
  QCOMPARE(url.toString(), Q(kContactLink));
  const QString key = QUrlQuery(url).queryItemValue(QStringLiteral("IDKEY"));
  QVERIFY2(QRegularExpression(QStringLiteral("^[0-9a-fA-F]{48}$")).match(key).hasMatch(), qPrintable(key));
  QVERIFY(gBoxes.empty());
}

// ----- Feedback against a server on loopback --------------------------------------

namespace {

LoopbackServerOptions ProgramLogin() {
  LoopbackServerOptions options;
  options.account = kMailAccount;
  options.password = kMailPassword;
  return options;
}

const char* const kSuccess = "提交成功！感谢您的建议，我会根据您的建议做适当的分析或采纳！";

bool BoxIs(const Box& box, const std::string& text, const char* title, int kind) {
  return SameBytes(box.text, text, "message") && SameBytes(box.title, Gbk(title), "title") && box.kind == kind;
}

}  // namespace

void WindowsTest::SubmitThroughWindow(const std::string& text, bool* stillOpen, std::string* kept) {
  *stillOpen = false;
  WhileOpen("FeedbackWindow", [] { OpenFromSettingsPage("建议按钮"); }, [&] {
    tk::SetText("FeedbackWindow", "意见编辑框", text);
    Click("FeedbackWindow", "提交按钮");
    *stillOpen = tk::WindowExists("FeedbackWindow");
    if (*stillOpen) *kept = tk::GetText("FeedbackWindow", "意见编辑框");
  });
}

void WindowsTest::emptySuggestionAsksForTextAndConnectsNowhere() {
  LoopbackMailServer server(ProgramLogin());
  QVERIFY(server.Started());
  SetFeedbackMailServerForTests(MailServer{"127.0.0.1", server.Port()});
  bool stillOpen = false;
  std::string kept = "?";
  SubmitThroughWindow("", &stillOpen, &kept);
  QVERIFY(stillOpen);
  QCOMPARE(kept, std::string());
  QCOMPARE(gBoxes.size(), size_t{1});
  QVERIFY(BoxIs(gBoxes[0], Gbk("请输入您的意见！"), "温馨提示", tk::kInformationIcon));
  QCoreApplication::processEvents();
  QVERIFY2(server.Events().empty(), "no connection for an empty box");
}

void WindowsTest::suggestionArrivesIntactAndClosesTheWindow() {
  LoopbackMailServer server(ProgramLogin());
  QVERIFY(server.Started());
  SetFeedbackMailServerForTests(MailServer{"127.0.0.1", server.Port()});
  const std::string text = Gbk("建议：\r\n1. 增加历史记录；\r\n.\r\n2. 支持“复制结果”。\r\n  end");

  // Typed by hand at the end of the written text: a line break and a line
  // holding a single ".".
  bool stillOpen = true;
  WhileOpen("FeedbackWindow", [] { OpenFromSettingsPage("建议按钮"); }, [&] {
    tk::SetText("FeedbackWindow", "意见编辑框", text);
    auto* box = qobject_cast<QPlainTextEdit*>(Control("FeedbackWindow", "意见编辑框"));
    box->setFocus();
    box->moveCursor(QTextCursor::End);
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClicks(box, QStringLiteral("."));
    Click("FeedbackWindow", "提交按钮");
    stillOpen = tk::WindowExists("FeedbackWindow");
  });
  QVERIFY(!stillOpen);
  QCOMPARE(gBoxes.size(), size_t{1});
  QVERIFY(BoxIs(gBoxes[0], Gbk(kSuccess), "温馨提示", tk::kInformationIcon));
  QCOMPARE(server.MailCount(), 1);
  QVERIFY(SameBytes(server.MailFile(1, "subject"), Gbk("青禾计算器_用户建议"), "subject"));
  QVERIFY(SameBytes(server.MailFile(1, "body"), text + "\r\n.", "body"));
  const std::string info = server.MailFile(1, "info");
  QVERIFY2(info.find(std::string("to=") + kAuthorMailbox + "\n") != std::string::npos, info.c_str());
  QVERIFY2(info.find(std::string("from=") + kMailSender + "\n") != std::string::npos, info.c_str());
  QVERIFY2(info.find("charset=gbk\n") != std::string::npos, info.c_str());
}

void WindowsTest::failedConnectOrLoginKeepsTheText() {
  LoopbackServerOptions otherPassword = ProgramLogin();
  otherPassword.password = "not-the-program's";
  LoopbackMailServer refusing(otherPassword);
  QVERIFY(refusing.Started());
  const std::vector<int> ports = {ClosedPort(), refusing.Port()};
  const std::string text = Gbk("网络不通时的意见\r\n第二行");
  for (int port : ports) {
    gBoxes.clear();
    SetFeedbackMailServerForTests(MailServer{"127.0.0.1", port});
    bool stillOpen = false;
    std::string kept;
    const auto start = std::chrono::steady_clock::now();
    SubmitThroughWindow(text, &stillOpen, &kept);
    QVERIFY(std::chrono::steady_clock::now() - start < std::chrono::seconds(1));
    QVERIFY(stillOpen);
    QVERIFY(SameBytes(kept, text, "kept text"));
    QCOMPARE(gBoxes.size(), size_t{1});
    QVERIFY(BoxIs(gBoxes[0], Gbk("提交失败，请检查网络！"), "错误提示", tk::kErrorIcon));
  }
  bool refusedLogin = false;
  for (const auto& line : refusing.Events()) refusedLogin |= line.find(" fail ") != std::string::npos;
  QVERIFY(refusedLogin);
  QCOMPARE(refusing.MailCount(), 0);
}

void WindowsTest::refusedMailShowsTheClientsAnswer() {
  LoopbackServerOptions options = ProgramLogin();
  options.refuseRecipient = true;
  LoopbackMailServer server(options);
  QVERIFY(server.Started());
  SetFeedbackMailServerForTests(MailServer{"127.0.0.1", server.Port()});
  const std::string text = Gbk("收件人被拒绝的意见");
  bool stillOpen = false;
  std::string kept;
  SubmitThroughWindow(text, &stillOpen, &kept);
  QVERIFY(stillOpen);
  QVERIFY(SameBytes(kept, text, "kept text"));
  QCOMPARE(gBoxes.size(), size_t{1});
  const Box& box = gBoxes[0];
  QVERIFY(SameBytes(box.title, Gbk("错误提示"), "title"));
  QCOMPARE(box.kind, tk::kErrorIcon);
  QVERIFY2(box.text.rfind(Gbk("邮件发送失败："), 0) == 0 && box.text.find("550") != std::string::npos,
           Show(box.text).c_str());
  QCOMPARE(server.MailCount(), 0);
}

void WindowsTest::secondSuggestionGoesOverAFreshConnection() {
  LoopbackMailServer server(ProgramLogin());
  QVERIFY(server.Started());
  SetFeedbackMailServerForTests(MailServer{"127.0.0.1", server.Port()});
  const std::string texts[] = {Gbk("第一条意见"), Gbk("第二条意见\r\n两行")};
  for (const std::string& text : texts) {
    bool stillOpen = true;
    std::string kept;
    SubmitThroughWindow(text, &stillOpen, &kept);
    QVERIFY(!stillOpen);
  }
  QCOMPARE(gBoxes.size(), size_t{2});
  QVERIFY(BoxIs(gBoxes[1], Gbk(kSuccess), "温馨提示", tk::kInformationIcon));
  QCOMPARE(server.MailCount(), 2);
  QVERIFY(SameBytes(server.MailFile(1, "body"), texts[0], "first body"));
  QVERIFY(SameBytes(server.MailFile(2, "body"), texts[1], "second body"));
  std::vector<std::string> connects;
  for (const auto& line : server.Events())
    if (line.rfind("connect ", 0) == 0) connects.push_back(line.substr(8));
  QCOMPARE(connects.size(), size_t{2});
  QVERIFY(connects[0] != connects[1]);
  QVERIFY(server.WaitForEvent("mail " + connects[0] + " 1 tls=0"));
  QVERIFY(server.WaitForEvent("mail " + connects[1] + " 2 tls=0"));
  QVERIFY2(server.WaitForEvent("close " + connects[0]), "the first connection ends at the second connect");
}

void WindowsTest::silentServerEndsWithinTheTimeOut() {
  SilentListener silent;
  QVERIFY(silent.Port() > 0);
  SetFeedbackMailServerForTests(MailServer{"127.0.0.1", silent.Port()});
  const std::string text = Gbk("没有回应的服务器");
  bool stillOpen = false;
  std::string kept;
  const auto start = std::chrono::steady_clock::now();
  SubmitThroughWindow(text, &stillOpen, &kept);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  QVERIFY(elapsed < std::chrono::milliseconds(kSmtpConnectTimeoutMs + 1500));
  QVERIFY(stillOpen);
  QVERIFY(SameBytes(kept, text, "kept text"));
  QCOMPARE(gBoxes.size(), size_t{1});
  QVERIFY(BoxIs(gBoxes[0], Gbk("提交失败，请检查网络！"), "错误提示", tk::kErrorIcon));
}

int main(int argc, char** argv) {
  tk::Initialise(argc, argv);
  WindowsTest test;
  gTestsRunning = true;
  const int failures = QTest::qExec(&test, argc, argv);
  gTestsRunning = false;
  return failures;
}

#include "windows_test.moc"
