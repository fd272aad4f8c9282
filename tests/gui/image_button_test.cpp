#include "gui/image_button.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "gui/picture.h"
#include "gui/text_convert.h"
#include "gui/unique_handle.h"
#include "tests/support/png_writer.h"

namespace {

using gui::imageButtonState;
using gui::ImageButtonState;
using Bytes = std::vector<std::uint8_t>;

// ---- Pictures: a label block on the transparent colour.

constexpr int kWidth = 40;
constexpr int kHeight = 20;
constexpr COLORREF kTransparent = RGB(26, 32, 42);
constexpr COLORREF kNormalLabel = RGB(190, 191, 192);
constexpr COLORREF kHoverLabel = RGB(220, 30, 31);
constexpr RECT kLabel{10, 5, 30, 15};

bool inLabel(int x, int y) { return x >= kLabel.left && x < kLabel.right && y >= kLabel.top && y < kLabel.bottom; }

Bytes encodePicture(COLORREF label) {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const COLORREF c = inLabel(x, y) ? label : kTransparent;
            pixels.push_back((std::uint32_t{GetRValue(c)} << 16) | (std::uint32_t{GetGValue(c)} << 8) | GetBValue(c));
        }
    }
    return test_png::writeRgbPng(kWidth, kHeight, pixels);
}

const Bytes& normalPng() {
    static const Bytes png = encodePicture(kNormalLabel);
    return png;
}
const Bytes& hoverPng() {
    static const Bytes png = encodePicture(kHoverLabel);
    return png;
}

// ---- Click handlers are plain functions, so they count into globals.

int g_clicks = 0;
void countClick() { ++g_clicks; }

// What the button looked like to its own handler.
HWND g_clickedButton = nullptr;
bool g_pressedDuringClick = true;
bool g_capturedDuringClick = true;
void recordClick() {
    ++g_clicks;
    g_pressedDuringClick = gui::imageButtonState(g_clickedButton).value_or(ImageButtonState{true, true, true}).pressed;
    g_capturedDuringClick = GetCapture() != nullptr;
}

HWND g_parentToDestroy = nullptr;
void destroyParent() {
    ++g_clicks;
    DestroyWindow(g_parentToDestroy);
}

void pumpUntilIdle() {
    MSG message;
    for (;;) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        // Lets the display driver turn pending events into messages.
        if (MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_ALLINPUT, MWMO_INPUTAVAILABLE) == WAIT_TIMEOUT) {
            return;
        }
    }
}

// Closes the parent from a nested message loop, as a modal handler would.
void closeParentInNestedLoop() {
    ++g_clicks;
    PostMessageW(g_parentToDestroy, WM_CLOSE, 0, 0);
    pumpUntilIdle();
}

const wchar_t* const kParentClass = L"ImageButtonTestParent";

