#pragma once

// A pixel buffer to compose pictures in before one blit to the screen.

#include <vector>

#include "gui/picture.h"

namespace gui {

// Top-down, 32 bits a pixel: data() is a top-down BI_RGB DIB of width() x height().
class Canvas {
public:
    // A side of zero or less makes a 0x0 canvas.
    Canvas(int width, int height, Pixel fill = 0);

    int width() const { return width_; }
    int height() const { return height_; }

    // (x, y) must lie inside the canvas.
    Pixel at(int x, int y) const { return pixels_[index(x, y)]; }
    void set(int x, int y, Pixel colour) { pixels_[index(x, y)] = colour; }

    Pixel* data() { return pixels_.data(); }
    const Pixel* data() const { return pixels_.data(); }

    // Fills columns left..right-1 of rows top..bottom-1, clipped to the canvas.
    void fillRect(int left, int top, int right, int bottom, Pixel colour);

private:
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
    }

    int width_;
    int height_;
    std::vector<Pixel> pixels_;
};

// Draws the picture at (0,0) and repeats it right and down with its own size as the step
// until the canvas is covered.
void tilePicture(Canvas& canvas, const Picture& picture);

// Draws the picture with its top-left corner at (x, y), clipped to the canvas, leaving out
// every pixel of the colour of the picture's own top-left pixel (so that one is never drawn,
// even when it lies outside the canvas).
void drawTransparent(Canvas& canvas, const Picture& picture, int x, int y);

}  // namespace gui
