#include "toolkit/keymap.h"

#include <array>

namespace tk {
namespace {

// One row per Qt key. Qt names the symbol a key produced, Windows names the
// key: a US keyboard's shifted symbols therefore go back to the key they sit
// on (Shift+6 arrives as '^' and is the 6 key, 54). Keys of the numeric
// keypad carry Qt::KeypadModifier and take the third column when it is not 0:
// the keypad digits, point, minus and slash are folded onto their twins of
// the main keyboard, while keypad '*' and '+' keep their own codes 106 and
// 107, which is how the calculator tells them from Shift+8 and Shift+=.
struct Row {
  int qtKey;
  int code;
  int keypadCode;
};

constexpr std::array kRows = {
    // digits and their shifted symbols
    Row{Qt::Key_0, 48, 48}, Row{Qt::Key_1, 49, 49}, Row{Qt::Key_2, 50, 50},
    Row{Qt::Key_3, 51, 51}, Row{Qt::Key_4, 52, 52}, Row{Qt::Key_5, 53, 53},
    Row{Qt::Key_6, 54, 54}, Row{Qt::Key_7, 55, 55}, Row{Qt::Key_8, 56, 56},
    Row{Qt::Key_9, 57, 57},
    Row{Qt::Key_ParenRight, 48, 0}, Row{Qt::Key_Exclam, 49, 0}, Row{Qt::Key_At, 50, 0},
    Row{Qt::Key_NumberSign, 51, 0}, Row{Qt::Key_Dollar, 52, 0}, Row{Qt::Key_Percent, 53, 0},
    Row{Qt::Key_AsciiCircum, 54, 0}, Row{Qt::Key_Ampersand, 55, 0},
    Row{Qt::Key_Asterisk, 56, 106}, Row{Qt::Key_ParenLeft, 57, 0},
    // punctuation keys: base symbol, shifted symbol
    Row{Qt::Key_Semicolon, 186, 0}, Row{Qt::Key_Colon, 186, 0},
    Row{Qt::Key_Equal, 187, 0}, Row{Qt::Key_Plus, 187, 107},
    Row{Qt::Key_Comma, 188, 190}, Row{Qt::Key_Less, 188, 0},
    Row{Qt::Key_Minus, 189, 189}, Row{Qt::Key_Underscore, 189, 0},
    Row{Qt::Key_Period, 190, 190}, Row{Qt::Key_Greater, 190, 0},
    Row{Qt::Key_Slash, 191, 191}, Row{Qt::Key_Question, 191, 0},
    Row{Qt::Key_QuoteLeft, 192, 0}, Row{Qt::Key_AsciiTilde, 192, 0},
    Row{Qt::Key_BracketLeft, 219, 0}, Row{Qt::Key_BraceLeft, 219, 0},
    Row{Qt::Key_Backslash, 220, 0}, Row{Qt::Key_Bar, 220, 0},
    Row{Qt::Key_BracketRight, 221, 0}, Row{Qt::Key_BraceRight, 221, 0},
    Row{Qt::Key_Apostrophe, 222, 0}, Row{Qt::Key_QuoteDbl, 222, 0},
    // editing and navigation
    Row{Qt::Key_Backspace, 8, 0}, Row{Qt::Key_Clear, 12, 12},
    Row{Qt::Key_Return, 13, 13}, Row{Qt::Key_Enter, 13, 13},
    Row{Qt::Key_Pause, 19, 0}, Row{Qt::Key_CapsLock, 20, 0},
    Row{Qt::Key_Escape, 27, 0}, Row{Qt::Key_Space, 32, 0},
    Row{Qt::Key_PageUp, 33, 33}, Row{Qt::Key_PageDown, 34, 34},
    Row{Qt::Key_End, 35, 35}, Row{Qt::Key_Home, 36, 36},
    Row{Qt::Key_Left, 37, 37}, Row{Qt::Key_Up, 38, 38},
    Row{Qt::Key_Right, 39, 39}, Row{Qt::Key_Down, 40, 40},
    Row{Qt::Key_Print, 44, 0}, Row{Qt::Key_Insert, 45, 45}, Row{Qt::Key_Delete, 46, 46},
    Row{Qt::Key_Meta, 91, 0}, Row{Qt::Key_Super_L, 91, 0}, Row{Qt::Key_Super_R, 92, 0},
    Row{Qt::Key_Menu, 93, 0},
    Row{Qt::Key_NumLock, 144, 144}, Row{Qt::Key_ScrollLock, 145, 0},
    // modifier keys themselves
    Row{Qt::Key_Shift, 16, 0}, Row{Qt::Key_Control, 17, 0},
    Row{Qt::Key_Alt, 18, 0}, Row{Qt::Key_AltGr, 18, 0},
};

}  // namespace

std::optional<VirtualKey> VirtualKeyFor(int qtKey, Qt::KeyboardModifiers modifiers) {
  int code = 0;
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
    code = 65 + (qtKey - Qt::Key_A);
  } else if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
    code = 112 + (qtKey - Qt::Key_F1);
  } else {
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    for (const Row& row : kRows) {
      if (row.qtKey == qtKey) {
        code = keypad && row.keypadCode != 0 ? row.keypadCode : row.code;
        break;
      }
    }
  }
  if (code == 0) return std::nullopt;  // Tab, Shift+Tab and keys without a code

  // The key being pressed is not counted as held.
  int sum = 0;
  if (modifiers.testFlag(Qt::ControlModifier) && qtKey != Qt::Key_Control) sum += 1;
  if (modifiers.testFlag(Qt::ShiftModifier) && qtKey != Qt::Key_Shift) sum += 2;
  if (modifiers.testFlag(Qt::AltModifier) && qtKey != Qt::Key_Alt) sum += 4;
  return VirtualKey{code, sum};
}

}  // namespace tk
