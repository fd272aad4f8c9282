#pragma once

#include "gui/window_definition.h"

namespace ui {

// The start window: eleven interface buttons, the usage hint and the close button.
extern const gui::WindowDefinition ChooserWindow;

void onChooserWindowCreated();
// One click handler per interface button, fixed to its interface number.
template <int InterfaceNumber>
void onInterfaceClicked();
void onHelpClicked();
void onCloseClicked();

}  // namespace ui
