#pragma once
// The name score page (handlers on MainWindow).

// Binds the design-time handlers of the name score page.
void BindNameScorePage();
