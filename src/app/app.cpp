#include "app/app.h"

#include <cfenv>
#include <string>

#include "app/main_window.h"
#include "calc/keypad_page.h"
#include "config/settings_page.h"
#include "config/settings_state.h"
#include "core/fatal.h"
#include "core/gbk.h"
#include "namescore/namescore_page.h"
#include "toolkit/toolkit.h"
#include "units/converter_page.h"
#include "windows/windows.h"

namespace {

void ShowFatalError(const std::string& gbkText) {
  tk::MessageBox(gbkText, tk::kErrorIcon, Gbk("错误"));
}

}  // namespace

void CreateCatalogueArrays() {
  UnitTypeNames.clear();
  UnitTables.clear();
}

void ReleaseAtExit() {
  std::string().swap(ConfigText);
  TextList().swap(UnitTypeNames);
  std::vector<UnitTable>().swap(UnitTables);
}

void OnMainWindowCreated() {
  // The catalogue is parsed from the text LoadSettings has just read, and
  // the keypad takes input only once it is wired.
  LoadSettings();
  BuildUnitCatalogue();
  WireKeypad();
}

void OpenMainWindow() {
  // Built hidden, so that a config.ini error box stands alone on the screen.
  tk::BuildWindow(MainWindowSpec());
  BindKeypadDesignHandlers();
  BindConverterPage();
  BindNameScorePage();
  BindSettingsPage();
  BindWindowButtons();
  OnMainWindowCreated();
  tk::ShowWindow(kMainWindow);
}

void InitialiseProgram(int& argc, char** argv) {
  tk::Initialise(argc, argv);
  // Round to nearest with every exception masked: a division by zero or an
  // invalid operation gives an infinity or a NaN and never traps.
  std::fesetenv(FE_DFL_ENV);
  std::fesetround(FE_TONEAREST);
  CreateCatalogueArrays();
  tk::SetExitRoutine(&ReleaseAtExit);
  SetFatalErrorReporter(&ShowFatalError);
}

int RunProgram(int& argc, char** argv) {
  InitialiseProgram(argc, argv);
  OpenMainWindow();
  const int code = tk::RunEventLoop();
  tk::Finalise();
  return code;
}
