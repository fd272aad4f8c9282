#pragma once

// A skinned button drawn from two pictures: clicked by mouse or Space, no caption, no focus
// rectangle, no sound.

#include <windows.h>

#include <optional>

#include "gui/window_definition.h"

namespace gui {

// Creates an image button child of parent with control id `id` at the definition's place;
// decodes its two pictures (a picture that does not decode is absent). Clicking calls
// definition.onClick (if any). Returns null if the window cannot be created.
HWND createImageButton(HWND parent, int id, const ControlDefinition& definition);

struct ImageButtonState {
    bool hot;      // the pointer is over it
    bool pressed;  // held down by mouse or Space
    bool focused;
};

// For tests; nullopt if button is not an image button.
std::optional<ImageButtonState> imageButtonState(HWND button);

}  // namespace gui
