#include "toolkit/toolkit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QEventLoop>
#include <QHeaderView>
#include <QIcon>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <unordered_map>

#include "toolkit/gbk_qt.h"
#include "toolkit/keymap.h"
#include "toolkit/toolkit_qt.h"
#include "toolkit/widgets.h"

namespace tk {
namespace detail {

class Window;

struct Control {
  std::string name;  // UTF-8 control name
  Kind kind = Kind::Label;
  int page = 0;
  Window* window = nullptr;
  QWidget* widget = nullptr;
  std::string tag;  // GBK
  Handler click;
  KeyHandler keyDown;
  CharHandler character;
  Handler changed;
  Handler selected;
  std::string redirect;  // target control whose click and key-down handlers run
  // The bytes of the last text the program wrote, kept while the widget
  // still shows that text, so that reading it back gives exactly those
  // bytes even where GBK -> QString -> GBK would not (a cut double-byte
  // character, a lone "\r").
  std::optional<std::string> written;
  QString writtenShown;
  GbkInputValidator* validator = nullptr;

  ~Control();
};

class Window : public QWidget {
 public:
  Window(const WindowSpec& layout, QWidget* owner);
  ~Window() override;

  std::string name;
  bool escCloses = false;
  int busy = 0;  // handlers of this window running now
  bool closed = false;
  QTabWidget* tabs = nullptr;
  std::map<std::string, std::unique_ptr<Control>> controls;
  std::vector<Control*> order;
  // The control that last had the focus on each page, so that coming back to
  // a page gives the keyboard back to it (the keypad keeps working after a
  // visit to another page).
  std::map<int, QPointer<QWidget>> pageFocus;
  bool switchingPage = false;  // focus moves while pages are swapped are Qt's, not the user's

  void ShowPage(int index);
  void MarkClosed();

