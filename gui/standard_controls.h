#pragma once

// The system's own controls as the program uses them.

#include <windows.h>

#include "gui/window_definition.h"

namespace gui {

// Multi-line edit box: Enter inserts CR LF, long lines wrap at the box's width, no scroll
// bars, sunken client edge, selection hidden without the focus, no length limit of its own.
HWND createEditBox(HWND parent, int id, const ControlDefinition& definition);

// Push button with a centred multi-line caption; never the default button.
HWND createPushButton(HWND parent, int id, const ControlDefinition& definition);

}  // namespace gui
