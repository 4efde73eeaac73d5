#include "units/converter_page.h"

void BuildUnitCatalogue() {}
void BindConverterPage() {}