 protected:
  void closeEvent(QCloseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
};

class EventBridge : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

// Tabs with a narrow margin around their titles, so that the four pages of
// the main window show all their tabs in its 248-pixel strip without scroll
// arrows.
class CompactTabStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
    if (metric == PM_TabBarTabHSpace) return 8;
    return QProxyStyle::pixelMetric(metric, option, widget);
  }
};

struct State {
  QApplication* ownApp = nullptr;
  std::vector<Window*> open;
  std::vector<QPointer<Window>> closed;
  std::vector<std::string> sources;
  std::unordered_map<const QObject*, Control*> controlOf;
  EventBridge bridge;
  bool inMainLoop = false;
  bool replaying = false;
  bool sweepPending = false;
  void (*exitRoutine)() = nullptr;
  bool exitRoutineRan = false;
  std::function<void(const MessageBoxRecord&)> messageBoxHook;
  std::optional<int> sleepOverride;
  std::function<void()> beepHook;
};

// Lives until the process ends: windows and atexit routines may still look
// at it during shutdown.
State& S() {
  static State* state = new State;
  return *state;
}

Control::~Control() { S().controlOf.erase(widget); }

// ----- lookups ---------------------------------------------------------------

Window* FindWindow(const char* name) {
  if (!name) return nullptr;
  for (Window* w : S().open) {
    if (w->name == name) return w;
  }
  return nullptr;
}

// Writes to a window that has closed are dropped quietly (a handler may go
// on after the user closed its window); a control missing from an open
// window is a mistake in the program and is reported on standard error.
Control* FindControl(const char* window, const char* control) {
  Window* w = FindWindow(window);
  if (!w || !control) return nullptr;
  auto it = w->controls.find(control);
  if (it == w->controls.end()) {
    std::fprintf(stderr, "toolkit: %s has no control %s\n", window, control);
    return nullptr;
  }
  return it->second.get();
}

Control* ControlOf(const QObject* object) {
  auto it = S().controlOf.find(object);
  return it == S().controlOf.end() ? nullptr : it->second;
}

// ----- closing and destroying --------------------------------------------------

// Closed windows are destroyed from the event loop once none of their
// handlers is running any more: a handler that closes its own window, or a
// window closed while a handler pumps events, goes on running safely.
void Sweep() {
  S().sweepPending = false;
  auto& closed = S().closed;
  for (auto it = closed.begin(); it != closed.end();) {
    if (it->isNull()) {
      it = closed.erase(it);
    } else if ((*it)->busy == 0) {
      (*it)->deleteLater();
      it = closed.erase(it);
    } else {
      ++it;
    }
  }
}

void ScheduleSweep() {
  if (S().sweepPending || !qApp) return;
  S().sweepPending = true;
  QTimer::singleShot(0, qApp, &Sweep);
}

void Window::MarkClosed() {
  if (closed) return;
  closed = true;
  auto& open = S().open;
  open.erase(std::remove(open.begin(), open.end(), this), open.end());
  S().closed.emplace_back(this);
  ScheduleSweep();
  // The last window closing ends the program's event loop.
  if (open.empty() && S().inMainLoop) QCoreApplication::exit(0);
}

void Window::closeEvent(QCloseEvent* e) {
  e->accept();
  MarkClosed();
}

void Window::keyPressEvent(QKeyEvent* e) {
  if (escCloses && e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  e->ignore();
}

Window::~Window() {
  // Controls go before their records, so no signal of a dying widget finds a
  // record that is already gone.
  for (Control* c : order) {
    delete c->widget;
    S().controlOf.erase(c->widget);
    c->widget = nullptr;
  }
  delete tabs;
  tabs = nullptr;
  auto& open = S().open;
  open.erase(std::remove(open.begin(), open.end(), this), open.end());
}

// ----- running handlers ----------------------------------------------------------

// Runs one handler with `source` as the event source; the source's window
// counts as busy meanwhile.
template <typename F>
auto RunHandler(Control& source, F&& call) {
  Window* w = source.window;
  struct Guard {
    Window* w;
    explicit Guard(Window* win, const std::string& name) : w(win) {
      ++w->busy;
      S().sources.push_back(name);
    }
    ~Guard() {
      S().sources.pop_back();
      --w->busy;
      if (w->closed) ScheduleSweep();
    }
  } guard(w, source.name);
  return call();
}

Control* Target(Control& source) {
  if (source.redirect.empty()) return &source;
  auto it = source.window->controls.find(source.redirect);
  return it == source.window->controls.end() ? &source : it->second.get();
}

void DispatchClick(Control& source) {
  Handler h = Target(source)->click;  // looked up now; copied, so rebinding is safe
  if (h) RunHandler(source, h);
}

void DispatchKey(Control& source, const VirtualKey& key) {
  KeyHandler h = Target(source)->keyDown;
  if (h) RunHandler(source, [&] { h(key.code, key.modifiers); });
}

void DispatchChanged(Control& source) {
  Handler h = source.changed;
  if (h) RunHandler(source, h);
}

void DispatchSelected(Control& source) {
  Handler h = source.selected;
  if (h) RunHandler(source, h);
}

// Asks the character handler about every character of `text`; answers the
// text to insert instead, or nullopt when nothing changes.
std::optional<QString> FilterCharacters(Control& c, const QString& text, bool controlHeld) {
  CharHandler h = c.character;
  if (!h) return std::nullopt;
  QString out;
  bool changed = false;
  for (uint cp : text.toUcs4()) {
    const char32_t ch = static_cast<char32_t>(cp);
    int code = GbkCharCode(ch);
    // Ctrl with a letter is the control character, as Windows reports it.
    if (controlHeld && ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z'))) {
      code = static_cast<int>((ch & 0x1F));
    }
    const std::optional<int> answer = RunHandler(c, [&] { return h(code); });
    if (!answer) {
      out += QString::fromUcs4(&ch, 1);
      continue;
    }
    changed = true;
    if (*answer != 0) out += QStringFromGbkCharCode(*answer);
  }
  if (!changed) return std::nullopt;
  return out;
}

bool EventBridge::eventFilter(QObject* watched, QEvent* event) {
  if (S().replaying) return false;
  const QEvent::Type type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::InputMethod) return false;
  Control* c = ControlOf(watched);
  if (!c) return false;

  if (type == QEvent::KeyPress) {
    auto* ke = static_cast<QKeyEvent*>(event);
    // Tab and Shift+Tab belong to the focus chain.
    if (ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab) return false;
    if (c->kind == Kind::Button || c->kind == Kind::ColourButton) {
      if (const auto key = VirtualKeyFor(ke->key(), ke->modifiers())) DispatchKey(*c, *key);
      return false;  // never consumed: Space still presses the button
    }
    if (c->kind == Kind::Edit && !ke->text().isEmpty()) {
      const Qt::KeyboardModifiers mods = ke->modifiers();
      const bool ctrl = mods.testFlag(Qt::ControlModifier) && !mods.testFlag(Qt::AltModifier);
      QPointer<QObject> alive(watched);
      const std::optional<QString> out = FilterCharacters(*c, ke->text(), ctrl);
      if (!out) return false;
      if (out->isEmpty() || alive.isNull()) return true;  // discarded
      QKeyEvent replacement(QEvent::KeyPress, Qt::Key_unknown, mods & ~Qt::ControlModifier, *out,
                            ke->isAutoRepeat());
      S().replaying = true;
      QCoreApplication::sendEvent(watched, &replacement);
      S().replaying = false;
      return true;
    }
    return false;
  }

  // A text committed by an input method goes through the same handler.
  auto* ime = static_cast<QInputMethodEvent*>(event);
  if (c->kind != Kind::Edit || ime->commitString().isEmpty()) return false;
  QPointer<QObject> alive(watched);
  const std::optional<QString> out = FilterCharacters(*c, ime->commitString(), false);
  if (!out) return false;
  if (alive.isNull()) return true;
  QInputMethodEvent replacement(ime->preeditString(), ime->attributes());
  replacement.setCommitString(*out, ime->replacementStart(), ime->replacementLength());
  S().replaying = true;
  QCoreApplication::sendEvent(watched, &replacement);
  S().replaying = false;
  return true;
}

// ----- building windows ----------------------------------------------------------

QString DesignText(const char* utf8) { return utf8 ? QString::fromUtf8(utf8) : QString(); }

QString Shown(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

QString ReadShown(const Control& c) {
  if (auto* e = qobject_cast<QLineEdit*>(c.widget)) return e->text();
  if (auto* e = qobject_cast<QPlainTextEdit*>(c.widget)) return e->toPlainText();
  if (auto* b = qobject_cast<QAbstractButton*>(c.widget)) return b->text();
  if (auto* l = qobject_cast<QLabel*>(c.widget)) return l->text();
  return QString();
}

void WriteText(Control& c, const std::string& gbk) {
  const QString shown = Shown(QStringFromGbk(gbk));
  c.written = gbk;
  c.writtenShown = shown;
  if (auto* e = qobject_cast<QLineEdit*>(c.widget)) {
    if (c.validator) c.validator->AcceptNext(shown);
    e->setText(shown);
    if (c.validator) c.validator->EndAccept();
  } else if (auto* plain = qobject_cast<QPlainTextEdit*>(c.widget)) {
    plain->setPlainText(shown);
  } else if (auto* combo = qobject_cast<QComboBox*>(c.widget)) {
    // A drop-down list shows only its items: writing its text selects the
    // item with that text, or none.
    c.written.reset();
    int found = -1;
    for (int i = 0; i < combo->count(); ++i) {
      if (combo->itemData(i).toByteArray() == QByteArray::fromStdString(gbk)) {
        found = i;
        break;
      }
    }
    combo->setCurrentIndex(found);
  } else if (auto* b = qobject_cast<QAbstractButton*>(c.widget)) {
    b->setText(shown);
  } else if (auto* l = qobject_cast<QLabel*>(c.widget)) {
    l->setText(shown);
    l->update();
  } else {
    c.written.reset();
  }
}

std::string ReadText(const Control& c) {
  if (auto* combo = qobject_cast<QComboBox*>(c.widget)) {
    const int i = combo->currentIndex();
    if (i < 0) return std::string();
    return combo->itemData(i).toByteArray().toStdString();
  }
  const QString shown = ReadShown(c);
  if (c.written && shown == c.writtenShown) return *c.written;
  QString text = shown;
  // Multi-line edit boxes hold their line breaks as "\r\n".
  if (qobject_cast<QPlainTextEdit*>(c.widget)) text.replace(QChar('\n'), QStringLiteral("\r\n"));
  return GbkFromQString(text);
}

QWidget* MakeWidget(Control& c, const ControlSpec& layout, QWidget* parent) {
  QWidget* w = nullptr;
  switch (layout.kind) {
    case Kind::Label: {
      auto* l = new TkLabel(parent);
      l->setTextFormat(Qt::PlainText);
      if (layout.textColour) l->textColour = ToQColor(*layout.textColour);
      if (layout.background) l->background = ToQColor(*layout.background);
      l->hAlign = layout.align == Align::Center  ? Qt::AlignHCenter
                  : layout.align == Align::Right ? Qt::AlignRight
                                               : Qt::AlignLeft;
      l->vcenter = layout.vcenter;
      l->wordWrap = layout.wordWrap;
      l->transparent = layout.transparent;
      l->raised = layout.raised;
      l->frame = layout.frame;
      w = l;
      break;
    }
    case Kind::Edit: {
      if (layout.multiline) {
        auto* e = new QPlainTextEdit(parent);
        e->setReadOnly(layout.input == Input::ReadOnly);
        e->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        e->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        e->setVerticalScrollBarPolicy(layout.vscroll ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        e->setTabChangesFocus(true);
        QObject::connect(e, &QPlainTextEdit::textChanged, [&c] { DispatchChanged(c); });
        w = e;
      } else {
        auto* e = new QLineEdit(parent);
        e->setReadOnly(layout.input == Input::ReadOnly);
        if (layout.input == Input::Integer || layout.input == Input::Decimal || layout.maxBytes > 0) {
          c.validator = new GbkInputValidator(layout.input, layout.maxBytes, e);
          e->setValidator(c.validator);
        }
        QObject::connect(e, &QLineEdit::textChanged, [&c] { DispatchChanged(c); });
        w = e;
      }
      QPalette pal = w->palette();
      pal.setColor(QPalette::Base, Qt::white);
      pal.setColor(QPalette::Text, layout.textColour ? ToQColor(*layout.textColour) : QColor(Qt::black));
      w->setPalette(pal);
      break;
    }
    case Kind::Combo: {
      auto* combo = new QComboBox(parent);
      combo->setEditable(false);
      combo->setInsertPolicy(QComboBox::NoInsert);
      QObject::connect(combo, &QComboBox::activated, [&c](int) { DispatchSelected(c); });
      w = combo;
      break;
    }
    case Kind::Button: {
      auto* b = new QPushButton(parent);
      b->setAutoDefault(false);
      b->setDefault(false);
      b->setFocusPolicy(Qt::StrongFocus);
      QObject::connect(b, &QPushButton::clicked, [&c] { DispatchClick(c); });
      w = b;
      break;
    }
    case Kind::ColourButton: {
      auto* b = new TkColourButton(parent);
      b->setAutoDefault(false);
      b->setDefault(false);
      b->setFlat(true);
      b->setAttribute(Qt::WA_Hover);
      b->setFocusPolicy(Qt::StrongFocus);
      b->linkStyle = layout.linkStyle;
      if (layout.textColour) b->textColour = ToQColor(*layout.textColour);
      if (layout.background) b->background = ToQColor(*layout.background);
      if (layout.hoverBackground) b->hoverBackground = ToQColor(*layout.hoverBackground);
      if (layout.hoverTextColour) b->hoverTextColour = ToQColor(*layout.hoverTextColour);
      if (layout.linkStyle) b->setCursor(Qt::PointingHandCursor);
      QObject::connect(b, &QPushButton::clicked, [&c] { DispatchClick(c); });
      w = b;
      break;
    }
    case Kind::ProgressBar: {
      auto* p = new TkProgressBar(parent);
      p->setRange(0, 100);
      p->setValue(0);
      p->setTextVisible(false);
      w = p;
      break;
    }
    case Kind::Hyperlink: {
      auto* l = new TkHyperlink(parent);
      QPalette pal = l->palette();
      pal.setColor(QPalette::WindowText, layout.textColour ? ToQColor(*layout.textColour) : QColor(0, 0, 255));
      l->setPalette(pal);
      QFont underlined = l->font();
      underlined.setUnderline(true);
      l->setFont(underlined);
      l->setTextFormat(Qt::PlainText);
      l->setCursor(Qt::PointingHandCursor);
      l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      l->onClick = [&c] { DispatchClick(c); };
      w = l;
      break;
    }
    case Kind::Picture: {
      auto* l = new QLabel(parent);
      l->setPixmap(QApplication::windowIcon().pixmap(QSize(layout.width, layout.height)));
      l->setAlignment(Qt::AlignCenter);
      w = l;
      break;
    }
    case Kind::ListView: {
      auto* t = new QTreeWidget(parent);
      t->setRootIsDecorated(false);
      t->setUniformRowHeights(true);
      t->setSelectionMode(QAbstractItemView::SingleSelection);
      t->setEditTriggers(QAbstractItemView::NoEditTriggers);
      t->setColumnCount(static_cast<int>(layout.columns.size()));
      QStringList titles;
      for (const ListColumn& col : layout.columns) titles << DesignText(col.title);
      t->setHeaderLabels(titles);
      // Report view columns keep the widths the table gives; the last one
      // is not stretched to the view's edge.
      t->header()->setStretchLastSection(false);
      for (int i = 0; i < static_cast<int>(layout.columns.size()); ++i) {
        t->setColumnWidth(i, layout.columns[static_cast<std::size_t>(i)].width);
      }
      for (const auto& row : layout.rows) {
        QStringList cells;
        for (const char* cell : row) cells << DesignText(cell);
        new QTreeWidgetItem(t, cells);
      }
      w = t;
      break;
    }
  }
  return w;
}

Window::Window(const WindowSpec& layout, QWidget* owner) : QWidget(owner), name(layout.name) {
  escCloses = layout.escCloses;
  Qt::WindowFlags flags = (layout.inTaskbar ? Qt::Window : Qt::Dialog) | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (layout.minimizeBox) flags |= Qt::WindowMinimizeButtonHint;
  setWindowFlags(flags);
  setObjectName(QString::fromUtf8(layout.name));
  setWindowTitle(DesignText(layout.caption));
  setFixedSize(layout.clientWidth, layout.clientHeight);

  if (layout.tabName) {
    tabs = new QTabWidget(this);
    tabs->setObjectName(QString::fromUtf8(layout.tabName));
    tabs->setGeometry(0, 0, layout.clientWidth, layout.clientHeight);
    QTabBar* bar = tabs->tabBar();
    static CompactTabStyle* tabStyle = new CompactTabStyle;
    bar->setStyle(tabStyle);
    bar->setFont(MakeFont(layout.tabFont, QApplication::font()));
    tabs->setUsesScrollButtons(false);
    tabs->setElideMode(Qt::ElideNone);
    bar->setExpanding(false);
    for (const char* title : layout.pageTitles) tabs->addTab(new QWidget, DesignText(title));
    QObject::connect(tabs, &QTabWidget::currentChanged, this, [this](int i) { ShowPage(i); });
    QObject::connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
      auto it = S().controlOf.find(now);
      if (!switchingPage && it != S().controlOf.end() && it->second->window == this && it->second->page > 0) {
        pageFocus[it->second->page] = now;
      }
    });
  }

  for (const ControlSpec& cs : layout.controls) {
    auto record = std::make_unique<Control>();
    Control& c = *record;
    c.name = cs.name;
    c.kind = cs.kind;
    c.page = cs.page;
    c.window = this;
    // Page controls sit on the tab control itself, placed relative to its
    // top-left corner with the tab strip included, and are shown only
    // while their page is selected.
    QWidget* parent = (cs.page > 0 && tabs) ? static_cast<QWidget*>(tabs) : this;
    c.widget = MakeWidget(c, cs, parent);
    c.widget->setObjectName(QString::fromUtf8(cs.name));
    c.widget->setGeometry(cs.left, cs.top, cs.width, cs.height);
    if (cs.font.family || cs.font.pixelSize || cs.font.weight) {
      c.widget->setFont(MakeFont(cs.font, c.widget->font()));
    }
    if (cs.tooltip) c.widget->setToolTip(DesignText(cs.tooltip));
    if (cs.tag) {
      c.tag = GbkFromQString(DesignText(cs.tag));
      c.widget->setProperty("tag", DesignText(cs.tag));
    }
    if (cs.kind != Kind::Combo && cs.kind != Kind::ProgressBar && cs.kind != Kind::Picture &&
        cs.kind != Kind::ListView) {
      WriteText(c, GbkFromQString(DesignText(cs.text)));
    }
    c.widget->installEventFilter(&S().bridge);
    S().controlOf[c.widget] = &c;
    order.push_back(&c);
    controls.emplace(c.name, std::move(record));
  }
  if (tabs) {
    tabs->setCurrentIndex(0);
    ShowPage(0);
  }
}

void Window::ShowPage(int index) {
  switchingPage = true;
  for (Control* c : order) {
    if (c->page > 0) c->widget->setVisible(c->page == index + 1);
  }
  switchingPage = false;
  // Hiding the other page's controls moves the focus to wherever Qt finds
  // room for it; give it back to the control that had it when this page was
  // last shown.
  auto it = pageFocus.find(index + 1);
  if (it != pageFocus.end() && it->second && it->second->isEnabled()) {
    it->second->setFocus(Qt::OtherFocusReason);
  }
}

Window* Build(const WindowSpec& layout, QWidget* owner) {
  auto* w = new Window(layout, owner);
  S().open.push_back(w);
  return w;
}

void Centre(QWidget* w) {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  w->move(area.x() + (area.width() - w->width()) / 2, area.y() + (area.height() - w->height()) / 2);
}

void Show(Window* w) {
  Centre(w);
  w->show();
  w->activateWindow();
  if (!w->focusWidget()) {
    for (Control* c : w->order) {
      if (c->widget->isVisibleTo(w) && c->widget->isEnabled() &&
          (c->widget->focusPolicy() & Qt::TabFocus)) {
        c->widget->setFocus(Qt::OtherFocusReason);
        break;
      }
    }
  }
}

}  // namespace detail

