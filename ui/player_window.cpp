#include "ui/player_window.h"

namespace ui {

const gui::WindowDefinition PlayerWindow = {
    .title = "请保持适当网速进行观看",
    .width = 938,
    .height = 541,
    .frame = gui::Frame::FixedWithCaption,
    .minimizeBox = true,
    .maximizeBox = false,
    .showInTaskbar = true,  // loaded fully modal, so owned by the hidden owner all the same
    .visible = true,
    .escCloses = true,
    .defaultGuiFont = true,
    .controls =
        {
            // name            kind                          left  top  width height
            {.name = "编辑框1", .kind = gui::ControlKind::EditBox, .left = 6, .top = 467, .width = 840, .height = 40},
            {.name = "按钮1",
             .kind = gui::ControlKind::PushButton,
             .left = 856,
             .top = 466,
             .width = 72,
             .height = 40,
             .onClick = &onPlayClicked,
             .caption = "播放"},
            {.name = "超文本浏览框1",
             .kind = gui::ControlKind::WebBrowser,
             .left = 7,
             .top = 7,
             .width = 913,
             .height = 449,
             .browser = {.initialAddress = "C:\\Users\\Administrator\\Desktop\\免费解析使用交流群.html",
                         .offline = false,
                         .silent = false,
                         .textSize = 2}},
        },
    .onCreated = &onPlayerWindowCreated,
};

}  // namespace ui
