#pragma once

// Message pumping for the browser tests: the control does its work in messages posted to
// this thread, so every step ends by pumping, and every wait for the network is bounded.

#include <windows.h>

#include <chrono>

#include "gui/unique_handle.h"

namespace browser_test {

// A plain visible top-level window to put browsers in.
inline gui::UniqueWindow makeParentWindow(int width = 640, int height = 480) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"browser_test.Parent";
    RegisterClassExW(&windowClass);  // fails harmlessly when already registered
    return gui::UniqueWindow(CreateWindowExW(0, windowClass.lpszClassName, L"browser test",
                                             WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                                             windowClass.hInstance, nullptr));
}

// Dispatches what is in the queue until it is empty.
inline void pumpUntilIdle() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Pumps until done() holds or the time is up; done()'s last answer.
template <typename Done>
bool pumpUntil(Done done, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    pumpUntilIdle();
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return done();
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        pumpUntilIdle();
    }
    return true;
}

}  // namespace browser_test
