#pragma once
// The program's whole interface to the window toolkit. Windows are built from
// data tables (one WindowSpec per window) and their controls are addressed by
// window name and control name. Every text that crosses this interface is a
// GBK byte string, except the design-time texts of the tables, which are the
// UTF-8 literals of the source. This header includes no Qt header, so the
// page handlers built on it stay free of Qt.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tk {

struct Rgb {
  int r = 0, g = 0, b = 0;
};

enum class Kind {
  Label,
  Edit,
  Combo,
  Button,
  ColourButton,
  ProgressBar,
  Hyperlink,
  Picture,
  ListView,
};

enum class Align { Left, Center, Right };

enum class Input { Normal, ReadOnly, Integer, Decimal };

struct Font {
  const char* family = nullptr;  // nullptr: the toolkit's default GUI font
  int pixelSize = 0;             // 0: default size
  int weight = 0;                // 0: default; 400 normal, 700 bold, 900 black
};

// A border of `width` pixels shaded from `outer` through `middle` to `inner`.
struct GradientFrame {
  int width = 0;
  Rgb outer, middle, inner;
};

struct ListColumn {
  const char* title;
  int width;
};

// One row of a window's layout table. Positions of page controls are relative
// to the tab control's top-left corner, tab strip included; other controls
// are relative to the window's client area.
struct ControlSpec {
  const char* name = "";  // the control name; becomes the widget's objectName
  Kind kind = Kind::Label;
  int page = 0;  // 0: on the window itself; 1..n: on that page of the tab control
  int left = 0, top = 0, width = 0, height = 0;
  const char* text = "";  // design-time text (UTF-8 source, "\r\n" for line breaks)
  std::optional<Rgb> textColour;
  std::optional<Rgb> background;       // labels: fill; colour buttons: normal background
  std::optional<Rgb> hoverBackground;  // colour buttons
  std::optional<Rgb> hoverTextColour;  // colour buttons drawn as links
  Align align = Align::Left;
  bool vcenter = false;      // labels: centre single-line text vertically
  bool wordWrap = false;     // labels
  bool transparent = false;  // labels drawn without background
  bool raised = false;       // labels: a white copy one pixel behind the text
  bool multiline = false;    // edit boxes
  bool vscroll = false;      // multi-line edit boxes
  bool linkStyle = false;    // colour buttons drawn as link text (no border, hand cursor)
  Input input = Input::Normal;
  int maxBytes = 0;  // edit boxes: 0 means no limit; counts GBK bytes
  const char* tag = nullptr;
  const char* tooltip = nullptr;
  Font font;
  GradientFrame frame;
  std::vector<ListColumn> columns;                  // list views
  std::vector<std::vector<const char*>> rows;       // list views: the rows' cells
};

struct WindowSpec {
  const char* name = "";     // "MainWindow", "AboutWindow", ...
  const char* caption = "";  // UTF-8 source text
  int clientWidth = 0, clientHeight = 0;
  bool minimizeBox = false;
  bool escCloses = false;
  bool inTaskbar = true;
  // A tab control filling the client area, with these page titles; empty: none.
  const char* tabName = nullptr;
  std::vector<const char*> pageTitles;
  Font tabFont;
  std::vector<ControlSpec> controls;
};

// ----- program frame --------------------------------------------------------

// Initialises the toolkit (once, before any window). argc/argv go to Qt.
void Initialise(int& argc, char** argv);

// Creates a window from its table and shows it centred on the screen.
void CreateWindow(const WindowSpec& layout);

// CreateWindow in two steps: BuildWindow creates the window and its controls
// without showing it (handlers can be bound and start-up steps run first, so
// that an error box at start-up appears without the window behind it);
// ShowWindow shows it centred on the screen with the focus on its first
// control that takes the focus.
void BuildWindow(const WindowSpec& layout);
void ShowWindow(const char* window);

// True while a window of that name exists.
bool WindowExists(const char* window);

