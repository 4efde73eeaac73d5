#include "calc/keypad_page.h"

void BindKeypadDesignHandlers() {}
void WireKeypad() {}