using detail::Control;
using detail::FindControl;
using detail::FindWindow;
using detail::S;
using detail::Window;

// ----- program frame --------------------------------------------------------------

void Initialise(int& argc, char** argv) {
  if (!qApp) S().ownApp = new QApplication(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setApplicationName(QStringLiteral("qinghe-calculator"));
  QApplication::setApplicationDisplayName(QString());
  QApplication::setApplicationVersion(QStringLiteral("1.0.0.0"));
  // The default GUI font of the design is 宋体 at 12 pixels.
  QFont font = QApplication::font();
  font.setFamilies({QStringLiteral("SimSun"), QString::fromUtf8("宋体"), QStringLiteral("WenQuanYi Micro Hei"),
                    QStringLiteral("Noto Sans CJK SC")});
  font.setPixelSize(12);
  QApplication::setFont(font);
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    icon.addFile(QStringLiteral(":/qinghe/icon-%1.png").arg(size), QSize(size, size));
  }
  QApplication::setWindowIcon(icon);
}

void CreateWindow(const WindowSpec& layout) {
  BuildWindow(layout);
  ShowWindow(layout.name);
}

void BuildWindow(const WindowSpec& layout) { detail::Build(layout, nullptr); }

void ShowWindow(const char* window) {
  if (Window* w = FindWindow(window)) detail::Show(w);
}