// Runs the event loop until the last window of the program has closed.
// Returns 0.
int RunEventLoop();

// After the event loop: destroys what is left of the windows and the
// toolkit's own application object.
void Finalise();

// Opens a window modally: creates it, calls `setup` (bind its handlers),
// shows it centred, disables the program's other windows and returns only
// after the window has been destroyed.
void OpenModal(const WindowSpec& layout, const std::function<void()>& setup);

// Destroys the window once the running handler has returned.
void CloseWindow(const char* window);

// ----- properties ----------------------------------------------------------

// Reading back what the program wrote gives exactly the bytes written, as
// long as the user has not changed the text since. Multi-line edit boxes
// hold their line breaks as "\r\n". Writing a combo box's text selects the
// item with that text (or none) and raises no event.
std::string GetText(const char* window, const char* control);
void SetText(const char* window, const char* control, const std::string& gbk);
bool IsEnabled(const char* window, const char* control);
void SetEnabled(const char* window, const char* control, bool enabled);
int GetPosition(const char* window, const char* control);  // progress bar 0..100
void SetPosition(const char* window, const char* control, int position);
std::string GetTag(const char* window, const char* control);  // GBK
void SetFocus(const char* window, const char* control);

// Combo boxes. Selection is 0-based; -1 is none.
int ComboCount(const char* window, const char* control);
int ComboInsert(const char* window, const char* control, int index, const std::string& gbk);
void ComboClear(const char* window, const char* control);
int GetSelection(const char* window, const char* control);
// Selecting an item raises the list-item-selected event, as the user's
// choice does; an index outside the list clears the selection and raises
// nothing. ComboInsert and ComboClear raise nothing, and inserting into an
// empty box leaves it without a selection.
void SetSelection(const char* window, const char* control, int index);

// ----- events ---------------------------------------------------------------

using Handler = std::function<void()>;
using KeyHandler = std::function<void(int key, int modifiers)>;
// Answer: std::nullopt lets the character through, 0 discards it, any other
// value replaces it.
using CharHandler = std::function<std::optional<int>(int character)>;

void OnClick(const char* window, const char* control, Handler handler);
void OnKeyDown(const char* window, const char* control, KeyHandler handler);
void OnChar(const char* window, const char* control, CharHandler handler);
// Raised by typing and by SetText alike (when the text changes).
void OnTextChanged(const char* window, const char* control, Handler handler);
void OnListSelected(const char* window, const char* control, Handler handler);

// From now on the source's click and key-down events run the target's
// handlers. Done only when both controls exist and are of the same kind.
void Redirect(const char* window, const char* source, const char* target);

// Inside a handler: the name of the control the user acted on (also under
// redirection); "" outside a handler.
std::string EventSource();

// ----- services -------------------------------------------------------------

constexpr int kErrorIcon = 16;
constexpr int kInformationIcon = 64;

// Modal message box with one OK button and no owner; returns when dismissed.
void MessageBox(const std::string& gbkText, int kind, const std::string& gbkTitle);
void Beep();
void Sleep(int milliseconds);  // negative counts as 0
void PumpEvents();
// Hands a link ("mailto:..." or a web address) to the desktop.
void OpenUrl(const std::string& url);

// Ends the process at once with the given exit code after running the exit
// routine registered with SetExitRoutine.
[[noreturn]] void EndProgram(int code);
void SetExitRoutine(void (*routine)());

// ----- test hooks -----------------------------------------------------------
// Used by the test suites only; the program never sets them.

struct MessageBoxRecord {
  std::string text, title;  // GBK
  int kind = 0;
};
// When set, MessageBox records its call here instead of showing a box.
void SetMessageBoxHook(std::function<void(const MessageBoxRecord&)> hook);
// When set, Sleep waits this many milliseconds instead of the asked count.
void SetSleepOverride(std::optional<int> milliseconds);
// When set, Beep calls this instead of sounding.
void SetBeepHook(std::function<void()> hook);

}  // namespace tk
