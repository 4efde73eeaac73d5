#include "config/settings_page.h"

#include "config/settings_state.h"

std::string ConfigText;
std::int32_t RoundDigits = 0;
std::int32_t PiDigits = 0;

void LoadSettings() {}
void BindSettingsPage() {}
void ApplySettings() {}
void RestoreDefaultSettings() {}
void SaveSettings() {}