bool WindowExists(const char* window) { return FindWindow(window) != nullptr; }

int RunEventLoop() {
  if (S().open.empty()) return 0;
  S().inMainLoop = true;
  QApplication::exec();
  S().inMainLoop = false;
  return 0;
}

void Finalise() {
  while (!S().open.empty()) delete S().open.back();
  for (auto& w : S().closed) delete w.data();
  S().closed.clear();
  delete S().ownApp;
  S().ownApp = nullptr;
}

void OpenModal(const WindowSpec& layout, const std::function<void()>& setup) {
  if (FindWindow(layout.name)) return;
  // Owned by the first open window, so it takes no taskbar button of its own.
  QWidget* owner = S().open.empty() ? nullptr : S().open.front();
  QPointer<Window> w = detail::Build(layout, owner);
  if (setup) setup();
  if (w.isNull() || w->closed) return;
  w->setWindowModality(Qt::ApplicationModal);
  detail::Show(w);
  QEventLoop loop;
  QObject::connect(w, &QObject::destroyed, &loop, &QEventLoop::quit);
  loop.exec();
}

void CloseWindow(const char* window) {
  if (Window* w = FindWindow(window)) {
    w->MarkClosed();
    w->hide();
  }
}

// ----- properties -----------------------------------------------------------------

