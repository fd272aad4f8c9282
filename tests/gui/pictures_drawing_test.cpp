#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "gui/button_painting.h"
#include "gui/canvas.h"

namespace {

using gui::Canvas;
using gui::Picture;
using gui::Pixel;
using gui::rgb;

// Pictures and expected canvases are written as rows of letters, one letter a colour.
using Art = std::vector<std::string>;
using Legend = std::map<char, Pixel>;

Picture pictureFromArt(const Art& art, const Legend& legend) {
    Picture picture{static_cast<int>(art.front().size()), static_cast<int>(art.size()), {}};
    for (const std::string& row : art) {
        for (char letter : row) {
            picture.pixels.push_back(legend.at(letter));
        }
    }
    return picture;
}

Canvas canvasFromArt(const Art& art, const Legend& legend) {
    Canvas canvas(static_cast<int>(art.front().size()), static_cast<int>(art.size()));
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            canvas.set(x, y, legend.at(art[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]));
        }
    }
    return canvas;
}

// '?' marks a colour the legend does not know.
Art artOf(const Canvas& canvas, const Legend& legend) {
    Art art(static_cast<std::size_t>(canvas.height()), std::string(static_cast<std::size_t>(canvas.width()), '?'));
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            for (const auto& [letter, colour] : legend) {
                if (canvas.at(x, y) == colour) {
                    art[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = letter;
                }
            }
        }
    }
    return art;
}

const Legend kLetters = {{'.', rgb(0, 0, 0)},   {'#', rgb(255, 255, 255)}, {'k', rgb(26, 32, 42)},
                         {'a', rgb(200, 0, 0)}, {'b', rgb(0, 200, 0)},     {'c', rgb(0, 0, 200)},
                         {'d', rgb(1, 1, 1)},   {'e', rgb(2, 2, 2)},       {'f', rgb(3, 3, 3)}};

TEST(Canvas, StartsFilledAndStoresPixelsTopDown) {
    Canvas canvas(3, 2, rgb(9, 8, 7));
    EXPECT_EQ(canvas.width(), 3);
    EXPECT_EQ(canvas.height(), 2);
    EXPECT_EQ(std::vector<Pixel>(canvas.data(), canvas.data() + 6), std::vector<Pixel>(6, rgb(9, 8, 7)));
    canvas.set(1, 0, 11);
    canvas.set(2, 1, 22);
    EXPECT_EQ(canvas.data()[1], 11u);
    EXPECT_EQ(canvas.data()[5], 22u);
    EXPECT_EQ(canvas.at(2, 1), 22u);

    const Canvas empty(-4, 5);
    EXPECT_EQ(empty.width(), 0);
    EXPECT_EQ(empty.height(), 0);
}

TEST(Canvas, FillRectIsClippedAndTakesRightAndBottomAsExclusive) {
    const struct {
        int left, top, right, bottom;
        Art expected;
    } cases[] = {
        {1, 1, 3, 2, {"....", ".##.", "...."}},   {-2, -2, 1, 1, {"#...", "....", "...."}},
        {3, 2, 10, 10, {"....", "....", "...#"}}, {-5, -5, 50, 50, {"####", "####", "####"}},
        {2, 0, 2, 3, {"....", "....", "...."}},   {3, 1, 1, 2, {"....", "....", "...."}},
        {4, 0, 8, 3, {"....", "....", "...."}},   {0, -3, 4, 0, {"....", "....", "...."}},
    };
    for (const auto& c : cases) {
        Canvas canvas(4, 3, kLetters.at('.'));
        canvas.fillRect(c.left, c.top, c.right, c.bottom, kLetters.at('#'));
        EXPECT_EQ(artOf(canvas, kLetters), c.expected) << c.left << "," << c.top << "," << c.right << "," << c.bottom;
    }
}

TEST(TilePicture, RepeatsThePictureRightAndDownFromTheCorner) {
    const Picture picture = pictureFromArt({"abc", "def"}, kLetters);
    const struct {
        int width, height;
        Art expected;
    } cases[] = {
        {7, 5, {"abcabca", "defdefd", "abcabca", "defdefd", "abcabca"}},
        {3, 2, {"abc", "def"}},
        {2, 1, {"ab"}},
    };
    for (const auto& c : cases) {
        Canvas canvas(c.width, c.height, kLetters.at('.'));
        gui::tilePicture(canvas, picture);
        EXPECT_EQ(artOf(canvas, kLetters), c.expected) << c.width << "x" << c.height;
    }

    Canvas untouched(2, 2, kLetters.at('.'));
    gui::tilePicture(untouched, Picture{});
    EXPECT_EQ(artOf(untouched, kLetters), (Art{"..", ".."}));
}

