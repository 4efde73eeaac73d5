#pragma once
// The unit catalogue: unit types, their units and conversion factors, read
// from the unit lines of config.ini. Pure logic over GBK texts.
#include <string_view>
#include <vector>

#include "core/text.h"

// The units of one type. factors[j] belongs to unitNames[j]; a malformed unit
// line can leave the two lists of different lengths.
struct UnitTable {
  TextList unitNames;
  TextList factors;  // decimal texts, read with TextToNumber at each use
};

struct UnitCatalogue {
  TextList typeNames;             // in the order of their header lines
  std::vector<UnitTable> tables;  // tables[k] holds the units of typeNames[k]
};

// Builds the catalogue from the whole text of config.ini.
//
// Every type is a "    类型=" header up to its line break. A type's block runs
// from the FIRST occurrence of its header line anywhere in the text up to the
// first occurrence after it of the next type's header line (for the last
// type: ";//配置结束___"). Within the block the unit names are the pieces
// between "        名称=" and "‖", the factors those between "‖倍率=" and
// the line break, each list scanned on its own. Marker searches step over
// two-byte characters, at most 100000 pieces per list are taken, and a
// marker with no end marker after it ends that list.
//
// The time grows with the size of the text plus the size of the result.
UnitCatalogue ParseUnitCatalogue(std::string_view configText);
