#pragma once

namespace app {

using ExitRoutine = void (*)();

// Appends a routine to the ones run at the end, unless it is there already.
void registerExitRoutine(ExitRoutine routine);

// Runs the registered routines once each, in registration order, and forgets them.
void runExitRoutines();

// Forgets the registered routines without running them (a fatal end).
void discardExitRoutines();

}  // namespace app
