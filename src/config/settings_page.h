#pragma once
// The settings page and the loading of config.ini (handlers on MainWindow).

// First start-up step: reads config.ini beside the program or ends the program.
void LoadSettings();
// Binds the design-time handlers of the settings page.
void BindSettingsPage();
void ApplySettings();
void RestoreDefaultSettings();
void SaveSettings();
