// The browser host with the system's web-browser control, against a loopback HTTP logger.
// Under Wine the control sends real requests but renders nothing. What the control itself
// was given is checked from Wine's ieframe trace by browser_trace_test.py, which runs some
// of these tests: keep their names and steps in step with it.

#include "gui/browser_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "gui/browser_container.h"
#include "gui/ole_site.h"
#include "gui/unique_handle.h"
#include "tests/gui/browser_http_logger.h"
#include "tests/gui/browser_test_support.h"

namespace {

using browser_test::pumpUntil;
using browser_test::pumpUntilIdle;
using Requests = std::vector<std::string>;

IWebBrowser2* browserOf(HWND container) {
    const gui::BrowserContainer* const object = gui::BrowserContainer::fromHandle(container);
    return object != nullptr ? object->browser() : nullptr;
}

// The control's own window, as it reports it.
HWND controlWindowOf(HWND container) {
    IWebBrowser2* const browser = browserOf(container);
    if (browser == nullptr) {
        return nullptr;
    }
    gui::ComPtr<IOleInPlaceObject> inPlace;
    browser->QueryInterface(IID_IOleInPlaceObject, inPlace.putVoid());
    HWND window = nullptr;
    if (!inPlace || FAILED(inPlace->GetWindow(&window))) {
        return nullptr;
    }
    return window;
}

SIZE clientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

std::wstring locationOf(HWND container) {
    BSTR location = nullptr;
    if (IWebBrowser2* const browser = browserOf(container)) {
        browser->get_LocationURL(&location);
    }
    std::wstring text = location != nullptr ? std::wstring(location, SysStringLen(location)) : L"";
    SysFreeString(location);
    return text;
}

class BrowserHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(http_.listening());
        ASSERT_TRUE(parent_);
    }

    HWND create(const gui::BrowserSettings& settings = {}, int id = 42) {
        return gui::createWebBrowser(parent_.get(), id, 10, 20, 300, 200, settings);
    }
    std::string address(const char* path) const { return http_.origin() + path; }
    // Waits, pumping, until the logger has seen `count` requests; then what it saw.
    Requests awaitRequests(std::size_t count) {
        pumpUntil([&] { return http_.requests().size() >= count; });
        return http_.requests();
    }

    // Declared in this order so that the parent, and the browser with it, goes first.
    gui::OleApartment ole_;
    browser_test::HttpLogger http_;
    gui::UniqueWindow parent_ = browser_test::makeParentWindow();
};

TEST_F(BrowserHostTest, ContainerIsAVisibleClippingChildFilledByTheControl) {
    const HWND container = create({}, 42);
    ASSERT_NE(container, nullptr);
    pumpUntilIdle();

    EXPECT_EQ(GetParent(container), parent_.get());
    EXPECT_EQ(GetDlgCtrlID(container), 42);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(container, GWL_STYLE));
    EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS), DWORD{WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS});
    RECT place{};
    GetWindowRect(container, &place);
    MapWindowPoints(nullptr, parent_.get(), reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(place.left, 10);
    EXPECT_EQ(place.top, 20);
    EXPECT_EQ(place.right, 310);
    EXPECT_EQ(place.bottom, 220);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(GetClassLongPtrW(container, GCLP_HBRBACKGROUND)), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrW(container, GCLP_HCURSOR)), LoadCursorW(nullptr, IDC_ARROW));

    const HWND control = controlWindowOf(container);
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(IsChild(container, control));
    EXPECT_EQ(clientSize(control).cx, 300);
    EXPECT_EQ(clientSize(control).cy, 200);
    EXPECT_EQ(gui::webBrowserAddress(container), "");
}

TEST_F(BrowserHostTest, InitialAddressIsNavigatedAtCreation) {
    const std::string initial = address("/initial");
    gui::BrowserSettings settings;
    settings.initialAddress = initial;
    const HWND container = create(settings);
    ASSERT_NE(container, nullptr);

    EXPECT_EQ(awaitRequests(1), Requests{"GET /initial"});
    EXPECT_EQ(gui::webBrowserAddress(container), initial);
}

