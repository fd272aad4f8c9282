#pragma once

// A small PNG writer for test fixtures, independent of the decoder's library: the tests
// state the exact chunks and samples a picture holds, whatever libpng was built with.

#include <cstdint>
#include <vector>

namespace test_png {

using Bytes = std::vector<std::uint8_t>;

// Colour types as the PNG format numbers them.
enum ColourType : std::uint8_t { kGrey = 0, kRgb = 2, kPalette = 3, kGreyAlpha = 4, kRgba = 6 };

struct Image {
    int width;
    int height;
    ColourType colourType;
    int bitDepth;
    std::vector<Bytes> rows;  // packed samples, one vector per row, no filter byte
    Bytes palette = {};       // PLTE: red, green, blue per entry
    Bytes transparency = {};  // tRNS data as stored: alpha per palette entry, or 16-bit samples
    bool interlaced = false;  // Adam7; only for depths of 8 and 16 bits
};

// The PNG file: signature, IHDR, PLTE and tRNS when given, one IDAT, IEND.
Bytes writePng(const Image& image);

// An 8-bit RGB picture from 0xRRGGBB pixels, row-major.
Bytes writeRgbPng(int width, int height, const std::vector<std::uint32_t>& pixels);

}  // namespace test_png
