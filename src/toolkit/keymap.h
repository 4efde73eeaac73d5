#pragma once
// Qt key events to the Windows virtual-key codes and modifier sums the
// calculator's key handler understands. Only the toolkit and its tests
// include this header.
#include <Qt>
#include <optional>

namespace tk {

struct VirtualKey {
  int code = 0;       // Windows virtual-key code, keypad folded (see keymap.cpp)
  int modifiers = 0;  // 1 Ctrl + 2 Shift + 4 Alt
};

// The key-down report for a Qt key press; nullopt for keys that are never
// reported (Tab and Shift+Tab, which move the focus, and unknown keys).
std::optional<VirtualKey> VirtualKeyFor(int qtKey, Qt::KeyboardModifiers modifiers);

}  // namespace tk
