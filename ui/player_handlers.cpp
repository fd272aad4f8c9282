#include "app/lifecycle.h"
#include "gui/browser_host.h"
#include "gui/window.h"
#include "lines/line_table.h"
#include "ui/chooser_window.h"
#include "ui/player_window.h"

namespace ui {

void onPlayerWindowCreated() {
    // Deferred: the chooser still exists when this returns and goes once the player shows.
    app::destroyWindow(ChooserWindow);
}

void onPlayClicked() {
    const gui::Window* window = app::liveWindow(PlayerWindow);
    if (window == nullptr) {
        return;
    }
    const lines::Text pasted = gui::readEditText(window->control("编辑框1"));
    const lines::Text address = lines::composePlayAddress(pasted);
    gui::navigateWebBrowser(window->control("超文本浏览框1"), address);
}

}  // namespace ui
