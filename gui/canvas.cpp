#include "gui/canvas.h"

#include <algorithm>

namespace gui {
namespace {

bool isEmpty(const Picture& picture) {
    return picture.width <= 0 || picture.height <= 0 ||
           picture.pixels.size() < static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
}

}  // namespace

Canvas::Canvas(int width, int height, Pixel fill)
    : width_(width > 0 && height > 0 ? width : 0),
      height_(width > 0 && height > 0 ? height : 0),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill) {}

void Canvas::fillRect(int left, int top, int right, int bottom, Pixel colour) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width_);
    bottom = std::min(bottom, height_);
    if (left >= right) {
        return;
    }
    for (int y = top; y < bottom; ++y) {
        std::fill(pixels_.begin() + static_cast<std::ptrdiff_t>(index(left, y)),
                  pixels_.begin() + static_cast<std::ptrdiff_t>(index(right, y)), colour);
    }
}

void tilePicture(Canvas& canvas, const Picture& picture) {
    if (isEmpty(picture)) {
        return;
    }
    for (int y = 0; y < canvas.height(); ++y) {
        const int row = y % picture.height;
        for (int x = 0; x < canvas.width(); ++x) {
            canvas.set(x, y, picture.at(x % picture.width, row));
        }
    }
}

void drawTransparent(Canvas& canvas, const Picture& picture, int x, int y) {
    if (isEmpty(picture)) {
        return;
    }
    const Pixel transparent = picture.at(0, 0);
    const int firstColumn = std::max(0, -x);
    const int firstRow = std::max(0, -y);
    const int endColumn = std::min(picture.width, canvas.width() - x);
    const int endRow = std::min(picture.height, canvas.height() - y);
    for (int row = firstRow; row < endRow; ++row) {
        for (int column = firstColumn; column < endColumn; ++column) {
            const Pixel colour = picture.at(column, row);
            if (colour != transparent) {
                canvas.set(x + column, y + row, colour);
            }
        }
    }
}

}  // namespace gui