HWND createParent(int x, int y) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kParentClass;
    RegisterClassExW(&windowClass);  // fails harmlessly once registered
    return CreateWindowExW(0, kParentClass, L"test", WS_POPUP | WS_VISIBLE, x, y, 200, 100, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

void activate(HWND window) {
    SetForegroundWindow(window);
    SetActiveWindow(window);
    pumpUntilIdle();
}

gui::Pixel pixelFrom(COLORREF c) { return gui::rgb(GetRValue(c), GetGValue(c), GetBValue(c)); }

gui::Pixel systemPixel(int index) { return pixelFrom(GetSysColor(index)); }

// The button face while hot or pressed: each channel raised by min(32, room left in any).
gui::Pixel litFace() {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const int room = std::min({255 - GetRValue(face), 255 - GetGValue(face), 255 - GetBValue(face)});
    const int amount = std::min(32, room);
    return gui::rgb(static_cast<std::uint8_t>(GetRValue(face) + amount),
                    static_cast<std::uint8_t>(GetGValue(face) + amount),
                    static_cast<std::uint8_t>(GetBValue(face) + amount));
}

// What a button draws into a memory DC when asked with WM_PRINTCLIENT.
class Printout {
public:
    explicit Printout(HWND button) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -kHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        const gui::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
        const gui::UniqueGdiObject bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        pixels_.assign(kWidth * kHeight, 0xFF000000u);  // not a colour the button can draw
        if (bitmap) {
            std::copy(pixels_.begin(), pixels_.end(), static_cast<std::uint32_t*>(bits));
            const gui::SelectedObject selected(dc.get(), bitmap.get());
            SendMessageW(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
            GdiFlush();
            const auto* drawn = static_cast<const std::uint32_t*>(bits);
            pixels_.assign(drawn, drawn + kWidth * kHeight);
        }
    }
    gui::Pixel at(int x, int y) const { return pixels_[static_cast<std::size_t>(y * kWidth + x)] & 0xFFFFFFu; }
    std::uint32_t raw(int x, int y) const { return pixels_[static_cast<std::size_t>(y * kWidth + x)]; }

private:
    std::vector<std::uint32_t> pixels_;
};

class ImageButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_clicks = 0;
        parent_ = createParent(100, 100);
        ASSERT_NE(parent_, nullptr);
        first_ = makeButton(1, 10, 10, &countClick);
        second_ = makeButton(2, 60, 10, &countClick);
        ASSERT_NE(first_, nullptr);
        ASSERT_NE(second_, nullptr);
        // With no window manager the display's focus follows the pointer: keep it on our window.
        pointAt(parent_, 150, 80);
        activate(parent_);
        ASSERT_EQ(GetActiveWindow(), parent_);
    }
    void TearDown() override {
        ReleaseCapture();
        DestroyWindow(parent_);
        pumpUntilIdle();
    }

    HWND makeButton(int id, int x, int y, gui::Handler onClick, gui::PngData normal = normalPng(),
                    gui::PngData hover = hoverPng()) {
        gui::ControlDefinition definition{"button", gui::ControlKind::ImageButton, x, y, kWidth, kHeight, onClick};
        definition.normalPicture = normal;
        definition.hoverPicture = hover;
        return gui::createImageButton(parent_, id, definition);
    }

    // Puts the pointer at a point of the button's client area and lets the system settle.
    static void pointAt(HWND button, int x, int y) {
        POINT screen{x, y};
        ClientToScreen(button, &screen);
        SetCursorPos(screen.x, screen.y);
        pumpUntilIdle();
    }
    // Without letting the system settle: its own move message would carry the real buttons,
    // none held, where a test holds the left button by message.
    static void placePointer(HWND button, int x, int y) {
        POINT screen{x, y};
        ClientToScreen(button, &screen);
        SetCursorPos(screen.x, screen.y);
    }
    static void sendMove(HWND button, int x, int y, WPARAM keys = 0) {
        SendMessageW(button, WM_MOUSEMOVE, keys, MAKELPARAM(x, y));
    }
    static void sendDown(HWND button, int x, int y) {
        SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    }
    static void sendUp(HWND button, int x, int y) { SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
    static void sendKey(HWND button, UINT message, WPARAM key, bool repeat = false) {
        const LPARAM flags = message == WM_KEYUP ? LPARAM(0xC0000001) : (repeat ? LPARAM(0x40000001) : LPARAM(1));
        SendMessageW(button, message, key, flags);
    }
    // What decides hover, for failure messages.
    static std::string hoverInputs(HWND button) {
        POINT cursor{};
        GetCursorPos(&cursor);
        wchar_t underClass[64] = {};
        GetClassNameW(WindowFromPoint(cursor), underClass, 64);
        char text[200];
        snprintf(text, sizeof text, "active window %p, under the pointer %s (%p), the button %p",
                 static_cast<void*>(GetActiveWindow()), gui::gbkFromWide(underClass).c_str(),
                 static_cast<void*>(WindowFromPoint(cursor)), static_cast<void*>(button));
        return text;
    }
    static void makeHot(HWND button) {
        pointAt(button, 3, 3);
        sendMove(button, 3, 3);
        ASSERT_TRUE(imageButtonState(button)->hot) << hoverInputs(button);
    }
    static ImageButtonState stateOf(HWND button) {
        const auto state = imageButtonState(button);
        EXPECT_TRUE(state.has_value());
        return state.value_or(ImageButtonState{});
    }

    HWND parent_ = nullptr;
    HWND first_ = nullptr;
    HWND second_ = nullptr;
};