std::string GetText(const char* window, const char* control) {
  Control* c = FindControl(window, control);
  return c ? detail::ReadText(*c) : std::string();
}

void SetText(const char* window, const char* control, const std::string& gbk) {
  if (Control* c = FindControl(window, control)) detail::WriteText(*c, gbk);
}

bool IsEnabled(const char* window, const char* control) {
  Control* c = FindControl(window, control);
  return c && c->widget->isEnabledTo(c->widget->window());
}

void SetEnabled(const char* window, const char* control, bool enabled) {
  if (Control* c = FindControl(window, control)) c->widget->setEnabled(enabled);
}

int GetPosition(const char* window, const char* control) {
  Control* c = FindControl(window, control);
  auto* p = c ? qobject_cast<QProgressBar*>(c->widget) : nullptr;
  return p ? p->value() : 0;
}

void SetPosition(const char* window, const char* control, int position) {
  Control* c = FindControl(window, control);
  auto* p = c ? qobject_cast<QProgressBar*>(c->widget) : nullptr;
  if (!p) return;
  p->setValue(std::clamp(position, p->minimum(), p->maximum()));
  p->repaint();
}

std::string GetTag(const char* window, const char* control) {
  Control* c = FindControl(window, control);
  return c ? c->tag : std::string();
}

