// The chooser and the player as the program defines them: their settings, controls and
// handlers, on real windows. The tests run under a Western ANSI code page, so every text
// shows that the GBK conversion names its code page.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/lifecycle.h"
#include "gui/browser_host.h"
#include "gui/image_button.h"
#include "lines/line_table.h"
#include "support/lifecycle_cleanup.h"
#include "support/message_pump.h"
#include "ui/chooser_window.h"
#include "ui/player_window.h"

namespace {

using testsupport::postStep;
using testsupport::pumpUntilIdle;

constexpr std::array<std::string_view, 10> kPlainPrefixes = {
#include "expected_prefixes.inc"
};
const std::array<const gui::WindowDefinition*, 2> kWindows = {&ui::ChooserWindow, &ui::PlayerWindow};
// {8856F961-340A-11D0-A96B-00C04FD705A2} with its last byte changed: no such class.
constexpr CLSID kNoSuchClass = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA3}};
constexpr CLSID kWebBrowser = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};

HWND windowOf(const gui::WindowDefinition& definition) {
    const auto* window = app::liveWindow(definition);
    return window == nullptr ? nullptr : window->hwnd();
}

std::wstring windowText(HWND window) {
    wchar_t text[256] = L"";
    GetWindowTextW(window, text, 256);
    return text;
}