TEST(DrawTransparent, LeavesOutTheTopLeftColourAndClips) {
    // 'k' is the top-left colour; the middle pixel is not, so a key taken from the first
    // visible pixel instead would show when the corner lies off the canvas.
    const Picture picture = pictureFromArt({"kab", "cak", "bck"}, kLetters);
    const struct {
        int x, y;
        Art expected;
    } cases[] = {
        {1, 1, {".....", "..ab.", ".ca..", ".bc..", "....."}},   {0, 0, {".ab..", "ca...", "bc...", ".....", "....."}},
        {-1, -1, {"a....", "c....", ".....", ".....", "....."}}, {3, 3, {".....", ".....", ".....", "....a", "...ca"}},
        {-1, 3, {".....", ".....", ".....", "ab...", "a...."}},  {5, 0, {".....", ".....", ".....", ".....", "....."}},
        {0, -3, {".....", ".....", ".....", ".....", "....."}},
    };
    for (const auto& c : cases) {
        Canvas canvas(5, 5, kLetters.at('.'));
        gui::drawTransparent(canvas, picture, c.x, c.y);
        EXPECT_EQ(artOf(canvas, kLetters), c.expected) << "at " << c.x << "," << c.y;
    }
}

TEST(DrawTransparent, KeepsWhatIsUnderTheTransparentPixels) {
    Canvas canvas = canvasFromArt({"def", "fed"}, kLetters);
    gui::drawTransparent(canvas, pictureFromArt({"kak", "kkb"}, kLetters), 0, 0);
    EXPECT_EQ(artOf(canvas, kLetters), (Art{"daf", "feb"}));
}

// The button fixtures. Face, lit face, shadow, highlight; the normal picture's label and
// transparent colour; the hover picture's label and transparent colour.
const Pixel kFace = rgb(100, 110, 120);
const Legend kButtonLetters = {
    {'f', kFace},           {'l', rgb(132, 142, 152)},  // the face with 32 added to each channel
    {'s', rgb(60, 61, 62)}, {'h', rgb(230, 231, 232)}, {'n', rgb(10, 200, 10)},
    {'k', rgb(1, 2, 3)},    {'v', rgb(200, 10, 10)},   {'j', rgb(4, 5, 6)},
};
const gui::ButtonColours kColours{kFace, kButtonLetters.at('s'), kButtonLetters.at('h')};

struct PaintCase {
    std::string name;
    gui::ButtonLook look;
    bool withNormal;
    bool withHover;
    Art expected;
};

void expectPaintings(const Art& normalArt, const Art& hoverArt, const std::vector<PaintCase>& cases) {
    const Picture normal = pictureFromArt(normalArt, kButtonLetters);
    const Picture hover = pictureFromArt(hoverArt, kButtonLetters);
    for (const auto& c : cases) {
        Canvas canvas(static_cast<int>(c.expected.front().size()), static_cast<int>(c.expected.size()), rgb(0, 0, 0));
        gui::paintImageButton(canvas, c.look, kColours, c.withNormal ? &normal : nullptr,
                              c.withHover ? &hover : nullptr);
        EXPECT_EQ(artOf(canvas, kButtonLetters), c.expected) << c.name;
    }
}

constexpr gui::ButtonLook kRest{};
constexpr gui::ButtonLook kHot{.hot = true};
constexpr gui::ButtonLook kPressed{.pressed = true};
constexpr gui::ButtonLook kHotPressed{.hot = true, .pressed = true};
constexpr gui::ButtonLook kFocused{.focused = true};

