#pragma once

// Pictures decoded from PNG data into plain pixels, ready to be composed and blitted.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace gui {

// 0x00RRGGBB; in memory little-endian this is a 32-bit BI_RGB DIB pixel (B, G, R, 0).
using Pixel = std::uint32_t;

constexpr Pixel rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return (Pixel{r} << 16) | (Pixel{g} << 8) | Pixel{b};
}
constexpr std::uint8_t redOf(Pixel p) { return static_cast<std::uint8_t>(p >> 16); }
constexpr std::uint8_t greenOf(Pixel p) { return static_cast<std::uint8_t>(p >> 8); }
constexpr std::uint8_t blueOf(Pixel p) { return static_cast<std::uint8_t>(p); }

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Pixel> pixels;  // row-major, top row first

    // (x, y) must lie inside the picture.
    Pixel at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
    }
};

// Larger pictures are refused: ours are a few hundred pixels, and a forged header must not
// make us allocate gigabytes.
inline constexpr int kMaxPictureSide = 4096;

// Decodes PNG data of any colour type and bit depth to 8-bit RGB; alpha and transparency
// chunks are ignored, as the pictures are opaque. Returns nullopt for anything that does not
// decode cleanly up to its end chunk: empty, truncated, corrupt, or a side of zero or above
// kMaxPictureSide.
std::optional<Picture> decodePng(std::span<const std::uint8_t> png);

}  // namespace gui
