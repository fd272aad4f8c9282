#include "assets/pictures.h"

#include <algorithm>
#include <array>
#include <string>

namespace assets {

extern const std::array<EmbeddedFile, 27> kPictureFiles;

std::span<const EmbeddedFile> pictureFiles() { return kPictureFiles; }

Bytes pictureFile(std::string_view name) {
    const auto found = std::find_if(kPictureFiles.begin(), kPictureFiles.end(),
                                    [name](const EmbeddedFile& file) { return file.name == name; });
    return found == kPictureFiles.end() ? Bytes{} : found->bytes;
}

Bytes backgroundPicture() { return pictureFile("background.png"); }

Bytes interfacePicture(int interfaceNumber, bool hover) {
    return pictureFile("interface" + std::to_string(interfaceNumber) + (hover ? "_hover.png" : "_normal.png"));
}

Bytes helpPicture(bool hover) { return pictureFile(hover ? "help_hover.png" : "help_normal.png"); }

Bytes closePicture(bool hover) { return pictureFile(hover ? "close_hover.png" : "close_normal.png"); }

}  // namespace assets