void SetFocus(const char* window, const char* control) {
  if (Control* c = FindControl(window, control)) c->widget->setFocus(Qt::OtherFocusReason);
}

namespace {
QComboBox* Combo(const char* window, const char* control) {
  Control* c = FindControl(window, control);
  return c ? qobject_cast<QComboBox*>(c->widget) : nullptr;
}
}  // namespace

int ComboCount(const char* window, const char* control) {
  QComboBox* combo = Combo(window, control);
  return combo ? combo->count() : 0;
}

int ComboInsert(const char* window, const char* control, int index, const std::string& gbk) {
  QComboBox* combo = Combo(window, control);
  if (!combo || index < 0 || index > combo->count()) return -1;
  const int selected = combo->currentIndex();
  combo->insertItem(index, detail::Shown(QStringFromGbk(gbk)), QByteArray::fromStdString(gbk));
  // Qt selects the first item put into an empty box; the program's lists
  // start without a selection.
  if (selected < 0 && combo->currentIndex() >= 0) combo->setCurrentIndex(-1);
  return index;
}

void ComboClear(const char* window, const char* control) {
  if (QComboBox* combo = Combo(window, control)) combo->clear();
}

int GetSelection(const char* window, const char* control) {
  QComboBox* combo = Combo(window, control);
  return combo ? combo->currentIndex() : -1;
}

