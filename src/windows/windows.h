#pragma once
// The About, Help and Feedback windows, opened from the settings page.

// Binds 关于按钮, 帮助按钮 and 建议按钮 of MainWindow.
void BindWindowButtons();
