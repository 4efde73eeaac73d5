#include "namescore/namescore_page.h"

void BindNameScorePage() {}