TEST(PaintImageButton, EachStateOnAButtonLargerThanItsPictures) {
    // 10x8 button, 4x4 pictures centred at (3,2), at (4,3) while pressed. The hover picture
    // holds the normal picture's transparent colour, which it draws like any other.
    const Art normal = {"knnn", "nknn", "nnnn", "nnnn"};
    const Art hover = {"jvvv", "vkvv", "vvjv", "vvvv"};
    const Art rest = {"ffffffffff", "ffffffffff", "ffffnnnfff", "fffnfnnfff",
                      "fffnnnnfff", "fffnnnnfff", "ffffffffff", "ffffffffff"};
    const Art hot = {"hhhhhhhhhh", "hlllllllls", "hlllvvvlls", "hllvkvvlls",
                     "hllvvlvlls", "hllvvvvlls", "hlllllllls", "hsssssssss"};
    const Art pressed = {"ssssssssss", "sllllllllh", "sllllllllh", "sllllvvvlh",
                         "slllvkvvlh", "slllvvlvlh", "slllvvvvlh", "shhhhhhhhh"};
    expectPaintings(normal, hover,
                    {
                        {"rest", kRest, true, true, rest},
                        {"focused only", kFocused, true, true, rest},
                        {"hot", kHot, true, true, hot},
                        {"pressed", kPressed, true, true, pressed},
                        {"hot and pressed", kHotPressed, true, true, pressed},
                        {"normal missing, at rest",
                         kRest,
                         false,
                         true,
                         {"ffffffffff", "ffffffffff", "ffffvvvfff", "fffvkvvfff", "fffvvfvfff", "fffvvvvfff",
                          "ffffffffff", "ffffffffff"}},
                        {"hover missing, hot",
                         kHot,
                         true,
                         false,
                         {"hhhhhhhhhh", "hlllllllls", "hlllnnnlls", "hllnlnnlls", "hllnnnnlls", "hllnnnnlls",
                          "hlllllllls", "hsssssssss"}},
                        {"hover missing, pressed",
                         kPressed,
                         true,
                         false,
                         {"ssssssssss", "sllllllllh", "sllllllllh", "sllllnnnlh", "slllnlnnlh", "slllnnnnlh",
                          "slllnnnnlh", "shhhhhhhhh"}},
                        {"both missing, pressed",
                         kPressed,
                         false,
                         false,
                         {"ssssssssss", "sllllllllh", "sllllllllh", "sllllllllh", "sllllllllh", "sllllllllh",
                          "sllllllllh", "shhhhhhhhh"}},
                        {"both missing, at rest",
                         kRest,
                         false,
                         false,
                         {"ffffffffff", "ffffffffff", "ffffffffff", "ffffffffff", "ffffffffff", "ffffffffff",
                          "ffffffffff", "ffffffffff"}},
                    });
}

TEST(PaintImageButton, FullSizePicturesShowTheEdgeThroughTransparentPixelsAndShiftWhenPressed) {
    // Transparent pixels at the corner, on the right edge and on the bottom edge. Pressed,
    // the picture moves to (1,1): the left column and top row are bare shadow, and the
    // picture's right column and bottom row fall off the button.
    const Art normal = {"knnnnn", "nnnnnk", "nnnnnn", "nnknnn"};
    const Art hover = {"jvvvvv", "vvvvvj", "vvvvvv", "vvjvvv"};
    expectPaintings(normal, hover,
                    {
                        {"rest", kRest, true, true, {"fnnnnn", "nnnnnf", "nnnnnn", "nnfnnn"}},
                        {"hot", kHot, true, true, {"hvvvvv", "vvvvvs", "vvvvvv", "vvsvvv"}},
                        {"pressed", kPressed, true, true, {"ssssss", "slvvvv", "svvvvv", "svvvvv"}},
                    });
}

TEST(PaintImageButton, CentresPicturesRoundingTowardsZero) {
    expectPaintings({"knnn", "nnnn"}, {"jvvv", "vvvv"},
                    {{"7x5 button, 4x2 picture at (1,1)",
                      kRest,
                      true,
                      true,
                      {"fffffff", "ffnnnff", "fnnnnff", "fffffff", "fffffff"}}});
    expectPaintings({"knnnnn", "nvnnnn", "nnnnnn", "nnnnnn", "nnnnnn", "nnnnnk"}, {"j"},
                    {{"4x4 button, 6x6 picture at (-1,-1)", kRest, true, true, {"vnnn", "nnnn", "nnnn", "nnnn"}}});
}

TEST(PaintImageButton, LightensTheFaceByAtMost32WithoutClipping) {
    const struct {
        Pixel face;
        Pixel lit;
    } cases[] = {
        {rgb(100, 110, 120), rgb(132, 142, 152)}, {rgb(240, 250, 230), rgb(245, 255, 235)},
        {rgb(0, 0, 0), rgb(32, 32, 32)},          {rgb(223, 0, 100), rgb(255, 32, 132)},
        {rgb(224, 0, 100), rgb(255, 31, 131)},    {rgb(255, 255, 255), rgb(255, 255, 255)},
        {rgb(0, 255, 0), rgb(0, 255, 0)},
    };
    for (const auto& c : cases) {
        for (const gui::ButtonLook& look : {kHot, kPressed, kRest}) {
            Canvas canvas(3, 3);
            gui::paintImageButton(canvas, look, {c.face, rgb(1, 1, 1), rgb(2, 2, 2)}, nullptr, nullptr);
            EXPECT_EQ(canvas.at(1, 1), look.hot || look.pressed ? c.lit : c.face)
                << std::hex << c.face << " hot " << look.hot << " pressed " << look.pressed;
        }
    }
}

}  // namespace