void clickAt(HWND control) {
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

class ProgramWindows : public ::testing::Test {
protected:
    void SetUp() override {
        lines::currentLinePrefix.clear();
        app::initGuiLayer(kWindows);
    }
    void TearDown() override {
        gui::setWebBrowserClassForTesting(kWebBrowser);
        testsupport::closeWindowsAndShutDown(kWindows);
    }
};

TEST_F(ProgramWindows, ChooserIsAFramelessWindowOfThirteenImageButtons) {
    ASSERT_TRUE(app::loadWindow(ui::ChooserWindow));
    HWND chooser = windowOf(ui::ChooserWindow);
    EXPECT_EQ(windowText(chooser), L"");
    RECT outer;
    GetWindowRect(chooser, &outer);
    EXPECT_EQ(outer.right - outer.left, 390);
    EXPECT_EQ(outer.bottom - outer.top, 190);
    EXPECT_EQ(GetWindow(chooser, GW_OWNER), nullptr);
    const struct {
        const char* name;
        int left, top, width, height;
    } expected[] = {
        {"超级按钮1", 10, 30, 80, 40},    {"超级按钮2", 100, 30, 80, 40},   {"超级按钮3", 280, 30, 80, 40},
        {"超级按钮4", 190, 30, 80, 40},   {"超级按钮5", 10, 75, 80, 40},    {"超级按钮6", 100, 75, 80, 40},
        {"超级按钮7", 190, 75, 80, 40},   {"超级按钮8", 280, 75, 80, 40},   {"超级按钮9", 10, 120, 80, 40},
        {"超级按钮10", 100, 120, 80, 40}, {"超级按钮11", 190, 120, 80, 40}, {"超级按钮12", 375, 1, 14, 14},
        {"超级按钮13", 280, 120, 80, 40},
    };
    // Created in this order: each is the next child in the z-order after the one before.
    HWND previous = nullptr;
    for (const auto& button : expected) {
        HWND control = app::liveWindow(ui::ChooserWindow)->control(button.name);
        ASSERT_NE(control, nullptr) << button.name;
        EXPECT_TRUE(gui::imageButtonState(control).has_value()) << button.name;
        RECT place;
        GetWindowRect(control, &place);
        MapWindowPoints(nullptr, chooser, reinterpret_cast<POINT*>(&place), 2);
        EXPECT_EQ(place.left, button.left) << button.name;
        EXPECT_EQ(place.top, button.top) << button.name;
        EXPECT_EQ(place.right - place.left, button.width) << button.name;
        EXPECT_EQ(place.bottom - place.top, button.height) << button.name;
        EXPECT_EQ(GetWindow(control, GW_HWNDPREV), previous) << button.name;
        previous = control;
    }
}

TEST_F(ProgramWindows, TabFollowsTheNamesFromTheFirstButton) {
    ASSERT_TRUE(app::loadWindow(ui::ChooserWindow));
    auto* chooser = app::liveWindow(ui::ChooserWindow);
    SetForegroundWindow(chooser->hwnd());
    SetFocus(chooser->hwnd());
    pumpUntilIdle();
    EXPECT_EQ(GetFocus(), chooser->control("超级按钮1"));
    std::vector<HWND> order;
    for (int i = 0; i < 13; ++i) {
        MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
        EXPECT_TRUE(gui::Window::translateKeys(tab));
        order.push_back(GetFocus());
    }
    const char* names[] = {"超级按钮2",  "超级按钮3",  "超级按钮4", "超级按钮5",  "超级按钮6",
                           "超级按钮7",  "超级按钮8",  "超级按钮9", "超级按钮10", "超级按钮11",
                           "超级按钮12", "超级按钮13", "超级按钮1"};
    for (std::size_t i = 0; i < 13; ++i) {
        EXPECT_EQ(order[i], chooser->control(names[i])) << "tab " << i + 1;
    }
}

TEST_F(ProgramWindows, TheButtonInInterface3sPlaceSelectsInterface3AndAFailedPlayerLeavesTheChooser) {
    // A browser control that cannot be created: the player is discarded half-built.
    gui::setWebBrowserClassForTesting(kNoSuchClass);
    ASSERT_TRUE(app::loadWindow(ui::ChooserWindow));
    HWND chooser = windowOf(ui::ChooserWindow);
    HWND third = ChildWindowFromPoint(chooser, POINT{230, 50});
    ASSERT_EQ(third, app::liveWindow(ui::ChooserWindow)->control("超级按钮4"));
    clickAt(third);
    pumpUntilIdle();
    EXPECT_EQ(lines::currentLinePrefix, kPlainPrefixes[2]);
    EXPECT_EQ(windowOf(ui::PlayerWindow), nullptr);
    EXPECT_EQ(windowOf(ui::ChooserWindow), chooser);  // no destruction was asked for
    EXPECT_TRUE(IsWindowEnabled(chooser));
    // And the user can choose again: 接口9 and 接口10 share one prefix.
    clickAt(app::liveWindow(ui::ChooserWindow)->control("超级按钮10"));
    pumpUntilIdle();
    EXPECT_EQ(lines::currentLinePrefix, kPlainPrefixes[8]);
}

TEST_F(ProgramWindows, ThePlayerReplacesTheChooserAndPlaysThePrefixThenTheText) {
    ASSERT_TRUE(app::loadWindow(ui::ChooserWindow));
    struct Seen {
        std::wstring title;
        RECT outer{};
        HWND owner = nullptr;
        LONG style = 0;
        bool chooserGone = false;
        HWND focus = nullptr;
        std::vector<HWND> tabs;
        std::vector<bool> focusInBrowser;
        LONG editStyle = 0;
        LONG editExStyle = 0;
        LONG buttonStyle = 0;
        std::wstring caption;
        HFONT font = nullptr;
        std::string address;
        std::string addressAfterSecondPlay;
    } seen;
    HWND edit = nullptr, button = nullptr, browser = nullptr;
    std::function<void()> onceThePlayerIsShown;
    std::function<void()> waitForThePlayer = [&] {
        // Posted again until the player exists; then once more, after its destroy request.
        postStep(app::liveWindow(ui::PlayerWindow) != nullptr ? onceThePlayerIsShown : waitForThePlayer);
    };
    onceThePlayerIsShown = [&] {
        auto* player = app::liveWindow(ui::PlayerWindow);
        HWND window = player->hwnd();
        edit = player->control("编辑框1");
        button = player->control("按钮1");
        browser = player->control("超文本浏览框1");
        seen.title = windowText(window);
        GetWindowRect(window, &seen.outer);
        seen.owner = GetWindow(window, GW_OWNER);
        seen.style = GetWindowLongW(window, GWL_STYLE);
        seen.chooserGone = windowOf(ui::ChooserWindow) == nullptr;
        SetForegroundWindow(window);
        SetFocus(window);
        seen.focus = GetFocus();
        for (int i = 0; i < 3; ++i) {
            MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
            gui::Window::translateKeys(tab);
            seen.tabs.push_back(GetFocus());
            seen.focusInBrowser.push_back(GetFocus() == browser || IsChild(browser, GetFocus()));
        }
        seen.editStyle = GetWindowLongW(edit, GWL_STYLE);
        seen.editExStyle = GetWindowLongW(edit, GWL_EXSTYLE);
        seen.buttonStyle = GetWindowLongW(button, GWL_STYLE);
        seen.caption = windowText(button);
        seen.font = reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0));
        SetWindowTextW(edit, L"  http://v.example/中文\r\n二 ");
        SendMessageW(button, BM_CLICK, 0, 0);
        seen.address = gui::webBrowserAddress(browser);
        SetWindowTextW(edit, L"");
        SendMessageW(button, BM_CLICK, 0, 0);
        seen.addressAfterSecondPlay = gui::webBrowserAddress(browser);
        PostMessageW(window, WM_CLOSE, 0, 0);
    };
    postStep([&] {
        clickAt(app::liveWindow(ui::ChooserWindow)->control("超级按钮3"));  // 接口4
        waitForThePlayer();
    });
    EXPECT_EQ(app::runMessageLoop(), 0);
    EXPECT_EQ(seen.title, L"请保持适当网速进行观看");
    EXPECT_EQ(seen.outer.right - seen.outer.left, 938);
    EXPECT_EQ(seen.outer.bottom - seen.outer.top, 541);
    EXPECT_EQ(seen.owner, app::hiddenOwnerWindow());
    EXPECT_NE(seen.style & WS_CAPTION, 0);
    EXPECT_NE(seen.style & WS_SYSMENU, 0);
    EXPECT_NE(seen.style & WS_MINIMIZEBOX, 0);
    EXPECT_EQ(seen.style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
    EXPECT_TRUE(seen.chooserGone);
    EXPECT_EQ(seen.focus, edit);
    ASSERT_EQ(seen.tabs.size(), 3U);
    EXPECT_EQ(seen.tabs[0], button);
    EXPECT_EQ(seen.focusInBrowser, (std::vector<bool>{false, true, false}));
    EXPECT_EQ(seen.tabs[2], edit);
    EXPECT_NE(seen.editStyle & ES_MULTILINE, 0);
    EXPECT_NE(seen.editStyle & ES_WANTRETURN, 0);
    EXPECT_EQ(seen.editStyle & (ES_AUTOHSCROLL | WS_HSCROLL | WS_VSCROLL | ES_NOHIDESEL), 0);
    EXPECT_NE(seen.editExStyle & WS_EX_CLIENTEDGE, 0);
    EXPECT_EQ(seen.buttonStyle & BS_TYPEMASK, BS_PUSHBUTTON);
    EXPECT_EQ(seen.buttonStyle & (BS_CENTER | BS_VCENTER | BS_MULTILINE), BS_CENTER | BS_VCENTER | BS_MULTILINE);
    EXPECT_EQ(seen.caption, L"播放");
    EXPECT_EQ(seen.font, static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    const std::string prefix(kPlainPrefixes[3]);
    EXPECT_EQ(seen.address, prefix + "  http://v.example/中文\r\n二 ");
    EXPECT_EQ(seen.addressAfterSecondPlay, prefix);  // an empty box: the prefix alone
    EXPECT_EQ(lines::currentLinePrefix, prefix);
}

// The usage hint: its text and caption as the program has them, one OK button, no icon.
// A timer, which the box's own message loop runs, reads the box and answers it.
struct SeenBox {
    std::vector<std::wstring> texts;
    bool chooserEnabled = true;
} seenBox;

BOOL CALLBACK readAndCloseBox(HWND window, LPARAM) {
    wchar_t className[16] = L"";
    GetClassNameW(window, className, 16);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || std::wstring(className) != L"#32770" || !IsWindowVisible(window)) {
        return TRUE;
    }
    seenBox.texts = {
        windowText(window), windowText(GetDlgItem(window, 0xFFFF)),
        GetDlgItem(window, IDCANCEL) == nullptr && GetDlgItem(window, IDOK) != nullptr ? L"OK only" : L"other",
        GetDlgItem(window, 0x14) == nullptr ? L"no icon" : L"icon"};
    seenBox.chooserEnabled = IsWindowEnabled(windowOf(ui::ChooserWindow)) != FALSE;
    PostMessageW(window, WM_COMMAND, IDOK, 0);
    return FALSE;
}

