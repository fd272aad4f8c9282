#include "ui/chooser_window.h"

#include "assets/pictures.h"

namespace ui {
namespace {

gui::ControlDefinition interfaceButton(std::string_view name, int left, int top, int interfaceNumber,
                                       gui::Handler onClick) {
    return {.name = name,
            .kind = gui::ControlKind::ImageButton,
            .left = left,
            .top = top,
            .width = 80,
            .height = 40,
            .onClick = onClick,
            .normalPicture = assets::interfacePicture(interfaceNumber, false),
            .hoverPicture = assets::interfacePicture(interfaceNumber, true)};
}

gui::ControlDefinition pictureButton(std::string_view name, int left, int top, int width, int height,
                                     gui::PngData normal, gui::PngData hover, gui::Handler onClick) {
    return {.name = name,
            .kind = gui::ControlKind::ImageButton,
            .left = left,
            .top = top,
            .width = width,
            .height = height,
            .onClick = onClick,
            .normalPicture = normal,
            .hoverPicture = hover};
}

}  // namespace

// Created, and tabbed through, in the order of the names; 超级按钮3 and 超级按钮4 carry
// 接口4 and 接口3.
const gui::WindowDefinition ChooserWindow = {
    .title = "",
    .width = 390,
    .height = 190,
    .frame = gui::Frame::None,
    .minimizeBox = true,
    .maximizeBox = false,
    .showInTaskbar = true,
    .visible = true,
    .escCloses = true,
    .backgroundPicture = assets::backgroundPicture(),
    .controls =
        {
            //              name          left  top  interface  handler
            interfaceButton("超级按钮1", 10, 30, 1, &onInterfaceClicked<1>),
            interfaceButton("超级按钮2", 100, 30, 2, &onInterfaceClicked<2>),
            interfaceButton("超级按钮3", 280, 30, 4, &onInterfaceClicked<4>),
            interfaceButton("超级按钮4", 190, 30, 3, &onInterfaceClicked<3>),
            interfaceButton("超级按钮5", 10, 75, 5, &onInterfaceClicked<5>),
            interfaceButton("超级按钮6", 100, 75, 6, &onInterfaceClicked<6>),
            interfaceButton("超级按钮7", 190, 75, 7, &onInterfaceClicked<7>),
            interfaceButton("超级按钮8", 280, 75, 8, &onInterfaceClicked<8>),
            interfaceButton("超级按钮9", 10, 120, 9, &onInterfaceClicked<9>),
            interfaceButton("超级按钮10", 100, 120, 10, &onInterfaceClicked<10>),
            interfaceButton("超级按钮11", 190, 120, 11, &onInterfaceClicked<11>),
            //            name         left top  width height  normal / hover picture
            pictureButton("超级按钮12", 375, 1, 14, 14, assets::closePicture(false), assets::closePicture(true),
                          &onCloseClicked),
            pictureButton("超级按钮13", 280, 120, 80, 40, assets::helpPicture(false), assets::helpPicture(true),
                          &onHelpClicked),
        },
    .onCreated = &onChooserWindowCreated,
};

}  // namespace ui
