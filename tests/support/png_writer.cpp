#include "tests/support/png_writer.h"

#include <zlib.h>

#include <array>
#include <cstring>
#include <stdexcept>
#include <string_view>

namespace test_png {
namespace {

void appendBigEndian(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void appendChunk(Bytes& out, std::string_view type, const Bytes& data) {
    appendBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(crc32(0L, nullptr, 0), out.data() + typeAt, static_cast<uInt>(4 + data.size()));
    appendBigEndian(out, static_cast<std::uint32_t>(crc));
}

int channelsOf(ColourType type) {
    switch (type) {
        case kGrey:
        case kPalette:
            return 1;
        case kGreyAlpha:
            return 2;
        case kRgb:
            return 3;
        case kRgba:
            return 4;
    }
    return 1;
}

// Each stored row starts with its filter type; 0 stores the bytes as they are.
void appendUnfiltered(Bytes& out, const std::uint8_t* row, std::size_t size) {
    out.push_back(0);
    out.insert(out.end(), row, row + size);
}

Bytes scanlines(const Image& image) {
    Bytes out;
    if (!image.interlaced) {
        for (const Bytes& row : image.rows) {
            appendUnfiltered(out, row.data(), row.size());
        }
        return out;
    }
    if (image.bitDepth < 8) {
        throw std::invalid_argument("interlaced fixtures need whole bytes per pixel");
    }
    const std::size_t pixelBytes = static_cast<std::size_t>(channelsOf(image.colourType) * image.bitDepth / 8);
    // The seven passes of Adam7: first column and row, then the steps between them.
    constexpr std::array<std::array<int, 4>, 7> kPasses = {
        {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}}};
    for (const auto& [x0, y0, dx, dy] : kPasses) {
        for (int y = y0; y < image.height && x0 < image.width; y += dy) {
            Bytes reduced;
            for (int x = x0; x < image.width; x += dx) {
                const std::uint8_t* pixel =
                    image.rows[static_cast<std::size_t>(y)].data() + pixelBytes * static_cast<std::size_t>(x);
                reduced.insert(reduced.end(), pixel, pixel + pixelBytes);
            }
            appendUnfiltered(out, reduced.data(), reduced.size());
        }
    }
    return out;
}

Bytes deflated(const Bytes& data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    Bytes out(size);
    if (compress(out.data(), &size, data.data(), static_cast<uLong>(data.size())) != Z_OK) {
        throw std::runtime_error("zlib could not compress a fixture");
    }
    out.resize(size);
    return out;
}

}  // namespace

Bytes writePng(const Image& image) {
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    appendBigEndian(header, static_cast<std::uint32_t>(image.width));
    appendBigEndian(header, static_cast<std::uint32_t>(image.height));
    header.insert(header.end(), {static_cast<std::uint8_t>(image.bitDepth), image.colourType, 0, 0,
                                 static_cast<std::uint8_t>(image.interlaced ? 1 : 0)});
    appendChunk(out, "IHDR", header);
    if (!image.palette.empty()) {
        appendChunk(out, "PLTE", image.palette);
    }
    if (!image.transparency.empty()) {
        appendChunk(out, "tRNS", image.transparency);
    }
    appendChunk(out, "IDAT", deflated(scanlines(image)));
    appendChunk(out, "IEND", {});
    return out;
}

Bytes writeRgbPng(int width, int height, const std::vector<std::uint32_t>& pixels) {
    Image image{width, height, kRgb, 8, {}};
    for (int y = 0; y < height; ++y) {
        Bytes row;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = pixels[static_cast<std::size_t>(y * width + x)];
            row.insert(row.end(), {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                                   static_cast<std::uint8_t>(p)});
        }
        image.rows.push_back(row);
    }
    return writePng(image);
}

}  // namespace test_png