TEST_F(BrowserHostTest, EmptyInitialAddressIsNotNavigated) {
    const HWND container = create();
    ASSERT_NE(container, nullptr);
    pumpUntilIdle();
    // Had creation sent the browser anywhere on the logger, that request would come first.
    gui::navigateWebBrowser(container, address("/marker"));
    EXPECT_EQ(awaitRequests(1), Requests{"GET /marker"});
}

// The text size cannot be read back from this control; browser_trace_test.py checks the
// zoom each of these was given, clamped to 0..4.
TEST_F(BrowserHostTest, SettingsReachTheBrowser) {
    struct Case {
        bool offline;
        bool silent;
        int textSize;
    };
    const Case cases[] = {{false, false, 2}, {true, false, -3}, {false, true, 9}, {true, true, 4}, {false, false, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "offline " << c.offline << ", silent " << c.silent);
        gui::BrowserSettings settings;
        settings.offline = c.offline;
        settings.silent = c.silent;
        settings.textSize = c.textSize;
        gui::UniqueWindow container(create(settings));
        ASSERT_TRUE(container);
        VARIANT_BOOL offline = 1;  // neither VARIANT_TRUE nor VARIANT_FALSE
        VARIANT_BOOL silent = 1;
        ASSERT_EQ(browserOf(container.get())->get_Offline(&offline), S_OK);
        ASSERT_EQ(browserOf(container.get())->get_Silent(&silent), S_OK);
        EXPECT_EQ(offline, c.offline ? VARIANT_TRUE : VARIANT_FALSE);
        EXPECT_EQ(silent, c.silent ? VARIANT_TRUE : VARIANT_FALSE);
    }
}

TEST_F(BrowserHostTest, PlainAddressIsRequestedAsGiven) {
    const HWND container = create();
    ASSERT_NE(container, nullptr);
    const std::string plain = address("/plain/page.html?id=7&name=x_y");
    gui::navigateWebBrowser(container, plain);

    EXPECT_EQ(gui::webBrowserAddress(container), plain);
    EXPECT_EQ(awaitRequests(1), Requests{"GET /plain/page.html?id=7&name=x_y"});
}

// browser_trace_test.py checks that the control was handed each of these unchanged.
TEST_F(BrowserHostTest, AddressesAreKeptExactlyAsWritten) {
    const HWND container = create();
    ASSERT_NE(container, nullptr);
    const std::string written[] = {
        "  " + address("/spaces") + "  ", address("/crlf") + "\r\n", "\r\n" + address("/leading"),
        address("/\xd6\xd0\xce\xc4"),  // two Chinese characters in GBK
    };
    for (const std::string& text : written) {
        gui::navigateWebBrowser(container, text);
        EXPECT_EQ(gui::webBrowserAddress(container), text);
        pumpUntilIdle();
    }
    // A trailing line break is the control's to drop; it does, and still asks the server.
    pumpUntil([&] { return http_.requests().size() >= 2; });
    const Requests seen = http_.requests();
    EXPECT_NE(std::find(seen.begin(), seen.end(), "GET /crlf"), seen.end());
}

TEST_F(BrowserHostTest, TheSameAddressTwiceIsRequestedTwice) {
    const HWND container = create();
    ASSERT_NE(container, nullptr);
    const std::string again = address("/again");
    gui::navigateWebBrowser(container, again);
    ASSERT_EQ(awaitRequests(1).size(), 1u);
    gui::navigateWebBrowser(container, again);
    EXPECT_EQ(awaitRequests(2), (Requests{"GET /again", "GET /again"}));
}

