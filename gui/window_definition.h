#pragma once

// Windows are data: a table of settings and a table of controls with their handlers, which
// the GUI layer turns into a window. Texts are GBK bytes.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace gui {

// Event handlers are free functions without arguments or result.
using Handler = void (*)();

using PngData = std::span<const std::uint8_t>;

enum class ControlKind {
    ImageButton,  // skinned button drawn from two pictures, clicked by mouse or Space
    EditBox,      // multi-line edit box
    PushButton,   // system push button with a caption
    WebBrowser,   // the system web-browser control in a container window
};

struct BrowserSettings {
    std::string_view initialAddress;  // navigated at creation unless empty
    bool offline = false;
    bool silent = false;
    int textSize = 2;  // 0 (smallest) to 4 (largest); clamped
};

struct ControlDefinition {
    std::string_view name;
    ControlKind kind;
    int left;
    int top;
    int width;
    int height;
    Handler onClick = nullptr;
    std::string_view caption = {};  // push button
    PngData normalPicture = {};     // image button: shown at rest
    PngData hoverPicture = {};      // image button: shown while hot or pressed
    BrowserSettings browser = {};   // web browser
};

enum class Frame {
    None,              // no border, no caption, no system menu: a skinned window
    FixedWithCaption,  // a normal frame with caption and system menu, not resizable
};

struct WindowDefinition {
    std::string_view title;
    int width;  // outer size, frame included
    int height;
    Frame frame;
    bool minimizeBox;
    bool maximizeBox;
    bool showInTaskbar;  // false: owned by the hidden owner window
    bool visible;        // shown as soon as it has been loaded
    bool escCloses;
    PngData backgroundPicture = {};  // tiled from the top-left corner; empty: button face
    bool defaultGuiFont = false;     // controls use the system's default GUI font
    // Created in this order, which is also the tab order.
    std::vector<ControlDefinition> controls = {};
    Handler onCreated = nullptr;
    Handler onMoved = nullptr;
    Handler onResized = nullptr;
};

}  // namespace gui
