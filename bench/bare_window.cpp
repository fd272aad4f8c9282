// The yardstick for the program's start-up and click figures: as little as Windows needs
// to open one empty window and, on a click in it, create and show one more. Sized and
// placed like the program's two windows so both sides map the same pixels.

#include <windows.h>

namespace {

constexpr wchar_t kFirstClass[] = L"BareFirst";
constexpr wchar_t kSecondClass[] = L"BareSecond";

HINSTANCE instance = nullptr;
bool secondShown = false;

POINT centred(int width, int height) {
    return {(GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2};
}

void showSecond(HWND owner) {
    if (secondShown) {
        return;
    }
    secondShown = true;
    const POINT at = centred(938, 541);
    HWND second = CreateWindowExW(0, kSecondClass, L"bare second", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, at.x, at.y,
                                  938, 541, owner, nullptr, instance, nullptr);
    ShowWindow(second, SW_SHOW);
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONUP:
            showSecond(window);
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) {
                PostQuitMessage(0);
                return 0;
            }
            break;
        case WM_CLOSE:
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool registerClass(const wchar_t* name) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = name;
    return RegisterClassW(&windowClass) != 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE thisInstance, HINSTANCE, PWSTR, int) {
    instance = thisInstance;
    if (!registerClass(kFirstClass) || !registerClass(kSecondClass)) {
        return 1;
    }
    const POINT at = centred(390, 190);
    HWND first = CreateWindowExW(0, kFirstClass, L"", WS_POPUP | WS_MINIMIZEBOX, at.x, at.y, 390, 190, nullptr, nullptr,
                                 instance, nullptr);
    if (first == nullptr) {
        return 1;
    }
    ShowWindow(first, SW_SHOW);
    UpdateWindow(first);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
