#include "gui/window.h"

#include "gui/browser_host.h"
#include "gui/canvas.h"
#include "gui/image_button.h"
#include "gui/standard_controls.h"
#include "gui/text_convert.h"
#include "gui/unique_handle.h"

namespace gui {
namespace {

constexpr wchar_t kWindowClass[] = L"lineplayer.window";
constexpr UINT kDestroyRequest = WM_APP + 0x101;
constexpr int kFirstControlId = 100;

DWORD windowStyle(const WindowDefinition& definition) {
    DWORD style = WS_CLIPCHILDREN;
    style |= definition.frame == Frame::None ? WS_POPUP : (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU);
    if (definition.minimizeBox) {
        style |= WS_MINIMIZEBOX;
    }
    if (definition.maximizeBox) {
        style |= WS_MAXIMIZEBOX;
    }
    return style;
}

// Centred by outer size on the primary screen; the division rounds toward zero, so a
// screen smaller than the window gives negative coordinates.
POINT centredPosition(const WindowDefinition& definition) {
    return {(GetSystemMetrics(SM_CXSCREEN) - definition.width) / 2,
            (GetSystemMetrics(SM_CYSCREEN) - definition.height) / 2};
}

HWND createControl(HWND parent, int id, const ControlDefinition& control) {
    switch (control.kind) {
        case ControlKind::ImageButton:
            return createImageButton(parent, id, control);
        case ControlKind::EditBox:
            return createEditBox(parent, id, control);
        case ControlKind::PushButton:
            return createPushButton(parent, id, control);
        case ControlKind::WebBrowser:
            return createWebBrowser(parent, id, control.left, control.top, control.width, control.height,
                                    control.browser);
    }
    return nullptr;
}

bool isTabStop(HWND control) {
    return IsWindowVisible(control) && IsWindowEnabled(control) &&
           (GetWindowLongW(control, GWL_STYLE) & WS_TABSTOP) != 0;
}

}  // namespace

Window::Window(const WindowDefinition& definition, WindowEvents& events) : definition_(definition), events_(events) {
    if (!definition.backgroundPicture.empty()) {
        background_ = decodePng(definition.backgroundPicture);
    }
}

Window* Window::create(const WindowDefinition& definition, HWND owner, WindowEvents& events) {
    if (!registerClass(kWindowClass, 0, LoadCursorW(nullptr, IDC_ARROW), nullptr)) {
        return nullptr;
    }
    const DWORD exStyle = owner == nullptr && definition.showInTaskbar ? WS_EX_APPWINDOW : 0;
    const POINT position = centredPosition(definition);
    auto* window = new Window(definition, events);
    HWND handle = WindowObject::create(window, exStyle, kWindowClass, wideFromGbk(definition.title).c_str(),
                                       windowStyle(definition), position.x, position.y, definition.width,
                                       definition.height, owner, nullptr);
    if (handle == nullptr) {
        return nullptr;
    }
    // The window system may have adjusted the size during creation; bring it to the
    // definition's outer size.
    SetWindowPos(handle, nullptr, position.x, position.y, definition.width, definition.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    return window;
}

bool Window::createControls() {
    const auto font = definition_.defaultGuiFont ? GetStockObject(DEFAULT_GUI_FONT) : nullptr;
    for (std::size_t i = 0; i < definition_.controls.size(); ++i) {
        HWND control = createControl(hwnd(), kFirstControlId + static_cast<int>(i), definition_.controls[i]);
        if (control == nullptr) {
            return false;
        }
        if (font != nullptr) {
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
        controls_.push_back(control);
    }
    return true;
}

void Window::setIcons(HICON big, HICON small) {
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

void Window::show() { ShowWindow(hwnd(), SW_SHOWNORMAL); }

void Window::raiseCreated() const {
    if (definition_.onCreated != nullptr) {
        definition_.onCreated();
    }
}

void Window::raiseMoved() const {
    if (definition_.onMoved != nullptr) {
        definition_.onMoved();
    }
}

void Window::raiseResized() const {
    if (definition_.onResized != nullptr) {
        definition_.onResized();
    }
}

void Window::postDestroyRequest() const { PostMessageW(hwnd(), kDestroyRequest, 0, 0); }

HWND Window::control(std::string_view name) const {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (definition_.controls[i].name == name) {
            return controls_[i];
        }
    }
    return nullptr;
}

LRESULT Window::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCHITTEST:
            return onNcHitTest(wParam, lParam);
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT covers the whole client area
        case WM_PAINT:
            onPaint();
            return 0;
        case WM_COMMAND:
            onCommand(wParam, lParam);
            return 0;
        case WM_ACTIVATE:
            onActivate(wParam);
            return 0;
        case WM_SETFOCUS:
            onSetFocus();
            return 0;
        case WM_CLOSE:
            events_.onCloseRequested();
            return 0;
        case WM_MOVE:
            if (loaded_) {
                raiseMoved();
            }
            return 0;
        case WM_SIZE:
            if (loaded_) {
                raiseResized();
            }
            return 0;
        case kDestroyRequest:
            events_.onDestroyRequestDispatched();
            return 0;
        default:
            return defaultHandling(message, wParam, lParam);
    }
}

void Window::onWindowGone() { events_.onWindowDestroyed(); }

LRESULT Window::onNcHitTest(WPARAM wParam, LPARAM lParam) {
    const LRESULT hit = defaultHandling(WM_NCHITTEST, wParam, lParam);
    // A frameless window is dragged by its background as if by a caption.
    return definition_.frame == Frame::None && hit == HTCLIENT ? HTCAPTION : hit;
}

void Window::onPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd(), &paint);
    RECT client;
    GetClientRect(hwnd(), &client);
    if (background_ && client.right > 0 && client.bottom > 0) {
        Canvas canvas(client.right, client.bottom);
        tilePicture(canvas, *background_);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = canvas.width();
        info.bmiHeader.biHeight = -canvas.height();  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(canvas.width()), static_cast<DWORD>(canvas.height()), 0, 0, 0,
                          static_cast<UINT>(canvas.height()), canvas.data(), &info, DIB_RGB_COLORS);
    } else {
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    }
    EndPaint(hwnd(), &paint);
}

