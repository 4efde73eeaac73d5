#pragma once
// The settings page and the loading of config.ini (handlers on MainWindow).

// First start-up step: reads config.ini beside the program into ConfigText
// and sets RoundDigits and PiDigits, showing them on the settings page. A
// missing or malformed file shows its error box and ends the program with
// exit code 0.
void LoadSettings();
// Binds the design-time handlers of the settings page.
void BindSettingsPage();
// 应用配置: stores the values typed into the two boxes and saves them.
void ApplySettings();
// 恢复默认: puts 2 and 11 into the boxes, then applies them.
void RestoreDefaultSettings();
// Rewrites the settings block of ConfigText and writes config.ini; the boxes
// keep what was typed. When the file cannot be written the values still hold
// for this run and the error box "配置文件保存失败！" says so.
void SaveSettings();
