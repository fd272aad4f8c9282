#include "gui/picture.h"

#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <new>

namespace gui {
namespace {

struct MemoryInput {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t offset;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* input = static_cast<MemoryInput*>(png_get_io_ptr(png));
    if (count > input->size - input->offset) {
        png_error(png, "truncated");
    }
    std::memcpy(out, input->data + input->offset, count);
    input->offset += count;
}

// libpng must not print: a bad picture is an ordinary result here.
[[noreturn]] void stopDecoding(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void ignoreWarning(png_structp, png_const_charp) {}

// libpng sizes a chunk's buffer by the length the chunk declares, before reading it, and
// only warns when that length is absurd; so a few damaged bytes could reserve gigabytes.
// No block that a picture of kMaxPictureSide needs comes near this bound.
constexpr png_alloc_size_t kMaxLibpngBlock = png_alloc_size_t{8} << 20;

png_voidp allocateBounded(png_structp, png_alloc_size_t size) {
    return size <= kMaxLibpngBlock ? std::malloc(size) : nullptr;
}
void release(png_structp, png_voidp block) { std::free(block); }

// Owns libpng's read state.
class PngReader {
public:
    PngReader()
        : png_(png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, &stopDecoding, &ignoreWarning, nullptr,
                                        &allocateBounded, &release)) {
        if (png_ != nullptr) {
            info_ = png_create_info_struct(png_);
        }
    }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;
    ~PngReader() { png_destroy_read_struct(&png_, info_ != nullptr ? &info_ : nullptr, nullptr); }

    bool ready() const { return png_ != nullptr && info_ != nullptr; }
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

private:
    png_structp png_;
    png_infop info_ = nullptr;
};

// libpng reports errors by longjmp into the two functions below, so they and everything they
// call hold nothing with a destructor.

bool readHeaderAsRgb8(png_structp png, png_infop info) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_set_user_limits(png, kMaxPictureSide, kMaxPictureSide);
    png_read_info(png, info);
    png_set_expand(png);  // palette to RGB, low-depth grey to 8 bits, tRNS to alpha
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    png_set_strip_alpha(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return png_get_bit_depth(png, info) == 8 && png_get_channels(png, info) == 3;
}

bool readRowsToEnd(png_structp png, png_infop info, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_read_image(png, rows);
    png_read_end(png, info);
    return true;
}

std::optional<Picture> decode(std::span<const std::uint8_t> png) {
    PngReader reader;
    if (!reader.ready()) {
        return std::nullopt;
    }
    MemoryInput input{png.data(), png.size(), 0};
    png_set_read_fn(reader.png(), &input, &readFromMemory);
    if (!readHeaderAsRgb8(reader.png(), reader.info())) {
        return std::nullopt;
    }
    const png_uint_32 width = png_get_image_width(reader.png(), reader.info());
    const png_uint_32 height = png_get_image_height(reader.png(), reader.info());
    if (width == 0 || height == 0 || width > kMaxPictureSide || height > kMaxPictureSide) {
        return std::nullopt;
    }

    const std::size_t rowBytes = std::size_t{width} * 3;
    std::vector<png_byte> bytes(rowBytes * height);
    std::vector<png_bytep> rows(height);
    for (png_uint_32 y = 0; y < height; ++y) {
        rows[y] = bytes.data() + rowBytes * y;
    }
    if (!readRowsToEnd(reader.png(), reader.info(), rows.data())) {
        return std::nullopt;
    }

    Picture picture{static_cast<int>(width), static_cast<int>(height), {}};
    picture.pixels.resize(std::size_t{width} * height);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        picture.pixels[i] = rgb(bytes[3 * i], bytes[3 * i + 1], bytes[3 * i + 2]);
    }
    return picture;
}

}  // namespace

std::optional<Picture> decodePng(std::span<const std::uint8_t> png) {
    if (png.empty()) {
        return std::nullopt;
    }
    try {
        return decode(png);
    } catch (const std::bad_alloc&) {
        return std::nullopt;  // callers run inside window procedures
    }
}

}  // namespace gui
