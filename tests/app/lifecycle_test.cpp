// The window lifecycle on real windows and message loops.
#include "app/lifecycle.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "app/exit_routines.h"
#include "app/program.h"
#include "support/lifecycle_cleanup.h"
#include "support/message_pump.h"

namespace {

using testsupport::postStep;
using testsupport::pumpUntilIdle;
using testsupport::quitRequestWaiting;

std::vector<std::string> events;

void onFirstCreated() { events.push_back("first created"); }
void onFirstMoved() { events.push_back("first moved"); }
void onFirstResized() { events.push_back("first resized"); }

gui::WindowDefinition plainWindow(bool showInTaskbar = true) {
    return {.title = "test",
            .width = 200,
            .height = 120,
            .frame = gui::Frame::FixedWithCaption,
            .minimizeBox = true,
            .maximizeBox = false,
            .showInTaskbar = showInTaskbar,
            .visible = true,
            .escCloses = true};
}

gui::WindowDefinition first = [] {
    auto definition = plainWindow();
    definition.onCreated = &onFirstCreated;
    definition.onMoved = &onFirstMoved;
    definition.onResized = &onFirstResized;
    return definition;
}();
gui::WindowDefinition second = plainWindow();
gui::WindowDefinition modal = plainWindow();
gui::WindowDefinition noTaskbar = plainWindow(false);
gui::WindowDefinition frameless = [] {
    auto definition = plainWindow();
    definition.frame = gui::Frame::None;
    definition.width = 390;
    definition.height = 190;
    return definition;
}();
const std::array<const gui::WindowDefinition*, 5> kDefinitions = {&first, &second, &modal, &noTaskbar, &frameless};

HWND windowOf(const gui::WindowDefinition& definition) {
    const auto* window = app::liveWindow(definition);
    return window == nullptr ? nullptr : window->hwnd();
}

class Lifecycle : public ::testing::Test {
protected:
    void SetUp() override {
        events.clear();
        app::initGuiLayer(kDefinitions);
    }
    void TearDown() override {
        testsupport::closeWindowsAndShutDown(kDefinitions);
    }
};

TEST_F(Lifecycle, LoadRaisesCreatedMovedResizedThenShowsCentred) {
    ASSERT_TRUE(app::loadWindow(first));
    EXPECT_EQ(events, (std::vector<std::string>{"first created", "first moved", "first resized"}));
    HWND window = windowOf(first);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(window));
    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right - outer.left, 200);
    EXPECT_EQ(outer.bottom - outer.top, 120);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 200) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 120) / 2);
    EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);  // a taskbar button of its own
    EXPECT_NE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_NE(style & WS_MINIMIZEBOX, 0);
    EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
}

TEST_F(Lifecycle, FramelessWindowIsExactlyItsSizeAndDraggedByItsBackground) {
    ASSERT_TRUE(app::loadWindow(frameless));
    HWND window = windowOf(frameless);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 390);
    EXPECT_EQ(client.bottom, 190);
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX), 0);
    EXPECT_NE(style & WS_MINIMIZEBOX, 0);
    RECT outer;
    GetWindowRect(window, &outer);
    const LPARAM inside = MAKELPARAM(outer.left + 50, outer.top + 50);
    EXPECT_EQ(SendMessageW(window, WM_NCHITTEST, 0, inside), HTCAPTION);
}

TEST_F(Lifecycle, WindowsShareTheProgramIcon) {
    ASSERT_TRUE(app::loadWindow(first));
    ASSERT_TRUE(app::loadWindow(second));
    const auto icon = app::programIcon();
    for (HWND window : {windowOf(first), windowOf(second)}) {
        EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0)), icon.big);
        EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0)), icon.small);
    }
    EXPECT_EQ(app::programIcon().big, icon.big);  // loaded once
}

