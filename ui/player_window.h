#pragma once

#include "gui/window_definition.h"

namespace ui {

// The window in which videos are watched: the browser, the edit box and the play button.
extern const gui::WindowDefinition PlayerWindow;

void onPlayerWindowCreated();
void onPlayClicked();

}  // namespace ui
