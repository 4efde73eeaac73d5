#include "windows/windows.h"

void BindWindowButtons() {}
