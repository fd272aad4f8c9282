#include "support/message_pump.h"

#include <deque>
#include <utility>

namespace testsupport {
namespace {

constexpr UINT kRunStep = WM_APP + 1;

std::deque<std::function<void()>>& steps() {
    static std::deque<std::function<void()>> queue;
    return queue;
}

LRESULT CALLBACK stepWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunStep && !steps().empty()) {
        auto step = std::move(steps().front());
        steps().pop_front();
        step();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND stepWindow() {
    static HWND window = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &stepWindowProcedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"tests.steps";
        RegisterClassW(&windowClass);
        return CreateWindowW(L"tests.steps", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                             nullptr);
    }();
    return window;
}

}  // namespace

void pumpUntilIdle() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
        if (message.message == WM_QUIT) {
            return;
        }
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

bool quitRequestWaiting() {
    MSG message;
    return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

void postStep(std::function<void()> step) {
    steps().push_back(std::move(step));
    PostMessageW(stepWindow(), kRunStep, 0, 0);
}

}  // namespace testsupport
