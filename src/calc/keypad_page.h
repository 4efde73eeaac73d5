#pragma once
// The calculator page: handlers of the keypad on MainWindow. The calculator's
// state is KeypadState together with the caption of 数据显示框.
#include "calc/calculator.h"

// The program's one calculator state; all fields 0 at start (Idle).
extern CalcState KeypadState;

// Binds the handlers the window design gives five keypad buttons.
void BindKeypadDesignHandlers();
// Third start-up step: routes all keypad buttons to the shared handlers and
// puts the input focus on the keypad, so the keyboard works at once.
void WireKeypad();

// Click handlers shared through the redirections: each passes the tag of the
// button that was clicked, never its caption.
void EntryButtonClicked();
void OperatorButtonClicked();
void FunctionButtonClicked();
// Click handlers of 清除按钮 and 删格按钮.
void ClearAll();
void Backspace();
// Key-down on any keypad button. Reads RoundDigits and PiDigits at each key.
void CalculatorKeyDown(int key, int modifiers);