TEST_F(Lifecycle, NotInTaskbarMeansOwnedByTheHiddenOwner) {
    ASSERT_TRUE(app::loadWindow(noTaskbar));
    EXPECT_EQ(GetWindow(windowOf(noTaskbar), GW_OWNER), app::hiddenOwnerWindow());
    HWND owner = app::hiddenOwnerWindow();
    EXPECT_FALSE(IsWindowVisible(owner));
    EXPECT_NE(GetWindowLongW(owner, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
}

TEST_F(Lifecycle, LoadingALiveWindowActivatesItAndRunsNoModalLoop) {
    ASSERT_TRUE(app::loadWindow(first));
    ASSERT_TRUE(app::loadWindow(second));
    HWND window = windowOf(first);
    events.clear();
    // Fully modal, yet it returns at once: the window exists and no destruction is pending.
    EXPECT_TRUE(app::loadWindow(first, nullptr, true));
    EXPECT_EQ(windowOf(first), window);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(GetActiveWindow(), window);
    EXPECT_TRUE(IsWindowEnabled(windowOf(second)));
}

TEST_F(Lifecycle, ParentThatIsNotALiveWindowFailsTheLoad) {
    HWND stranger = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_FALSE(app::loadWindow(second, stranger));
    EXPECT_EQ(windowOf(second), nullptr);
    DestroyWindow(stranger);
    ASSERT_TRUE(app::loadWindow(first));
    EXPECT_TRUE(app::loadWindow(second, windowOf(first)));
    EXPECT_EQ(GetWindow(windowOf(second), GW_OWNER), windowOf(first));
}

TEST_F(Lifecycle, DestroyingAtOnceBeforeTheLoopPostsNoQuit) {
    ASSERT_TRUE(app::loadWindow(first));
    app::destroyWindow(first, true);
    EXPECT_EQ(windowOf(first), nullptr);
    EXPECT_FALSE(quitRequestWaiting());   // the loop has not started
    EXPECT_EQ(app::runMessageLoop(), 0);  // no window: returns at once
}

TEST_F(Lifecycle, DeferredDestructionWhileAnotherWindowLivesPostsNoQuit) {
    ASSERT_TRUE(app::loadWindow(first));
    ASSERT_TRUE(app::loadWindow(second));
    bool stillThereAfterRequest = false;
    bool quitAfterFirst = true;
    postStep([&] {
        app::destroyWindow(first);
        stillThereAfterRequest = windowOf(first) != nullptr && IsWindow(windowOf(first));
        postStep([&] {  // runs after the destroy request
            quitAfterFirst = quitRequestWaiting();
            EXPECT_EQ(windowOf(first), nullptr);
            app::destroyWindow(second);
        });
    });
    EXPECT_EQ(app::runMessageLoop(), 0);
    EXPECT_TRUE(stillThereAfterRequest);
    EXPECT_FALSE(quitAfterFirst);
    EXPECT_EQ(windowOf(second), nullptr);
    EXPECT_FALSE(quitRequestWaiting());  // exactly one quit, taken by the loop
}

TEST_F(Lifecycle, ClosingByTheUserDestroysAndTheLastWindowEndsTheLoop) {
    ASSERT_TRUE(app::loadWindow(first));
    postStep([] { PostMessageW(windowOf(first), WM_CLOSE, 0, 0); });
    EXPECT_EQ(app::runMessageLoop(), 0);
    EXPECT_EQ(windowOf(first), nullptr);
}

TEST_F(Lifecycle, EscClosesAWindowWhoseDefinitionSaysSo) {
    ASSERT_TRUE(app::loadWindow(first));
    postStep([] { PostMessageW(windowOf(first), WM_KEYDOWN, VK_ESCAPE, 0); });
    EXPECT_EQ(app::runMessageLoop(), 0);
    EXPECT_EQ(windowOf(first), nullptr);
}

TEST_F(Lifecycle, FullyModalWindowDisablesTheOthersAndGivesBackTheirStates) {
    ASSERT_TRUE(app::loadWindow(first));
    ASSERT_TRUE(app::loadWindow(second));
    EnableWindow(windowOf(second), FALSE);  // disabled before: stays disabled after
    struct Seen {
        HWND owner = nullptr;
        bool firstEnabled = true;
        bool secondEnabled = true;
        bool returned = false;
    } seen;
    postStep([&] {
        postStep([&] {  // inside the modal loop
            seen.owner = GetWindow(windowOf(modal), GW_OWNER);
            seen.firstEnabled = IsWindowEnabled(windowOf(first));
            seen.secondEnabled = IsWindowEnabled(windowOf(second));
            app::destroyWindow(modal);
        });
        seen.returned = app::loadWindow(modal, windowOf(first) /* dropped */, true);
        EXPECT_TRUE(IsWindowEnabled(windowOf(first)));
        EXPECT_FALSE(IsWindowEnabled(windowOf(second)));
        DestroyWindow(windowOf(first));
        DestroyWindow(windowOf(second));
    });
    EXPECT_EQ(app::runMessageLoop(), 0);
    EXPECT_TRUE(seen.returned);
    EXPECT_EQ(seen.owner, app::hiddenOwnerWindow());
    EXPECT_FALSE(seen.firstEnabled);
    EXPECT_FALSE(seen.secondEnabled);
}

// The program's run: the modal window's created handler asks for the first window to go;
// it goes once the modal window shows, without ending the modal loop or posting a quit.
bool firstExistedDuringCreated = false;
void destroyFirstDeferred() {
    firstExistedDuringCreated = windowOf(first) != nullptr;
    app::destroyWindow(first);
    firstExistedDuringCreated = firstExistedDuringCreated && IsWindow(windowOf(first));
}

TEST_F(Lifecycle, ModalWindowOutlivesTheWindowItHadDestroyedThenTheProgramEnds) {
    modal.onCreated = &destroyFirstDeferred;
    ASSERT_TRUE(app::loadWindow(first));
    struct Seen {
        bool modalOnly = false;
        bool quitWhileModal = true;
        bool returned = false;
    } seen;
    postStep([&] {
        postStep([&] {
            postStep([&] {  // after the destroy request
                seen.modalOnly = windowOf(first) == nullptr && windowOf(modal) != nullptr;
                seen.quitWhileModal = quitRequestWaiting();
                PostMessageW(windowOf(modal), WM_CLOSE, 0, 0);
            });
        });
        seen.returned = app::loadWindow(modal, nullptr, true);
    });
    EXPECT_EQ(app::runMessageLoop(), 0);
    modal.onCreated = nullptr;
    EXPECT_TRUE(firstExistedDuringCreated);
    EXPECT_TRUE(seen.modalOnly);
    EXPECT_FALSE(seen.quitWhileModal);
    EXPECT_TRUE(seen.returned);
}

TEST_F(Lifecycle, ModalLoopLeavesAQuitRequestForTheMainLoop) {
    ASSERT_TRUE(app::loadWindow(first));
    bool modalReturned = false;
    postStep([&] {
        postStep([] { PostQuitMessage(7); });
        modalReturned = app::loadWindow(modal, nullptr, true);
        // The modal window still lives; the quit waits for the main loop.
        EXPECT_NE(windowOf(modal), nullptr);
        EXPECT_TRUE(quitRequestWaiting());
    });
    EXPECT_EQ(app::runMessageLoop(), 7);
    EXPECT_TRUE(modalReturned);
}

// A button whose click handler runs a modal load in which its own window is destroyed:
// the handler returns into a dispatch that touches nothing destroyed.
int clicksHandled = 0;
void onDestroyingClick() {
    app::loadWindow(modal, nullptr, true);
    ++clicksHandled;
}
void destroyButtonWindowDeferred() { app::destroyWindow(second); }

TEST_F(Lifecycle, ClickHandlerSuspendedWhileItsWindowIsDestroyedReturnsSafely) {
    second.controls = {{.name = "button",
                        .kind = gui::ControlKind::PushButton,
                        .left = 10,
                        .top = 10,
                        .width = 80,
                        .height = 30,
                        .onClick = &onDestroyingClick,
                        .caption = "click"}};
    modal.onCreated = &destroyButtonWindowDeferred;
    clicksHandled = 0;
    ASSERT_TRUE(app::loadWindow(second));
    HWND button = app::liveWindow(second)->control("button");
    ASSERT_NE(button, nullptr);
    postStep([&] {
        postStep([] { postStep([] { PostMessageW(windowOf(modal), WM_CLOSE, 0, 0); }); });
        SendMessageW(button, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(app::runMessageLoop(), 0);
    second.controls.clear();
    modal.onCreated = nullptr;
    EXPECT_EQ(clicksHandled, 1);
    EXPECT_FALSE(IsWindow(button));
}

std::vector<int> routineRuns;
void routineA() { routineRuns.push_back(1); }
void routineB() { routineRuns.push_back(2); }

TEST_F(Lifecycle, ExitRoutinesRunOnceEachInOrderAndShutdownTwiceDoesNothing) {
    routineRuns.clear();
    app::registerExitRoutine(&routineA);
    app::registerExitRoutine(&routineB);
    app::registerExitRoutine(&routineA);  // already there
    ASSERT_TRUE(app::loadWindow(noTaskbar));
    HWND owned = windowOf(noTaskbar);
    app::shutdownGuiLayer();
    EXPECT_EQ(routineRuns, (std::vector<int>{1, 2}));
    EXPECT_FALSE(IsWindow(owned));  // went with the hidden owner
    EXPECT_FALSE(IsWindow(app::hiddenOwnerWindow()));
    app::shutdownGuiLayer();
    EXPECT_EQ(routineRuns, (std::vector<int>{1, 2}));
    app::initGuiLayer(kDefinitions);  // for TearDown
}

}  // namespace
