#include "config/settings_page.h"

#include "config/config_file.h"
#include "config/config_text.h"
#include "config/settings_state.h"
#include "core/gbk.h"
#include "core/number.h"
#include "core/text.h"
#include "toolkit/toolkit.h"

std::string ConfigText;
std::int32_t RoundDigits = 0;
std::int32_t PiDigits = 0;

namespace {

constexpr const char* kWindow = "MainWindow";
constexpr const char* kRoundDigitsBox = "约到位数编辑框";
constexpr const char* kPiDigitsBox = "圆周率编辑框";

void ShowError(const char* message) {
  tk::MessageBox(Gbk(message), tk::kErrorIcon, Gbk("错误提示"));
}

[[noreturn]] void RefuseToStart(const char* message) {
  ShowError(message);
  tk::EndProgram(0);
}

}  // namespace

void LoadSettings() {
  const std::string path = ConfigPath();
  if (!EntryExists(path)) RefuseToStart("系统配置文件不存在！");
  // A file that exists but cannot be read gives no bytes and fails the
  // format test below.
  ConfigText = BytesToText(ReadWholeFile(path));
  if (!ConfigFormatIsValid(ConfigText)) RefuseToStart("系统配置文件有错误！");
  const ConfigSettings settings = ReadConfigSettings(ConfigText);
  RoundDigits = settings.roundDigits;
  PiDigits = settings.piDigits;
  tk::SetText(kWindow, kRoundDigitsBox, IntegerToText(RoundDigits));
  tk::SetText(kWindow, kPiDigitsBox, IntegerToText(PiDigits));
}

void BindSettingsPage() {
  tk::OnClick(kWindow, "默认按钮", &RestoreDefaultSettings);
  tk::OnClick(kWindow, "确认按钮", &ApplySettings);
}

void RestoreDefaultSettings() {
  tk::SetText(kWindow, kRoundDigitsBox, "2");
  tk::SetText(kWindow, kPiDigitsBox, "11");
  ApplySettings();
}

void ApplySettings() {
  RoundDigits = TextToInteger(tk::GetText(kWindow, kRoundDigitsBox));
  PiDigits = TextToInteger(tk::GetText(kWindow, kPiDigitsBox));
  SaveSettings();
}

// The boxes keep what the user typed ("007" stays "007"); only the values
// read from them are stored, without any range check, and written.
void SaveSettings() {
  RoundDigits = TextToInteger(tk::GetText(kWindow, kRoundDigitsBox));
  PiDigits = TextToInteger(tk::GetText(kWindow, kPiDigitsBox));
  ConfigText = RewriteConfigSettings(ConfigText, RoundDigits, PiDigits);
  // The new values are in effect whether or not the file takes them; a
  // failed write is reported so that the user knows the next start will
  // not have them.
  if (!WriteWholeFile(ConfigPath(), ConfigText)) ShowError("配置文件保存失败！");
}