TEST_F(BrowserHostTest, AnEmptyAddressIsStoredAndStillNavigated) {
    const HWND container = create();
    ASSERT_NE(container, nullptr);
    gui::navigateWebBrowser(container, address("/first"));
    ASSERT_EQ(awaitRequests(1), Requests{"GET /first"});
    ASSERT_TRUE(pumpUntil([&] { return locationOf(container).find(L"/first") != std::wstring::npos; }));
    const std::wstring before = locationOf(container);

    gui::navigateWebBrowser(container, "");
    EXPECT_EQ(gui::webBrowserAddress(container), "");
    // The control went somewhere else, so it was asked to.
    EXPECT_TRUE(pumpUntil([&] { return locationOf(container) != before; }, std::chrono::seconds(5)));
}

TEST_F(BrowserHostTest, TheControlFollowsTheContainerSize) {
    const HWND container = create();
    ASSERT_NE(container, nullptr);
    const HWND control = controlWindowOf(container);
    ASSERT_NE(control, nullptr);
    const SIZE sizes[] = {{400, 100}, {120, 360}, {1, 1}, {0, 0}, {900, 700}};
    for (const SIZE& size : sizes) {
        SCOPED_TRACE(testing::Message() << size.cx << " x " << size.cy);
        MoveWindow(container, 5, 5, size.cx, size.cy, TRUE);
        pumpUntilIdle();
        EXPECT_EQ(clientSize(container).cx, size.cx);
        EXPECT_EQ(clientSize(control).cx, size.cx);
        EXPECT_EQ(clientSize(control).cy, size.cy);
    }
}

// browser_trace_test.py checks the order of the teardown calls, and that no reference to
// the control is left, from this test.
TEST_F(BrowserHostTest, DestroyingTheParentTearsEverythingDown) {
    gui::BrowserSettings settings;
    const std::string initial = address("/initial");
    settings.initialAddress = initial;
    const HWND container = create(settings);
    ASSERT_NE(container, nullptr);
    ASSERT_EQ(awaitRequests(1).size(), 1u);
    gui::navigateWebBrowser(container, address("/in-flight"));  // not waited for

    parent_.reset();
    EXPECT_TRUE(pumpUntil([] { return gui::OleSite::liveCount() == 0; }, std::chrono::seconds(5)));
    EXPECT_FALSE(IsWindow(container));
    // The old handle is no browser of ours any more.
    gui::navigateWebBrowser(container, address("/after"));
    EXPECT_EQ(gui::webBrowserAddress(container), "");
}

TEST_F(BrowserHostTest, FocusGivenToTheContainerGoesIntoTheControl) {
    const HWND container = create();
    ASSERT_NE(container, nullptr);
    SetFocus(container);
    pumpUntilIdle();
    const HWND focus = GetFocus();
    EXPECT_NE(focus, container);
    EXPECT_TRUE(IsChild(container, focus));
}

// browser_trace_test.py counts the keys the control was offered here: one, the one sent
// while the focus was inside.
TEST_F(BrowserHostTest, KeysAreOfferedOnlyWhileTheFocusIsInside) {
    const HWND container = create();
    ASSERT_NE(container, nullptr);
    const HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 300, 200, 24, parent_.get(), nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    MSG key{};
    key.message = WM_KEYDOWN;
    key.wParam = VK_TAB;

    SetFocus(edit);
    pumpUntilIdle();
    ASSERT_EQ(GetFocus(), edit);
    key.hwnd = edit;
    EXPECT_FALSE(gui::translateBrowserAccelerator(container, key));
    EXPECT_FALSE(gui::translateBrowserAccelerator(edit, key));  // not a browser container

    SetFocus(container);
    pumpUntilIdle();
    ASSERT_TRUE(IsChild(container, GetFocus()));
    MSG click = key;
    click.hwnd = GetFocus();
    click.message = WM_LBUTTONDOWN;
    EXPECT_FALSE(gui::translateBrowserAccelerator(container, click));  // not a key
    key.hwnd = GetFocus();
    gui::translateBrowserAccelerator(container, key);  // offered; this control declines every key
}

}  // namespace