// Selecting an item from the program raises the list-item-selected event as
// the user's choice does; an index outside the list clears the selection.
void SetSelection(const char* window, const char* control, int index) {
  Control* c = FindControl(window, control);
  auto* combo = c ? qobject_cast<QComboBox*>(c->widget) : nullptr;
  if (!combo) return;
  if (index < 0 || index >= combo->count()) index = -1;
  combo->setCurrentIndex(index);
  if (index >= 0) detail::DispatchSelected(*c);
}

// ----- events ----------------------------------------------------------------------

void OnClick(const char* window, const char* control, Handler handler) {
  if (Control* c = FindControl(window, control)) c->click = std::move(handler);
}

void OnKeyDown(const char* window, const char* control, KeyHandler handler) {
  if (Control* c = FindControl(window, control)) c->keyDown = std::move(handler);
}

void OnChar(const char* window, const char* control, CharHandler handler) {
  if (Control* c = FindControl(window, control)) c->character = std::move(handler);
}

void OnTextChanged(const char* window, const char* control, Handler handler) {
  if (Control* c = FindControl(window, control)) c->changed = std::move(handler);
}

void OnListSelected(const char* window, const char* control, Handler handler) {
  if (Control* c = FindControl(window, control)) c->selected = std::move(handler);
}

void Redirect(const char* window, const char* source, const char* target) {
  Control* s = FindControl(window, source);
  Control* t = FindControl(window, target);
  if (!s || !t || s->kind != t->kind) return;
  s->redirect = (s == t) ? std::string() : t->name;
}

