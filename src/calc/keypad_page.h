#pragma once
// The calculator page: handlers of the keypad on MainWindow.

// Binds the handlers the window design gives five keypad buttons.
void BindKeypadDesignHandlers();
// Third start-up step: routes all keypad buttons to the shared handlers.
void WireKeypad();
