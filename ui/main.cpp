#include <windows.h>

#include <array>

#include "app/program.h"
#include "ui/chooser_window.h"
#include "ui/player_window.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    static constexpr std::array<const gui::WindowDefinition*, 2> windows = {&ui::ChooserWindow, &ui::PlayerWindow};
    app::startProgram(windows, ui::ChooserWindow);
    return app::finishProgram();
}