TEST_F(ImageButtonTest, IsAVisibleTabStopChildAtItsPlaceWithItsId) {
    RECT rect{};
    GetWindowRect(second_, &rect);
    MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, 60);
    EXPECT_EQ(rect.top, 10);
    EXPECT_EQ(rect.right - rect.left, kWidth);
    EXPECT_EQ(rect.bottom - rect.top, kHeight);
    EXPECT_EQ(GetDlgCtrlID(second_), 2);
    EXPECT_EQ(GetParent(second_), parent_);
    const auto style = static_cast<DWORD>(GetWindowLongW(second_, GWL_STYLE));
    EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | WS_TABSTOP), DWORD{WS_CHILD | WS_VISIBLE | WS_TABSTOP});
    wchar_t className[64] = {};
    GetClassNameW(second_, className, 64);
    EXPECT_STRNE(className, L"Button");
    EXPECT_EQ(SendMessageW(second_, WM_GETDLGCODE, 0, 0), LRESULT{DLGC_BUTTON});

    const ImageButtonState state = stateOf(second_);
    EXPECT_FALSE(state.hot);
    EXPECT_FALSE(state.pressed);
    EXPECT_FALSE(state.focused);
}

TEST_F(ImageButtonTest, StateIsOnlyKnownForImageButtons) {
    EXPECT_FALSE(imageButtonState(parent_).has_value());
    EXPECT_FALSE(imageButtonState(nullptr).has_value());
    EXPECT_TRUE(imageButtonState(first_).has_value());
}

TEST_F(ImageButtonTest, CannotBeCreatedWithoutAParent) {
    const gui::ControlDefinition definition{"orphan", gui::ControlKind::ImageButton, 0, 0, kWidth, kHeight};
    EXPECT_EQ(gui::createImageButton(nullptr, 3, definition), nullptr);
}

// ---- Painting

TEST_F(ImageButtonTest, PaintsTheNormalPictureAtRestOnTheFace) {
    const Printout print(first_);
    EXPECT_EQ(print.at(15, 10), pixelFrom(kNormalLabel));
    EXPECT_EQ(print.at(kLabel.left, kLabel.top), pixelFrom(kNormalLabel));
    EXPECT_EQ(print.at(kLabel.right - 1, kLabel.bottom - 1), pixelFrom(kNormalLabel));
    // The transparent colour shows the face, up to the very edge: no border at rest.
    for (const POINT p : {POINT{0, 0}, POINT{5, 10}, POINT{kWidth - 1, kHeight - 1}, POINT{0, kHeight - 1}}) {
        EXPECT_EQ(print.at(p.x, p.y), systemPixel(COLOR_BTNFACE)) << p.x << "," << p.y;
    }
    EXPECT_EQ(print.raw(1, 1) & 0xFF000000u, 0u) << "WM_PRINTCLIENT left the memory DC untouched";
}

