#include "gui/window_object.h"

namespace gui {
namespace {

const wchar_t* const kObjectProperty = L"lineplayer.object";

HINSTANCE thisModule() { return GetModuleHandleW(nullptr); }

}  // namespace

WindowObject* WindowObject::fromHandle(HWND window) {
    return window == nullptr ? nullptr : static_cast<WindowObject*>(GetPropW(window, kObjectProperty));
}

ATOM WindowObject::registerClass(const wchar_t* className, UINT classStyle, HCURSOR cursor, HBRUSH background) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(thisModule(), className, &existing)) {
        return 1;  // already registered by an earlier window
    }
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = classStyle;
    windowClass.lpfnWndProc = &WindowObject::windowProcedure;
    windowClass.hInstance = thisModule();
    windowClass.hCursor = cursor;
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = className;
    return RegisterClassExW(&windowClass);
}

HWND WindowObject::create(WindowObject* object, DWORD exStyle, const wchar_t* className, const wchar_t* title,
                          DWORD style, int x, int y, int width, int height, HWND parent, HMENU menuOrId) {
    object->creating_ = true;
    HWND window =
        CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, menuOrId, thisModule(), object);
    object->creating_ = false;
    if (window == nullptr) {
        delete object;  // the window never came to be, or was destroyed during creation
        return nullptr;
    }
    if (object->gone_ && object->dispatchDepth_ == 0) {
        delete object;  // destroyed by a handler of its own creation messages
        return nullptr;
    }
    return window;
}

LRESULT CALLBACK WindowObject::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowObject* object = fromHandle(window);
    if (object == nullptr && message == WM_NCCREATE) {
        object = static_cast<WindowObject*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        object->hwnd_ = window;
        SetPropW(window, kObjectProperty, object);
    }
    if (object == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }

    ++object->dispatchDepth_;
    const LRESULT result = object->handleMessage(message, wParam, lParam);
    --object->dispatchDepth_;

    if (message == WM_NCDESTROY) {
        RemovePropW(window, kObjectProperty);
        object->hwnd_ = nullptr;
        object->gone_ = true;
        object->onWindowGone();
    }
    if (object->gone_ && object->dispatchDepth_ == 0 && !object->creating_) {
        delete object;
    }
    return result;
}

}  // namespace gui
