#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "gui/picture.h"
#include "tests/support/png_writer.h"

namespace {

using gui::decodePng;
using gui::Pixel;
using gui::rgb;
using Bytes = std::vector<std::uint8_t>;

using test_png::Image;
using test_png::writePng;
using enum test_png::ColourType;

// Packs samples of 1, 2 or 4 bits (most significant first), 8 bits, or 16 bits big-endian.
Bytes packed(std::initializer_list<int> samples, int bitDepth) {
    Bytes bytes;
    if (bitDepth == 16) {
        for (int s : samples) {
            bytes.push_back(static_cast<std::uint8_t>(s >> 8));
            bytes.push_back(static_cast<std::uint8_t>(s & 0xFF));
        }
        return bytes;
    }
    int used = 8;
    for (int s : samples) {
        if (used == 8) {
            bytes.push_back(0);
            used = 0;
        }
        used += bitDepth;
        bytes.back() = static_cast<std::uint8_t>(bytes.back() | (s << (8 - used)));
    }
    return bytes;
}

TEST(DecodePng, TurnsEveryColourTypeAndDepthIntoOpaqueRgb) {
    const auto palette = [](std::initializer_list<Bytes> colours) {
        Bytes entries;
        for (const Bytes& colour : colours) {
            entries.insert(entries.end(), colour.begin(), colour.end());
        }
        return entries;
    };
    const Bytes red{255, 0, 0}, teal{0, 128, 128}, grey{9, 99, 199}, white{255, 255, 255};
    const struct {
        std::string name;
        Image content;
        std::vector<Pixel> expected;
    } cases[] = {
        {"rgb 8",
         {2, 2, kRgb, 8, {{255, 0, 0, 0, 255, 0}, {0, 0, 255, 10, 20, 30}}},
         {rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255), rgb(10, 20, 30)}},
        {"rgba 8, alpha ignored even where it is zero",
         {2, 1, kRgba, 8, {{1, 2, 3, 0, 250, 251, 252, 128}}},
         {rgb(1, 2, 3), rgb(250, 251, 252)}},
        {"rgb 16",
         {2, 1, kRgb, 16, {packed({0xFFFF, 0x0000, 0x8080, 0x0000, 0xFFFF, 0x0000}, 16)}},
         {rgb(255, 0, 128), rgb(0, 255, 0)}},
        {"rgba 16", {1, 1, kRgba, 16, {packed({0x0000, 0x8080, 0xFFFF, 0x0000}, 16)}}, {rgb(0, 128, 255)}},
        {"rgb 8 with a transparent colour, ignored",
         {2, 1, kRgb, 8, {{7, 8, 9, 1, 1, 1}}, {}, {0, 7, 0, 8, 0, 9}},
         {rgb(7, 8, 9), rgb(1, 1, 1)}},
        {"grey 8", {3, 1, kGrey, 8, {{0, 128, 255}}}, {rgb(0, 0, 0), rgb(128, 128, 128), rgb(255, 255, 255)}},
        {"grey 1",
         {8, 1, kGrey, 1, {packed({1, 0, 1, 1, 0, 0, 0, 1}, 1)}},
         {rgb(255, 255, 255), 0, rgb(255, 255, 255), rgb(255, 255, 255), 0, 0, 0, rgb(255, 255, 255)}},
        {"grey 2",
         {4, 1, kGrey, 2, {packed({0, 1, 2, 3}, 2)}},
         {rgb(0, 0, 0), rgb(85, 85, 85), rgb(170, 170, 170), rgb(255, 255, 255)}},
        {"grey 4", {3, 1, kGrey, 4, {packed({0, 7, 15}, 4)}}, {rgb(0, 0, 0), rgb(119, 119, 119), rgb(255, 255, 255)}},
        {"grey 16", {2, 1, kGrey, 16, {packed({0xFFFF, 0x8080}, 16)}}, {rgb(255, 255, 255), rgb(128, 128, 128)}},
        {"grey 4 with a transparent grey, ignored",
         {2, 1, kGrey, 4, {packed({5, 15}, 4)}, {}, {0, 5}},
         {rgb(85, 85, 85), rgb(255, 255, 255)}},
        {"grey and alpha 8", {2, 1, kGreyAlpha, 8, {{77, 0, 200, 255}}}, {rgb(77, 77, 77), rgb(200, 200, 200)}},
        {"palette 8 with alpha, ignored",
         {2, 2, kPalette, 8, {{0, 1}, {2, 1}}, palette({red, teal, grey}), {0, 100}},
         {rgb(255, 0, 0), rgb(0, 128, 128), rgb(9, 99, 199), rgb(0, 128, 128)}},
        {"palette 2",
         {4, 1, kPalette, 2, {packed({3, 2, 1, 0}, 2)}, palette({red, teal, grey, white})},
         {rgb(255, 255, 255), rgb(9, 99, 199), rgb(0, 128, 128), rgb(255, 0, 0)}},
        {"palette 4",
         {3, 1, kPalette, 4, {packed({1, 0, 2}, 4)}, palette({red, teal, grey}), {255, 0, 0}},
         {rgb(0, 128, 128), rgb(255, 0, 0), rgb(9, 99, 199)}},
        {"palette 1",
         {3, 1, kPalette, 1, {packed({1, 0, 1}, 1)}, palette({grey, white})},
         {rgb(255, 255, 255), rgb(9, 99, 199), rgb(255, 255, 255)}},
    };
    for (const auto& c : cases) {
        const auto picture = decodePng(writePng(c.content));
        ASSERT_TRUE(picture.has_value()) << c.name;
        EXPECT_EQ(picture->width, c.content.width) << c.name;
        EXPECT_EQ(picture->height, c.content.height) << c.name;
        EXPECT_EQ(picture->pixels, c.expected) << c.name;
    }
}

