#pragma once
// The life of the process: start-up, the main window, the exit routine.

// The program's entry: initialises the toolkit and the floating-point
// environment, opens MainWindow, runs the event loop and answers the exit
// code, 0 once the window has closed.
int RunProgram(int& argc, char** argv);

// RunProgram's steps before the main window: the toolkit, the
// floating-point environment, the catalogue arrays, the exit routine and the
// fatal error box.
void InitialiseProgram(int& argc, char** argv);

// Empties the unit catalogue before the start-up steps fill it.
void CreateCatalogueArrays();
// Releases what the program-wide globals hold; runs once at the end.
void ReleaseAtExit();
// The start-up steps, in their fixed order: LoadSettings, BuildUnitCatalogue,
// WireKeypad.
void OnMainWindowCreated();
// Builds MainWindow, binds every page's handlers, runs OnMainWindowCreated
// and shows the window: all of RunProgram but the toolkit set-up and the
// event loop.
void OpenMainWindow();
