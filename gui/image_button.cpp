#include "gui/image_button.h"

#include <windowsx.h>

#include <new>
#include <utility>

#include "gui/button_painting.h"
#include "gui/canvas.h"
#include "gui/picture.h"
#include "gui/window_object.h"

namespace gui {
namespace {

const wchar_t* const kClassName = L"lineplayer.ImageButton";

Pixel pixelFrom(COLORREF colour) { return rgb(GetRValue(colour), GetGValue(colour), GetBValue(colour)); }

ButtonColours systemButtonColours() {
    return {pixelFrom(GetSysColor(COLOR_BTNFACE)), pixelFrom(GetSysColor(COLOR_BTNSHADOW)),
            pixelFrom(GetSysColor(COLOR_BTNHIGHLIGHT))};
}

// Copies the canvas to the top-left corner of dc.
void blit(HDC dc, const Canvas& canvas) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = canvas.width();
    info.bmiHeader.biHeight = -canvas.height();  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const auto height = static_cast<DWORD>(canvas.height());
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(canvas.width()), height, 0, 0, 0, height, canvas.data(), &info,
                      DIB_RGB_COLORS);
}

// BeginPaint for a scope, EndPaint on its exit.
class PaintDc {
public:
    explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    ~PaintDc() { EndPaint(window_, &paint_); }
    HDC get() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

bool isInClientArea(HWND window, LPARAM clientPoint) {
    RECT client{};
    GetClientRect(window, &client);
    return PtInRect(&client, POINT{GET_X_LPARAM(clientPoint), GET_Y_LPARAM(clientPoint)}) != FALSE;
}

class ImageButton final : public WindowObject {
public:
    static HWND create(HWND parent, int id, const ControlDefinition& definition) {
        if (registerClass(kClassName, 0, LoadCursorW(nullptr, IDC_ARROW), nullptr) == 0) {
            return nullptr;
        }
        auto* button = new (std::nothrow)
            ImageButton(decodePng(definition.normalPicture), decodePng(definition.hoverPicture), definition.onClick);
        if (button == nullptr) {
            return nullptr;
        }
        return WindowObject::create(button, 0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, definition.left,
                                    definition.top, definition.width, definition.height, parent,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
    }

    ImageButtonState state() const { return {hot_, pressed(), focused_}; }

private:
    ImageButton(std::optional<Picture> normal, std::optional<Picture> hover, Handler onClick)
        : normal_(std::move(normal)), hover_(std::move(hover)), onClick_(onClick) {}

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_PAINT:
                return onPaint();
            case WM_PRINTCLIENT:
                return onPrintClient(reinterpret_cast<HDC>(wParam));
            case WM_ERASEBKGND:
                return 1;  // WM_PAINT covers every pixel
            case WM_MOUSEMOVE:
                return onMouseMove(wParam, lParam);
            case WM_MOUSELEAVE:
                return onMouseLeave();
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK:
                return onLeftButtonDown();
            case WM_LBUTTONUP:
                return onLeftButtonUp(lParam);
            case WM_CAPTURECHANGED:
                return onCaptureChanged(reinterpret_cast<HWND>(lParam));
            case WM_CANCELMODE:
                return onCancelMode();
            case WM_KEYDOWN:
                return onKeyDown(wParam, lParam);
            case WM_KEYUP:
                return onKeyUp(wParam);
            case WM_SETFOCUS:
                return onSetFocus();
            case WM_KILLFOCUS:
                return onKillFocus();
            case WM_GETDLGCODE:
                return DLGC_BUTTON;
            default:
                return defaultHandling(message, wParam, lParam);
        }
    }

    LRESULT onPaint() {
        const PaintDc dc(hwnd());
        paintInto(dc.get());
        return 0;
    }

    LRESULT onPrintClient(HDC dc) {
        paintInto(dc);
        return 0;
    }

    LRESULT onMouseMove(WPARAM keys, LPARAM clientPoint) {
        if (mouseHeld_) {
            const bool inside = isInClientArea(hwnd(), clientPoint);
            if (inside != pointerInside_) {
                pointerInside_ = inside;
                repaint();
            }
        }
        followPointer((keys & MK_LBUTTON) != 0);
        return 0;
    }

    LRESULT onMouseLeave() {
        stopBeingHot();
        return 0;
    }

    LRESULT onLeftButtonDown() {
        SetFocus(hwnd());
        SetCapture(hwnd());
        // Without the capture the release could go elsewhere and leave the button held.
        if (GetCapture() == hwnd()) {
            mouseHeld_ = true;
            pointerInside_ = true;
            repaint();
        }
        return 0;
    }