// Every pixel different, so a row or column out of place shows.
Pixel patternAt(int x, int y) { return rgb(static_cast<std::uint8_t>(x * 20), static_cast<std::uint8_t>(y * 30), 7); }

Image patternContent(int width, int height, bool interlaced) {
    Image content{width, height, kRgb, 8, {}};
    content.interlaced = interlaced;
    for (int y = 0; y < height; ++y) {
        Bytes row;
        for (int x = 0; x < width; ++x) {
            const Pixel p = patternAt(x, y);
            row.insert(row.end(), {gui::redOf(p), gui::greenOf(p), gui::blueOf(p)});
        }
        content.rows.push_back(row);
    }
    return content;
}

TEST(DecodePng, PutsRowsTopFirstAndReadsInterlacedPictures) {
    for (const bool interlaced : {false, true}) {
        const auto picture = decodePng(writePng(patternContent(9, 7, interlaced)));
        ASSERT_TRUE(picture.has_value()) << "interlaced " << interlaced;
        ASSERT_EQ(picture->pixels.size(), 63u);
        for (int y = 0; y < 7; ++y) {
            for (int x = 0; x < 9; ++x) {
                EXPECT_EQ(picture->at(x, y), patternAt(x, y)) << x << "," << y << " interlaced " << interlaced;
                EXPECT_EQ(picture->pixels[static_cast<std::size_t>(y * 9 + x)], patternAt(x, y));
            }
        }
    }
}

TEST(DecodePng, AcceptsSidesUpTo4096AndRefusesLonger) {
    const struct {
        int width;
        int height;
        bool decodes;
    } cases[] = {{4096, 1, true}, {1, 4096, true}, {4097, 1, false}, {1, 4097, false}};
    for (const auto& c : cases) {
        Image content{c.width, c.height, kGrey, 1, {}};
        content.rows.assign(static_cast<std::size_t>(c.height), Bytes(static_cast<std::size_t>((c.width + 7) / 8), 0));
        const auto picture = decodePng(writePng(content));
        EXPECT_EQ(picture.has_value(), c.decodes) << c.width << "x" << c.height;
        if (picture) {
            EXPECT_EQ(picture->pixels.size(), static_cast<std::size_t>(c.width * c.height));
        }
    }
}

struct Chunk {
    std::size_t offset;  // of its length field
    std::size_t length;  // of its data
    std::string type;
};

std::vector<Chunk> chunksOf(const Bytes& png) {
    std::vector<Chunk> chunks;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::size_t length = (std::size_t{png[at]} << 24) | (std::size_t{png[at + 1]} << 16) |
                                   (std::size_t{png[at + 2]} << 8) | png[at + 3];
        chunks.push_back({at, length,
                          std::string(png.begin() + static_cast<std::ptrdiff_t>(at + 4),
                                      png.begin() + static_cast<std::ptrdiff_t>(at + 8))});
        at += 12 + length;
    }
    return chunks;
}