void Window::onCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) != BN_CLICKED || lParam == 0) {
        return;
    }
    const int index = LOWORD(wParam) - kFirstControlId;
    if (index < 0 || static_cast<std::size_t>(index) >= controls_.size()) {
        return;
    }
    const ControlDefinition& control = definition_.controls[static_cast<std::size_t>(index)];
    if (control.kind == ControlKind::PushButton && control.onClick != nullptr) {
        control.onClick();  // may destroy this window: touch nothing afterwards
    }
}

void Window::onActivate(WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hwnd(), focus)) {
            lastFocus_ = focus;
        }
    } else {
        defaultHandling(WM_ACTIVATE, wParam, 0);  // gives the window the focus
    }
}

void Window::onSetFocus() {
    // Back to the control that had the focus last; the first time, the first tab stop.
    if (lastFocus_ != nullptr && IsWindow(lastFocus_) && IsChild(hwnd(), lastFocus_)) {
        SetFocus(lastFocus_);
        return;
    }
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (isTabStop(controls_[i])) {
            focusControl(i);
            return;
        }
    }
}

bool Window::translateKeys(MSG& message) {
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST || message.hwnd == nullptr) {
        return false;
    }
    auto* window = dynamic_cast<Window*>(fromHandle(GetAncestor(message.hwnd, GA_ROOT)));
    return window != nullptr && window->translateOwnKeys(message);
}

bool Window::translateOwnKeys(MSG& message) {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (definition_.controls[i].kind == ControlKind::WebBrowser &&
            translateBrowserAccelerator(controls_[i], message)) {
            return true;
        }
    }
    if (message.message != WM_KEYDOWN) {
        return false;
    }
    const bool ctrlOrAlt = GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
    if (message.wParam == VK_TAB && !ctrlOrAlt) {
        return moveFocus(GetKeyState(VK_SHIFT) < 0);
    }
    if (message.wParam == VK_ESCAPE && definition_.escCloses) {
        SendMessageW(hwnd(), WM_CLOSE, 0, 0);  // may destroy this window
        return true;
    }
    return false;
}

std::optional<std::size_t> Window::controlWithFocus() const {
    HWND focus = GetFocus();
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (focus == controls_[i] || IsChild(controls_[i], focus)) {
            return i;
        }
    }
    return std::nullopt;
}

void Window::focusControl(std::size_t index) {
    lastFocus_ = controls_[index];
    SetFocus(controls_[index]);
}

bool Window::moveFocus(bool backwards) {
    const std::size_t count = controls_.size();
    if (count == 0) {
        return true;
    }
    const auto current = controlWithFocus();
    std::size_t index = current ? *current : (backwards ? 0 : count - 1);
    for (std::size_t step = 0; step < count; ++step) {
        index = backwards ? (index + count - 1) % count : (index + 1) % count;
        if (isTabStop(controls_[index])) {
            focusControl(index);
            break;
        }
    }
    return true;
}

std::string readEditText(HWND edit) {
    const int length = GetWindowTextLengthW(edit);
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(edit, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return gbkFromWide(text);
}

}  // namespace gui
