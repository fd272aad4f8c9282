#include <windows.h>

#include "app/lifecycle.h"
#include "app/program.h"
#include "gui/message_box.h"
#include "lines/line_table.h"
#include "ui/chooser_window.h"
#include "ui/player_window.h"

namespace ui {

void onChooserWindowCreated() {}

template <int InterfaceNumber>
void onInterfaceClicked() {
    lines::selectLine(InterfaceNumber);
    // Returns when the player window is gone, and with it this window: touch nothing after.
    app::loadWindow(PlayerWindow, nullptr, true);
}

template void onInterfaceClicked<1>();
template void onInterfaceClicked<2>();
template void onInterfaceClicked<3>();
template void onInterfaceClicked<4>();
template void onInterfaceClicked<5>();
template void onInterfaceClicked<6>();
template void onInterfaceClicked<7>();
template void onInterfaceClicked<8>();
template void onInterfaceClicked<9>();
template void onInterfaceClicked<10>();
template void onInterfaceClicked<11>();

void onHelpClicked() { gui::showMessageBox("把要看的视频复制到文本框内，等待少许即可播放。", "信息："); }

void onCloseClicked() { app::endProgram(0); }

}  // namespace ui