Chunk chunkOf(const Bytes& png, const std::string& type) {
    for (const Chunk& chunk : chunksOf(png)) {
        if (chunk.type == type) {
            return chunk;
        }
    }
    ADD_FAILURE() << "no " << type << " chunk";
    return {0, 0, ""};
}

void putBigEndian(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
    }
}

// Changes a chunk's data and writes the CRC that fits, so that only the change is wrong.
Bytes withChunkEdited(Bytes png, const std::string& type, const std::function<void(std::uint8_t* data)>& edit) {
    const Chunk chunk = chunkOf(png, type);
    edit(png.data() + chunk.offset + 8);
    const auto crc = crc32(crc32(0, nullptr, 0), png.data() + chunk.offset + 4, static_cast<uInt>(chunk.length + 4));
    putBigEndian(png, chunk.offset + 8 + chunk.length, static_cast<std::uint32_t>(crc));
    return png;
}

Bytes firstBytes(const Bytes& png, std::size_t count) {
    return Bytes(png.begin(), png.begin() + static_cast<std::ptrdiff_t>(count));
}

Bytes withByteFlipped(Bytes png, std::size_t at) {
    png[at] ^= 0x5A;
    return png;
}

Bytes withoutChunk(Bytes png, const std::string& type) {
    const Chunk chunk = chunkOf(png, type);
    const auto begin = png.begin() + static_cast<std::ptrdiff_t>(chunk.offset);
    png.erase(begin, begin + static_cast<std::ptrdiff_t>(chunk.length + 12));
    return png;
}

TEST(DecodePng, RefusesWhatDoesNotDecodeCleanly) {
    const Bytes good = writePng(patternContent(4, 3, false));
    ASSERT_TRUE(decodePng(good).has_value());
    const Chunk idat = chunkOf(good, "IDAT");
    const Chunk ihdr = chunkOf(good, "IHDR");
    const auto setSize = [](std::uint32_t width, std::uint32_t height) {
        return [=](std::uint8_t* data) {
            Bytes field(8);
            putBigEndian(field, 0, width);
            putBigEndian(field, 4, height);
            std::memcpy(data, field.data(), 8);
        };
    };

    const struct {
        std::string name;
        Bytes png;
    } cases[] = {
        {"empty", {}},
        {"signature only", firstBytes(good, 8)},
        {"wrong signature", withByteFlipped(good, 1)},
        {"not a picture at all", Bytes(200, 0x41)},
        {"cut inside IHDR", firstBytes(good, 8 + 12)},
        {"cut after IHDR", firstBytes(good, idat.offset)},
        {"cut inside IDAT's data", firstBytes(good, idat.offset + 8 + idat.length / 2)},
        {"cut before IDAT's CRC", firstBytes(good, idat.offset + 8 + idat.length)},
        {"cut before IEND", firstBytes(good, good.size() - 12)},
        {"cut inside IEND's CRC", firstBytes(good, good.size() - 1)},
        {"IHDR CRC wrong", withByteFlipped(good, ihdr.offset + 8 + ihdr.length)},
        {"IDAT CRC wrong", withByteFlipped(good, idat.offset + 8 + idat.length)},
        {"IDAT data changed, CRC wrong", withByteFlipped(good, idat.offset + 8 + idat.length / 2)},
        {"IDAT zlib header broken", withChunkEdited(good, "IDAT", [](std::uint8_t* data) { data[0] = 0x0F; })},
        {"IDAT deflate block type invalid", withChunkEdited(good, "IDAT", [](std::uint8_t* data) { data[2] = 0x07; })},
        {"no IDAT", withoutChunk(good, "IDAT")},
        {"more rows declared than stored", withChunkEdited(good, "IHDR", setSize(4, 6))},
        {"zero width", withChunkEdited(good, "IHDR", setSize(0, 3))},
        {"zero height", withChunkEdited(good, "IHDR", setSize(4, 0))},
        {"huge declared size", withChunkEdited(good, "IHDR", setSize(100000, 100000))},
        {"width beyond 31 bits", withChunkEdited(good, "IHDR", setSize(0x80000000u, 3))},
        {"invalid bit depth", withChunkEdited(good, "IHDR", [](std::uint8_t* data) { data[8] = 3; })},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(decodePng(c.png).has_value()) << c.name;
    }
}

}  // namespace