TEST_F(ImageButtonTest, PaintsTheHoverPictureOnALitFaceWithARaisedEdgeWhileHot) {
    makeHot(first_);
    const Printout print(first_);
    EXPECT_EQ(print.at(15, 10), pixelFrom(kHoverLabel));
    EXPECT_EQ(print.at(5, 10), litFace());
    EXPECT_EQ(print.at(0, 10), systemPixel(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(print.at(20, 0), systemPixel(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(print.at(kWidth - 1, 10), systemPixel(COLOR_BTNSHADOW));
    EXPECT_EQ(print.at(20, kHeight - 1), systemPixel(COLOR_BTNSHADOW));
}

TEST_F(ImageButtonTest, PaintsTheHoverPictureOnePixelDownRightOnASunkenEdgeWhilePressed) {
    sendKey(first_, WM_KEYDOWN, VK_SPACE);
    ASSERT_TRUE(stateOf(first_).pressed);
    ASSERT_NE(systemPixel(COLOR_BTNSHADOW), litFace());
    const Printout print(first_);
    EXPECT_EQ(print.at(kLabel.left, kLabel.top), litFace()) << "the label's corner moved away";
    EXPECT_EQ(print.at(kLabel.left + 1, kLabel.top + 1), pixelFrom(kHoverLabel));
    EXPECT_EQ(print.at(kLabel.right, kLabel.bottom), pixelFrom(kHoverLabel));
    EXPECT_EQ(print.at(0, 10), systemPixel(COLOR_BTNSHADOW));
    EXPECT_EQ(print.at(20, 0), systemPixel(COLOR_BTNSHADOW));
    EXPECT_EQ(print.at(kWidth - 1, 10), systemPixel(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(print.at(20, kHeight - 1), systemPixel(COLOR_BTNHIGHLIGHT));
}

TEST_F(ImageButtonTest, APictureThatDoesNotDecodeIsReplacedByTheOther) {
    const Bytes broken(normalPng().begin(), normalPng().begin() + 40);
    const HWND noNormal = makeButton(3, 10, 50, &countClick, broken, hoverPng());
    const HWND neither = makeButton(4, 60, 50, &countClick, broken, {});
    ASSERT_NE(noNormal, nullptr);
    ASSERT_NE(neither, nullptr);
    EXPECT_EQ(Printout(noNormal).at(15, 10), pixelFrom(kHoverLabel));
    const Printout bare(neither);
    EXPECT_EQ(bare.at(15, 10), systemPixel(COLOR_BTNFACE));
    EXPECT_EQ(bare.at(0, 0), systemPixel(COLOR_BTNFACE));
}

// ---- Hover

TEST_F(ImageButtonTest, IsHotWhileThePointerMovesOverItAndCallsNothing) {
    pointAt(first_, 20, 10);
    sendMove(first_, 20, 10);
    EXPECT_TRUE(stateOf(first_).hot);
    EXPECT_FALSE(stateOf(first_).pressed);
    EXPECT_FALSE(stateOf(second_).hot);

    // Now over the second button; the first hears of it by a move (while captured, say).
    pointAt(second_, 20, 10);
    sendMove(first_, 70, 10);
    sendMove(second_, 20, 10);
    EXPECT_FALSE(stateOf(first_).hot);
    EXPECT_TRUE(stateOf(second_).hot);
    EXPECT_EQ(g_clicks, 0);
}

TEST_F(ImageButtonTest, StopsBeingHotOnLeaveFocusLossAndCancelMode) {
    for (const UINT message : {WM_MOUSELEAVE, WM_KILLFOCUS, WM_CANCELMODE}) {
        makeHot(first_);
        SendMessageW(first_, message, 0, 0);
        EXPECT_FALSE(stateOf(first_).hot) << "message " << message;
    }
}

TEST_F(ImageButtonTest, ALeftButtonHeldFromElsewhereDoesNotMakeItHot) {
    pointAt(first_, 20, 10);
    sendMove(first_, 20, 10);
    SendMessageW(first_, WM_MOUSELEAVE, 0, 0);
    ASSERT_FALSE(stateOf(first_).hot);
    sendMove(first_, 20, 10, MK_LBUTTON);
    EXPECT_FALSE(stateOf(first_).hot);
    sendMove(first_, 21, 10);
    EXPECT_TRUE(stateOf(first_).hot) << hoverInputs(first_);

    // Already hot, a held button changes nothing while over it, and ends it when off it.
    sendMove(first_, 22, 10, MK_LBUTTON);
    EXPECT_TRUE(stateOf(first_).hot);
    pointAt(second_, 20, 10);
    sendMove(first_, 70, 10, MK_LBUTTON);
    EXPECT_FALSE(stateOf(first_).hot);
}

// A window of another thread takes activation, as another program's would.
class ForeignWindow {
public:
    ForeignWindow() {
        thread_ = std::thread([this] {
            threadId_ = GetCurrentThreadId();
            window_ = createParent(700, 500);
            activate(window_);
            SetEvent(ready_.get());
            MSG message;
            while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                DispatchMessageW(&message);
            }
            DestroyWindow(window_);
        });
        WaitForSingleObject(ready_.get(), 10000);
    }
    ~ForeignWindow() {
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    HWND window() const { return window_; }

private:
    struct EventTraits {
        using Handle = HANDLE;
        static void close(Handle h) { CloseHandle(h); }
    };
    gui::UniqueHandle<EventTraits> ready_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    HWND window_ = nullptr;
    DWORD threadId_ = 0;
    std::thread thread_;
};

TEST_F(ImageButtonTest, IsNotHotWhileAnotherProgramIsActive) {
    {
        makeHot(first_);
        const ForeignWindow foreign;
        pumpUntilIdle();
        ASSERT_EQ(GetForegroundWindow(), foreign.window());
        ASSERT_EQ(GetActiveWindow(), nullptr);
        sendMove(first_, 4, 4);
        EXPECT_FALSE(stateOf(first_).hot) << "a hot button goes cold";
        sendMove(second_, 4, 4);
        pointAt(second_, 4, 4);
        sendMove(second_, 4, 4);
        EXPECT_FALSE(stateOf(second_).hot) << "a cold one stays cold";
    }
    activate(parent_);
    sendMove(second_, 4, 4);
    EXPECT_TRUE(stateOf(second_).hot) << hoverInputs(second_);
}

// ---- Mouse clicks

TEST_F(ImageButtonTest, AClickTakesFocusPressesWhileDownAndCallsTheHandlerOnce) {
    makeHot(first_);
    sendDown(first_, 20, 10);
    EXPECT_EQ(GetFocus(), first_);
    EXPECT_EQ(GetCapture(), first_);
    EXPECT_TRUE(stateOf(first_).pressed);
    EXPECT_TRUE(stateOf(first_).focused);
    EXPECT_EQ(g_clicks, 0);
    sendUp(first_, 20, 10);
    EXPECT_EQ(g_clicks, 1);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(stateOf(first_).pressed);

    // A second click at once (a double click) is another click.
    sendDown(first_, 20, 10);
    sendUp(first_, 20, 10);
    EXPECT_EQ(g_clicks, 2);
}

TEST_F(ImageButtonTest, PressingThenMovingOffAndReleasingDoesNotClick) {
    makeHot(first_);
    sendDown(first_, 20, 10);
    placePointer(second_, 20, 10);
    sendMove(first_, 70, 10, MK_LBUTTON);
    const ImageButtonState off = stateOf(first_);
    EXPECT_FALSE(off.pressed);
    EXPECT_FALSE(off.hot);
    EXPECT_EQ(Printout(first_).at(15, 10), pixelFrom(kNormalLabel)) << "back to the normal picture once off";
    sendUp(first_, 70, 10);
    EXPECT_EQ(g_clicks, 0);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(stateOf(first_).pressed);
}

TEST_F(ImageButtonTest, PressingMovingOffAndBackThenReleasingClicks) {
    makeHot(first_);
    sendDown(first_, 20, 10);
    placePointer(second_, 20, 10);
    sendMove(first_, 70, 10, MK_LBUTTON);
    ASSERT_FALSE(stateOf(first_).pressed);
    placePointer(first_, 20, 10);
    sendMove(first_, 20, 10, MK_LBUTTON);
    EXPECT_TRUE(stateOf(first_).pressed);
    EXPECT_FALSE(stateOf(first_).hot) << "a held left button does not make it hot again";
    EXPECT_EQ(Printout(first_).at(kLabel.left + 1, kLabel.top + 1), pixelFrom(kHoverLabel));
    sendUp(first_, 20, 10);
    EXPECT_EQ(g_clicks, 1);
}

TEST_F(ImageButtonTest, LosingTheCaptureOrCancelModeEndsThePressWithoutAClick) {
    const struct {
        const char* name;
        void (*interrupt)(HWND button, HWND other);
    } cases[] = {
        {"capture taken", [](HWND, HWND other) { SetCapture(other); }},
        {"cancel mode", [](HWND button, HWND) { SendMessageW(button, WM_CANCELMODE, 0, 0); }},
    };
    for (const auto& c : cases) {
        sendDown(first_, 20, 10);
        ASSERT_TRUE(stateOf(first_).pressed) << c.name;
        c.interrupt(first_, second_);
        EXPECT_FALSE(stateOf(first_).pressed) << c.name;
        EXPECT_NE(GetCapture(), first_) << c.name;
        ReleaseCapture();
        sendUp(first_, 20, 10);
        EXPECT_EQ(g_clicks, 0) << c.name;
    }
}

TEST_F(ImageButtonTest, RealClicksAndDoubleClicksOfThePointerEachClick) {
    pointAt(first_, 20, 10);
    const auto click = [] {
        INPUT inputs[2] = {};
        inputs[0].type = inputs[1].type = INPUT_MOUSE;
        inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, inputs, sizeof(INPUT));
    };
    click();
    pumpUntilIdle();
    EXPECT_EQ(g_clicks, 1);
    EXPECT_EQ(GetFocus(), first_);
    click();
    click();
    pumpUntilIdle();
    EXPECT_EQ(g_clicks, 3);
    EXPECT_TRUE(stateOf(first_).hot);
    EXPECT_FALSE(stateOf(first_).pressed);
}

TEST_F(ImageButtonTest, TheHandlerRunsOnceTheButtonIsReleased) {
    g_clickedButton = makeButton(3, 10, 50, &recordClick);
    ASSERT_NE(g_clickedButton, nullptr);
    sendDown(g_clickedButton, 5, 5);
    sendUp(g_clickedButton, 5, 5);
    ASSERT_EQ(g_clicks, 1);
    EXPECT_FALSE(g_pressedDuringClick) << "mouse";
    EXPECT_FALSE(g_capturedDuringClick) << "mouse";

    g_pressedDuringClick = true;
    sendKey(g_clickedButton, WM_KEYDOWN, VK_SPACE);
    sendKey(g_clickedButton, WM_KEYUP, VK_SPACE);
    ASSERT_EQ(g_clicks, 2);
    EXPECT_FALSE(g_pressedDuringClick) << "Space";
}

// ---- Keyboard

TEST_F(ImageButtonTest, SpaceClicksOnReleaseOnceHoweverLongItIsHeld) {
    SetFocus(first_);
    sendKey(first_, WM_KEYDOWN, VK_SPACE);
    EXPECT_TRUE(stateOf(first_).pressed);
    sendKey(first_, WM_KEYDOWN, VK_SPACE, true);
    sendKey(first_, WM_KEYDOWN, VK_SPACE, true);
    EXPECT_EQ(g_clicks, 0);
    sendKey(first_, WM_KEYUP, VK_SPACE);
    EXPECT_EQ(g_clicks, 1);
    EXPECT_FALSE(stateOf(first_).pressed);

    sendKey(first_, WM_KEYUP, VK_SPACE);
    EXPECT_EQ(g_clicks, 1) << "a release without a press";
}

TEST_F(ImageButtonTest, EnterAndArrowKeysDoNothing) {
    SetFocus(first_);
    for (const WPARAM key : {VK_RETURN, VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN}) {
        sendKey(first_, WM_KEYDOWN, key);
        EXPECT_FALSE(stateOf(first_).pressed) << "key " << key;
        sendKey(first_, WM_KEYUP, key);
    }
    EXPECT_EQ(g_clicks, 0);
    EXPECT_EQ(GetFocus(), first_);
}

TEST_F(ImageButtonTest, LosingFocusWhileSpaceIsHeldEndsThePressWithoutAClick) {
    SetFocus(first_);
    sendKey(first_, WM_KEYDOWN, VK_SPACE);
    SetFocus(second_);
    EXPECT_FALSE(stateOf(first_).pressed);
    EXPECT_FALSE(stateOf(first_).focused);
    EXPECT_TRUE(stateOf(second_).focused);
    sendKey(first_, WM_KEYUP, VK_SPACE);
    EXPECT_EQ(g_clicks, 0);
}

// ---- A handler that destroys the button

TEST_F(ImageButtonTest, AHandlerMayDestroyTheButtonsParent) {
    const struct {
        const char* name;
        gui::Handler handler;
        bool bySpace;
    } cases[] = {
        {"destroyed by mouse click", &destroyParent, false},
        {"destroyed by Space", &destroyParent, true},
        {"closed in a nested loop, mouse click", &closeParentInNestedLoop, false},
        {"closed in a nested loop, Space", &closeParentInNestedLoop, true},
    };
    for (const auto& c : cases) {
        g_clicks = 0;
        g_parentToDestroy = createParent(300, 300);
        ASSERT_NE(g_parentToDestroy, nullptr);
        gui::ControlDefinition definition{"doomed", gui::ControlKind::ImageButton, 0, 0, kWidth, kHeight, c.handler};
        definition.normalPicture = normalPng();
        const HWND button = gui::createImageButton(g_parentToDestroy, 1, definition);
        ASSERT_NE(button, nullptr);
        if (c.bySpace) {
            SetFocus(button);
            sendKey(button, WM_KEYDOWN, VK_SPACE);
            sendKey(button, WM_KEYUP, VK_SPACE);
        } else {
            sendDown(button, 5, 5);
            sendUp(button, 5, 5);
        }
        pumpUntilIdle();
        EXPECT_EQ(g_clicks, 1) << c.name;
        EXPECT_FALSE(IsWindow(g_parentToDestroy)) << c.name;
        EXPECT_FALSE(IsWindow(button)) << c.name;
        EXPECT_FALSE(imageButtonState(button).has_value()) << c.name;
        EXPECT_EQ(GetCapture(), nullptr) << c.name;
    }
}

}  // namespace
