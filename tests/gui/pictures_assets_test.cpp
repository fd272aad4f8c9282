#include <gtest/gtest.h>

#include <string>

#include "assets/pictures.h"
#include "gui/picture.h"

namespace {

struct Size {
    int width;
    int height;
};

Size expectedSize(std::string_view name) {
    if (name == "background.png") {
        return {390, 190};
    }
    if (name.starts_with("close_")) {
        return {14, 14};
    }
    return {80, 40};  // interface1..11 and help, normal and hover
}

TEST(EmbeddedPictures, AllDecodeAtTheirSizes) {
    const auto files = assets::pictureFiles();
    ASSERT_EQ(files.size(), 27u);
    for (const auto& file : files) {
        const auto picture = gui::decodePng(file.bytes);
        ASSERT_TRUE(picture.has_value()) << file.name;
        EXPECT_EQ(picture->width, expectedSize(file.name).width) << file.name;
        EXPECT_EQ(picture->height, expectedSize(file.name).height) << file.name;
    }
}

TEST(EmbeddedPictures, ButtonPicturesKeepTheirTransparentColourExactly) {
    // The buttons leave out the top-left pixel's colour; the pictures are made with a texture
    // colour there, or with a red of its own on the close button's hover picture.
    for (const auto& file : assets::pictureFiles()) {
        if (file.name == "background.png") {
            continue;
        }
        const auto picture = gui::decodePng(file.bytes);
        ASSERT_TRUE(picture.has_value()) << file.name;
        const gui::Pixel expected = file.name == "close_hover.png" ? gui::rgb(254, 0, 0) : gui::rgb(26, 32, 42);
        EXPECT_EQ(picture->at(0, 0), expected) << file.name;
    }
}

}  // namespace
