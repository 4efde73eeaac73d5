#pragma once
// The converter page's arithmetic: from the catalogue, the three selections
// and the typed value to the three texts the page shows.
#include <optional>
#include <string_view>
#include <vector>

#include "core/text.h"
#include "units/catalogue.h"

struct ConversionTexts {
  Text output;      // the value in the output unit
  Text rate;        // how many of the smaller unit make one of the larger
  Text fullOutput;  // whole larger units, then the rest in the smaller unit
};

// typeSelection, inputSelection and outputSelection are 0-based combo box
// selections, -1 for none; the unit names are the texts the two unit combo
// boxes show. A selection without a table or without a factor gives three
// empty texts.
ConversionTexts ConvertUnits(const std::vector<UnitTable>& tables, int typeSelection,
                             int inputSelection, int outputSelection, std::string_view inputText,
                             std::string_view inputUnitName, std::string_view outputUnitName);

// The answer to a character typed into the value box holding currentText:
// 0 refuses a second "." and a "-" into a box that is not empty; std::nullopt
// lets the character on to the box (whose decimal input mode drops the rest).
std::optional<int> NumberInputAnswer(int character, std::string_view currentText);