std::string EventSource() { return S().sources.empty() ? std::string() : S().sources.back(); }

// ----- services ------------------------------------------------------------------

void MessageBox(const std::string& gbkText, int kind, const std::string& gbkTitle) {
  if (S().messageBoxHook) {
    S().messageBoxHook(MessageBoxRecord{gbkText, gbkTitle, kind});
    return;
  }
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  switch (kind) {
    case 16: icon = QMessageBox::Critical; break;
    case 32: icon = QMessageBox::Question; break;
    case 48: icon = QMessageBox::Warning; break;
    case 64: icon = QMessageBox::Information; break;
    default: break;
  }
  QMessageBox box(icon, detail::Shown(QStringFromGbk(gbkTitle)), detail::Shown(QStringFromGbk(gbkText)),
                  QMessageBox::Ok);
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(QMessageBox::Ok);
  box.setEscapeButton(QMessageBox::Ok);
  box.exec();
}

void Beep() {
  if (S().beepHook) {
    S().beepHook();
    return;
  }
  QApplication::beep();
}

void Sleep(int milliseconds) {
  if (S().sleepOverride) milliseconds = *S().sleepOverride;
  if (milliseconds > 0) QThread::msleep(static_cast<unsigned long>(milliseconds));
}

void PumpEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void OpenUrl(const std::string& url) {
  QDesktopServices::openUrl(QUrl(QStringFromGbk(url), QUrl::TolerantMode));
}

namespace {
void RunExitRoutineOnce() {
  if (S().exitRoutineRan || !S().exitRoutine) return;
  S().exitRoutineRan = true;
  S().exitRoutine();
}
}  // namespace

void SetExitRoutine(void (*routine)()) {
  static bool registered = false;
  S().exitRoutine = routine;
  S().exitRoutineRan = false;
  if (!registered) {
    registered = true;
    std::atexit(&RunExitRoutineOnce);
  }
}

void EndProgram(int code) {
  RunExitRoutineOnce();
  std::fflush(nullptr);
  // Straight out: the program ends from inside a handler, with windows and
  // the event loop still on the stack, which must not be unwound or
  // destroyed behind it.
  std::_Exit(code);
}

void SetMessageBoxHook(std::function<void(const MessageBoxRecord&)> hook) {
  S().messageBoxHook = std::move(hook);
}

void SetSleepOverride(std::optional<int> milliseconds) { S().sleepOverride = milliseconds; }

void SetBeepHook(std::function<void()> hook) { S().beepHook = std::move(hook); }

// ----- Qt side, for tests --------------------------------------------------------

QWidget* WindowWidget(const char* window) { return FindWindow(window); }

QWidget* ControlWidget(const char* window, const char* control) {
  Window* w = FindWindow(window);
  if (!w || !control) return nullptr;
  auto it = w->controls.find(control);
  return it == w->controls.end() ? nullptr : it->second->widget;
}

QTabWidget* TabWidget(const char* window) {
  Window* w = FindWindow(window);
  return w ? w->tabs : nullptr;
}

}  // namespace tk
