#pragma once

// The C++ object behind a window of one of our own window classes.
//
// The object is bound to its window at WM_NCCREATE (from the create parameters) and owns
// itself from then on: it is deleted after WM_NCDESTROY, but never while one of its own
// messages is still being handled further up the stack. A click handler that runs a nested
// message loop in which its own button is destroyed therefore returns into a live object.

#include <windows.h>

namespace gui {

class WindowObject {
public:
    WindowObject(const WindowObject&) = delete;
    WindowObject& operator=(const WindowObject&) = delete;

    HWND hwnd() const { return hwnd_; }

    // The object bound to a window of one of our classes, or null.
    static WindowObject* fromHandle(HWND window);

protected:
    WindowObject() = default;
    virtual ~WindowObject() = default;

    // Creates the window with this object bound to it. On failure the object is deleted
    // and null is returned; on success the object belongs to its window.
    static HWND create(WindowObject* object, DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                       int x, int y, int width, int height, HWND parent, HMENU menuOrId);

    // Registers a window class whose procedure dispatches to handleMessage.
    static ATOM registerClass(const wchar_t* className, UINT classStyle, HCURSOR cursor, HBRUSH background);

    // One switch over the messages the window handles; the rest goes to defaultHandling.
    virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    LRESULT defaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }

    // Called once the window system has destroyed the window (after WM_NCDESTROY), while
    // the object still exists.
    virtual void onWindowGone() {}

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    int dispatchDepth_ = 0;
    bool creating_ = false;
    bool gone_ = false;
};

}  // namespace gui
