#pragma once
// The unit converter page (handlers on MainWindow).

// Second start-up step: builds the unit catalogue from ConfigText and lists
// the unit types.
void BuildUnitCatalogue();
// Binds the design-time handlers of the converter page.
void BindConverterPage();
