#pragma once

// How an image button looks in each of its states, as a pure function of that state.

#include "gui/canvas.h"
#include "gui/picture.h"

namespace gui {

struct ButtonColours {
    Pixel face;
    Pixel shadow;
    Pixel highlight;
};

struct ButtonLook {
    bool hot = false;      // the pointer is over it
    bool pressed = false;  // held down by mouse or Space
    bool focused = false;  // does not change the look
};

// Paints a whole button into canvas (canvas size = button size): the face, lightened while
// hot or pressed; a one-pixel raised edge while hot, sunken while pressed (the top and left
// lines own the top-right and bottom-left corners); then the picture centred, one pixel
// right and down while pressed, leaving out its top-left pixel's colour. The hover picture
// shows while hot or pressed, the normal one otherwise; a missing one is stood in for by the
// other. Focus changes nothing.
void paintImageButton(Canvas& canvas, const ButtonLook& look, const ButtonColours& colours, const Picture* normal,
                      const Picture* hover);

}  // namespace gui
