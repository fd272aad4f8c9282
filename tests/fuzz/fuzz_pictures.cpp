// decodePng on damaged PNG data, and whatever it returns drawn on small canvases.
//
// Most mutations break a chunk's CRC, which libpng refuses before it reads anything
// further; so an input whose chunks walk cleanly is decoded a second time with every CRC
// made right, to reach the header, palette and image data paths as well.

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <vector>

#include "gui/button_painting.h"
#include "gui/canvas.h"
#include "gui/picture.h"

namespace {

void check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

std::uint32_t bigEndian32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | std::uint32_t{p[3]};
}

// No picture pixel has this: they are all 0x00RRGGBB.
constexpr gui::Pixel kUntouched = 0xFF000000;

void checkTiled(const gui::Picture& picture, int width, int height) {
    gui::Canvas canvas(width, height, kUntouched);
    gui::tilePicture(canvas, picture);
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            check(canvas.at(x, y) == picture.at(x % picture.width, y % picture.height));
        }
    }
}

void checkTransparent(const gui::Picture& picture, int width, int height, int left, int top) {
    gui::Canvas canvas(width, height, kUntouched);
    gui::drawTransparent(canvas, picture, left, top);
    const gui::Pixel transparent = picture.at(0, 0);
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const long column = long{x} - left;
            const long row = long{y} - top;
            gui::Pixel expected = kUntouched;
            if (column >= 0 && column < picture.width && row >= 0 && row < picture.height) {
                const gui::Pixel colour = picture.at(static_cast<int>(column), static_cast<int>(row));
                expected = colour == transparent ? kUntouched : colour;
            }
            check(canvas.at(x, y) == expected);
        }
    }
}

void drawEverywhere(const gui::Picture& picture) {
    // Canvas sizes of the program's buttons and window, a single pixel and none at all.
    static constexpr std::array<std::array<int, 2>, 5> kCanvases = {{{80, 40}, {14, 14}, {1, 1}, {0, 7}, {390, 190}}};
    for (const auto& [width, height] : kCanvases) {
        checkTiled(picture, width, height);
        const int w = picture.width;
        const int h = picture.height;
        const std::array<std::array<int, 2>, 8> offsets = {{{0, 0},
                                                            {(width - w) / 2, (height - h) / 2},
                                                            {1 - w, 1 - h},
                                                            {width - 1, height - 1},
                                                            {-w, 0},
                                                            {width, height},
                                                            {-(1 << 20), 3},
                                                            {3, 1 << 20}}};
        for (const auto& [left, top] : offsets) {
            checkTransparent(picture, width, height, left, top);
        }

        gui::Canvas button(width, height);
        const gui::ButtonColours colours{gui::rgb(40, 48, 60), gui::rgb(10, 10, 10), gui::rgb(250, 250, 250)};
        for (const gui::ButtonLook look : {gui::ButtonLook{}, gui::ButtonLook{.hot = true},
                                           gui::ButtonLook{.pressed = true}, gui::ButtonLook{true, true, true}}) {
            gui::paintImageButton(button, look, colours, &picture, nullptr);
            gui::paintImageButton(button, look, colours, nullptr, &picture);
            gui::paintImageButton(button, look, colours, &picture, &picture);
        }
    }
}

void decodeAndDraw(std::span<const std::uint8_t> png) {
    const std::optional<gui::Picture> picture = gui::decodePng(png);
    if (!picture) {
        return;
    }
    // A PNG opens with its signature and the IHDR chunk holding the two sides.
    check(png.size() >= 24 && std::memcmp(png.data() + 12, "IHDR", 4) == 0);
    check(picture->width >= 1 && picture->width <= gui::kMaxPictureSide);
    check(picture->height >= 1 && picture->height <= gui::kMaxPictureSide);
    check(static_cast<std::uint32_t>(picture->width) == bigEndian32(png.data() + 16));
    check(static_cast<std::uint32_t>(picture->height) == bigEndian32(png.data() + 20));
    check(picture->pixels.size() ==
          static_cast<std::size_t>(picture->width) * static_cast<std::size_t>(picture->height));
    check(std::all_of(picture->pixels.begin(), picture->pixels.end(), [](gui::Pixel p) { return p <= 0xFFFFFF; }));
    drawEverywhere(*picture);
}

// The same data with the CRC of each chunk recomputed; nullopt when nothing changed or
// the chunks do not walk to the end of the data.
std::optional<std::vector<std::uint8_t>> withCrcsMended(std::span<const std::uint8_t> png) {
    std::vector<std::uint8_t> mended(png.begin(), png.end());
    bool changed = false;
    std::size_t at = 8;
    while (at + 12 <= mended.size()) {
        const std::uint32_t length = bigEndian32(mended.data() + at);
        if (length > mended.size() - at - 12) {
            return std::nullopt;
        }
        const auto crc = static_cast<std::uint32_t>(crc32(0L, mended.data() + at + 4, length + 4));
        std::uint8_t* stored = mended.data() + at + 8 + length;
        if (bigEndian32(stored) != crc) {
            stored[0] = static_cast<std::uint8_t>(crc >> 24);
            stored[1] = static_cast<std::uint8_t>(crc >> 16);
            stored[2] = static_cast<std::uint8_t>(crc >> 8);
            stored[3] = static_cast<std::uint8_t>(crc);
            changed = true;
        }
        at += 12 + std::size_t{length};
    }
    if (!changed || at != mended.size()) {
        return std::nullopt;
    }
    return mended;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> png(data, size);
    decodeAndDraw(png);
    if (const auto mended = withCrcsMended(png)) {
        decodeAndDraw(*mended);
    }
    return 0;
}
