#pragma once

// The window lifecycle: which windows live, how they are loaded (normally or fully modal),
// destroyed (at once or deferred), closed, and when the program's message loop ends.

#include <windows.h>

#include <span>

#include "gui/window.h"
#include "gui/window_definition.h"

namespace app {

using Definitions = std::span<const gui::WindowDefinition* const>;

// Starts the GUI layer: OLE for the GUI thread, the hidden owner window, the definitions.
// Also resets the lifecycle to its starting state.
void initGuiLayer(Definitions definitions);

// The clean-up at the end: exit routines, icons, hidden owner window, OLE. A second run
// finds nothing left to do.
void shutdownGuiLayer();

// Loads the window of a definition; a fully modal load returns only when the window is
// gone. False when the window or a control cannot be created or the parent is not a live
// window of the program.
bool loadWindow(const gui::WindowDefinition& definition, HWND parent = nullptr, bool fullyModal = false);

// Loads the start window; a failure is fatal.
void loadStartWindow(const gui::WindowDefinition& definition);

// Asks for the destruction of the definition's live window: deferred through the message
// loop, or at once. Fatal if the definition has no live window.
void destroyWindow(const gui::WindowDefinition& definition, bool atOnce = false);

// Runs until the quit request is taken from the queue, which happens when the last window
// of the program has gone; returns at once if no window lives. Returns the quit value.
int runMessageLoop();

// The live window of a definition, or null.
gui::Window* liveWindow(const gui::WindowDefinition& definition);

// The invisible tool window that owns the windows without a taskbar button.
HWND hiddenOwnerWindow();

// The big and small icons made from the resource DEFAULT_ICON, loaded on first need.
struct ProgramIcon {
    HICON big;
    HICON small;
};
ProgramIcon programIcon();

}  // namespace app
