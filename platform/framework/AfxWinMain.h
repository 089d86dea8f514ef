#pragma once

// The program's entry into the class library, and the start-up calls that
// have nothing to do on this system.

#include "platform/base/CString.h"

#include <vector>

// Keeps the arguments (UTF-8, the program's name first), then runs the
// application object: InitInstance, and Run when it succeeded, else
// ExitInstance. Returns the exit code; -1 without an application object.
int AfxWinMain(int argc, char** argv);

// The arguments AfxWinMain kept.
const std::vector<CString>& AfxGetArguments();
// Replaces them, for a program or test that runs the application itself.
void AfxSetArguments(std::vector<CString> arguments);

// Initialises the component services for the thread (OleInitialize); TRUE.
BOOL AfxOleInit();
// Control hosting needs no start-up here.
void AfxEnableControlContainer();
