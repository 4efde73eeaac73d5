#include "units/converter_page.h"

#include <cstddef>
#include <utility>

#include "config/settings_state.h"
#include "toolkit/toolkit.h"
#include "units/conversion.h"

TextList UnitTypeNames;
std::vector<UnitTable> UnitTables;

namespace {

constexpr const char* kWindow = "MainWindow";
constexpr const char* kTypeList = "单位类型组合框";
constexpr const char* kInputUnitList = "输入单位组合框";
constexpr const char* kOutputUnitList = "输出单位组合框";
constexpr const char* kValueBox = "输入数据编辑框";
constexpr const char* kOutputBox = "输出数据编辑框";
constexpr const char* kRateBox = "进率编辑框";
constexpr const char* kFullOutputBox = "完整输出编辑框";

void AppendItem(const char* list, const Text& text) {
  tk::ComboInsert(kWindow, list, tk::ComboCount(kWindow, list), text);
}

}  // namespace

void BuildUnitCatalogue() {
  UnitCatalogue catalogue = ParseUnitCatalogue(ConfigText);
  UnitTypeNames = std::move(catalogue.typeNames);
  UnitTables = std::move(catalogue.tables);
  for (const Text& name : UnitTypeNames) AppendItem(kTypeList, name);
}

void SelectUnitType() {
  tk::ComboClear(kWindow, kInputUnitList);
  tk::ComboClear(kWindow, kOutputUnitList);
  tk::SetText(kWindow, kValueBox, "");
  tk::SetText(kWindow, kOutputBox, "");
  tk::SetText(kWindow, kRateBox, "");
  const int type = tk::GetSelection(kWindow, kTypeList);
  if (type >= 0 && static_cast<std::size_t>(type) < UnitTables.size()) {
    for (const Text& name : UnitTables[static_cast<std::size_t>(type)].unitNames) {
      AppendItem(kInputUnitList, name);
      AppendItem(kOutputUnitList, name);
    }
    tk::SetSelection(kWindow, kInputUnitList, 0);
    tk::SetSelection(kWindow, kOutputUnitList, 0);
  }
  RecomputeConversion();
}

void RecomputeConversion() {
  const ConversionTexts shown = ConvertUnits(
      UnitTables, tk::GetSelection(kWindow, kTypeList), tk::GetSelection(kWindow, kInputUnitList),
      tk::GetSelection(kWindow, kOutputUnitList), tk::GetText(kWindow, kValueBox),
      tk::GetText(kWindow, kInputUnitList), tk::GetText(kWindow, kOutputUnitList));
  tk::SetText(kWindow, kOutputBox, shown.output);
  tk::SetText(kWindow, kRateBox, shown.rate);
  tk::SetText(kWindow, kFullOutputBox, shown.fullOutput);
}

std::optional<int> FilterNumberInput(int character) {
  return NumberInputAnswer(character, tk::GetText(kWindow, kValueBox));
}

void BindConverterPage() {
  tk::OnListSelected(kWindow, kTypeList, SelectUnitType);
  tk::OnListSelected(kWindow, kInputUnitList, RecomputeConversion);
  tk::OnListSelected(kWindow, kOutputUnitList, RecomputeConversion);
  tk::OnTextChanged(kWindow, kValueBox, RecomputeConversion);
  tk::OnChar(kWindow, kValueBox, FilterNumberInput);
}