    LRESULT onLeftButtonUp(LPARAM clientPoint) {
        if (!mouseHeld_) {
            return 0;
        }
        const bool inside = isInClientArea(hwnd(), clientPoint);
        mouseHeld_ = false;  // first, so that the WM_CAPTURECHANGED of the release finds nothing to do
        pointerInside_ = false;
        ReleaseCapture();
        repaint();
        if (!inside) {
            return 0;
        }
        return click();
    }

    LRESULT onCaptureChanged(HWND newCapture) {
        if (mouseHeld_ && newCapture != hwnd()) {
            mouseHeld_ = false;
            pointerInside_ = false;
            repaint();
        }
        return 0;
    }

    LRESULT onCancelMode() {
        if (mouseHeld_) {
            mouseHeld_ = false;
            pointerInside_ = false;
            ReleaseCapture();
        }
        spaceHeld_ = false;
        hot_ = false;
        repaint();
        return 0;
    }

    LRESULT onKeyDown(WPARAM key, LPARAM flags) {
        const bool repeat = (flags & (LPARAM{1} << 30)) != 0;
        if (key == VK_SPACE && !repeat && !spaceHeld_) {
            spaceHeld_ = true;
            repaint();
        }
        return 0;
    }

    LRESULT onKeyUp(WPARAM key) {
        if (key != VK_SPACE || !spaceHeld_) {
            return 0;
        }
        spaceHeld_ = false;
        repaint();
        return click();
    }

    LRESULT onSetFocus() {
        focused_ = true;
        return 0;
    }

    LRESULT onKillFocus() {
        focused_ = false;
        if (spaceHeld_) {
            spaceHeld_ = false;  // the key-up goes to the new focus: no click
            repaint();
        }
        stopBeingHot();
        return 0;
    }

    // Called for every pointer move over the button, or anywhere while it holds the capture.
    void followPointer(bool leftButtonDown) {
        if (leftButtonDown && !hot_) {
            return;  // a drag that started elsewhere does not light it up
        }
        POINT cursor{};
        // Another program's active window gives null here: no hover for an inactive program.
        const bool overThis =
            GetCursorPos(&cursor) && WindowFromPoint(cursor) == hwnd() && GetActiveWindow() != nullptr;
        if (!overThis) {
            stopBeingHot();
        } else if (!hot_) {
            hot_ = true;
            repaint();
            TRACKMOUSEEVENT leave{sizeof leave, TME_LEAVE, hwnd(), 0};
            TrackMouseEvent(&leave);
        }
    }

    void stopBeingHot() {
        if (hot_) {
            hot_ = false;
            repaint();
        }
    }

    bool pressed() const { return (mouseHeld_ && pointerInside_) || spaceHeld_; }

    void repaint() { InvalidateRect(hwnd(), nullptr, FALSE); }

    void paintInto(HDC dc) const {
        RECT client{};
        GetClientRect(hwnd(), &client);
        try {
            Canvas canvas(client.right, client.bottom);
            paintImageButton(canvas, {hot_, pressed(), focused_}, systemButtonColours(), normal_ ? &*normal_ : nullptr,
                             hover_ ? &*hover_ : nullptr);
            blit(dc, canvas);
        } catch (const std::bad_alloc&) {
            // Nothing drawn this time; no exception may leave a window procedure.
        }
    }

    // The last thing a message handler does: the handler may destroy this button (and its
    // parent) in a nested message loop, so nothing of the object is touched afterwards.
    LRESULT click() {
        const Handler handler = onClick_;
        if (handler != nullptr) {
            handler();
        }
        return 0;
    }

    std::optional<Picture> normal_;
    std::optional<Picture> hover_;
    Handler onClick_;
    bool hot_ = false;
    bool focused_ = false;
    bool mouseHeld_ = false;      // the left button went down on it, and it holds the capture
    bool pointerInside_ = false;  // while mouseHeld_
    bool spaceHeld_ = false;
};

}  // namespace

HWND createImageButton(HWND parent, int id, const ControlDefinition& definition) {
    return ImageButton::create(parent, id, definition);
}

std::optional<ImageButtonState> imageButtonState(HWND button) {
    const auto* object = dynamic_cast<const ImageButton*>(WindowObject::fromHandle(button));
    if (object == nullptr) {
        return std::nullopt;
    }
    return object->state();
}

}  // namespace gui