VOID CALLBACK lookForTheBox(HWND, UINT, UINT_PTR timer, DWORD) {
    EnumWindows(&readAndCloseBox, 0);
    if (!seenBox.texts.empty()) {
        KillTimer(nullptr, timer);
    }
}

TEST_F(ProgramWindows, HelpShowsTheHintModalToTheWholeProgram) {
    ASSERT_TRUE(app::loadWindow(ui::ChooserWindow));
    lines::selectLine(2);
    seenBox = {};
    SetTimer(nullptr, 0, 50, &lookForTheBox);
    ui::onHelpClicked();
    ASSERT_EQ(seenBox.texts.size(), 4U);
    EXPECT_EQ(seenBox.texts[0], L"信息：");
    EXPECT_EQ(seenBox.texts[1], L"把要看的视频复制到文本框内，等待少许即可播放。");
    EXPECT_EQ(seenBox.texts[2], L"OK only");
    EXPECT_EQ(seenBox.texts[3], L"no icon");
    EXPECT_FALSE(seenBox.chooserEnabled);  // no program window takes input meanwhile
    EXPECT_TRUE(IsWindowEnabled(windowOf(ui::ChooserWindow)));
    EXPECT_EQ(lines::currentLinePrefix, kPlainPrefixes[1]);
}

}  // namespace
