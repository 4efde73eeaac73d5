#pragma once
// MainWindow's layout: the tab control 模式选择夹 with its four pages and
// every control of each page.
#include "toolkit/toolkit.h"

inline constexpr const char* kMainWindow = "MainWindow";

const tk::WindowSpec& MainWindowSpec();
