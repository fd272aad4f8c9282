#pragma once

// The program's start and end.

#include "app/lifecycle.h"

namespace app {

// Starts the GUI layer, registers releaseLinePrefix, loads the start window and runs the
// message loop until the last window has gone. Always returns 0.
int startProgram(Definitions definitions, const gui::WindowDefinition& startWindow);

// After startProgram: the clean-up, then the exit code the quit request carried.
int finishProgram();

// The program's exit routine: releases the current line prefix.
void releaseLinePrefix();

// Runs the clean-up and ends the process at once with the exit code.
[[noreturn]] void endProgram(int exitCode);

// A failure the GUI layer cannot go on from: its error box, the exit routines dropped
// without running, and the end with exit code -1.
[[noreturn]] void fatalFailure(const wchar_t* what);

}  // namespace app
