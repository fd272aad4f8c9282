#pragma once

// The chooser's pictures, built into the program as PNG data.

#include <cstdint>
#include <span>
#include <string_view>

namespace assets {

using Bytes = std::span<const std::uint8_t>;

struct EmbeddedFile {
    std::string_view name;
    Bytes bytes;
};

// Every picture file, by file name ("background.png", "interface3_hover.png", ...).
std::span<const EmbeddedFile> pictureFiles();

// The named file's bytes; empty when there is no such file.
Bytes pictureFile(std::string_view name);

Bytes backgroundPicture();
Bytes interfacePicture(int interfaceNumber, bool hover);  // 1 to 11
Bytes helpPicture(bool hover);
Bytes closePicture(bool hover);

}  // namespace assets
