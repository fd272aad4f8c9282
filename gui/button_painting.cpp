#include "gui/button_painting.h"

#include <algorithm>

namespace gui {
namespace {

void drawEdge(Canvas& canvas, Pixel topLeft, Pixel bottomRight) {
    const int w = canvas.width();
    const int h = canvas.height();
    canvas.fillRect(0, h - 1, w, h, bottomRight);
    canvas.fillRect(w - 1, 0, w, h, bottomRight);
    canvas.fillRect(0, 0, w, 1, topLeft);
    canvas.fillRect(0, 0, 1, h, topLeft);
}

const Picture* chosenPicture(const ButtonLook& look, const Picture* normal, const Picture* hover) {
    const bool showHover = look.hot || look.pressed;
    const Picture* first = showHover ? hover : normal;
    return first != nullptr ? first : (showHover ? normal : hover);
}

// Red, green and blue raised by the same amount, at most 32 and never past 255, so that no
// channel clips and the hue stays.
Pixel litFace(Pixel face) {
    const std::uint8_t r = redOf(face);
    const std::uint8_t g = greenOf(face);
    const std::uint8_t b = blueOf(face);
    const int amount = std::min({32, 255 - r, 255 - g, 255 - b});
    return rgb(static_cast<std::uint8_t>(r + amount), static_cast<std::uint8_t>(g + amount),
               static_cast<std::uint8_t>(b + amount));
}

}  // namespace

void paintImageButton(Canvas& canvas, const ButtonLook& look, const ButtonColours& colours, const Picture* normal,
                      const Picture* hover) {
    const bool lit = look.hot || look.pressed;
    canvas.fillRect(0, 0, canvas.width(), canvas.height(), lit ? litFace(colours.face) : colours.face);
    if (look.pressed) {
        drawEdge(canvas, colours.shadow, colours.highlight);
    } else if (look.hot) {
        drawEdge(canvas, colours.highlight, colours.shadow);
    }

    const Picture* picture = chosenPicture(look, normal, hover);
    if (picture == nullptr) {
        return;
    }
    const int offset = look.pressed ? 1 : 0;
    drawTransparent(canvas, *picture, (canvas.width() - picture->width) / 2 + offset,
                    (canvas.height() - picture->height) / 2 + offset);
}

}  // namespace gui
