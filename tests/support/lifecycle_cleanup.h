#pragma once

// Between tests on the lifecycle layer: every window that a test left goes, the quit
// requests its teardown posted are dropped, and the GUI layer is shut down.

#include <windows.h>

#include "app/lifecycle.h"
#include "support/message_pump.h"

namespace testsupport {

inline void closeWindowsAndShutDown(app::Definitions definitions) {
    for (const auto* definition : definitions) {
        if (const auto* window = app::liveWindow(*definition)) {
            DestroyWindow(window->hwnd());
        }
    }
    pumpUntilIdle();
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    app::shutdownGuiLayer();
}

}  // namespace testsupport
