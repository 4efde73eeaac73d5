#pragma once
// The Qt side of the toolkit, for the toolkit's own tests and for window
// tests that drive real widgets with QtTest. Program code uses toolkit.h.
#include <QTabWidget>
#include <QWidget>

namespace tk {

// The top-level widget of an open window; nullptr when there is none.
QWidget* WindowWidget(const char* window);
// The widget of a control (objectName = control name); nullptr when absent.
QWidget* ControlWidget(const char* window, const char* control);
// The tab control of a window; nullptr when it has none.
QTabWidget* TabWidget(const char* window);

}  // namespace tk
