#pragma once
// The unit converter page (handlers on MainWindow).
#include <optional>
#include <vector>

#include "core/text.h"
#include "units/catalogue.h"

// The unit catalogue, built once at start-up and only read afterwards.
// Type item k of 单位类型组合框 is UnitTypeNames[k] and UnitTables[k].
extern TextList UnitTypeNames;
extern std::vector<UnitTable> UnitTables;

// Second start-up step: builds the unit catalogue from ConfigText and lists
// the unit types.
void BuildUnitCatalogue();
// Binds the design-time handlers of the converter page.
void BindConverterPage();

// A unit type was chosen: refills both unit lists, selects the first unit in
// both and recomputes.
void SelectUnitType();
// Recomputes the output, the rate and the full output from the selections
// and the typed value.
void RecomputeConversion();
// Character typed into 输入数据编辑框: 0 discards it, no answer lets it on.
std::optional<int> FilterNumberInput(int character);
