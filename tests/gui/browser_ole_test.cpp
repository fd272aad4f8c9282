// The container's OLE side on its own: the site object, and how the host builds up and
// tears down a control that turns out not to be a web browser.

#include <exdisp.h>
#include <gtest/gtest.h>
#include <ocidl.h>

#include <string>
#include <vector>

#include "gui/browser_host.h"
#include "gui/ole_site.h"
#include "gui/unique_handle.h"
#include "tests/gui/browser_fake_control.h"
#include "tests/gui/browser_test_support.h"

namespace {

using browser_test::FakeControlBehaviour;
using browser_test::FakeControlClass;

gui::ComPtr<IUnknown> identityOf(IUnknown* object) {
    gui::ComPtr<IUnknown> identity;
    object->QueryInterface(IID_IUnknown, identity.putVoid());
    return identity;
}

class BrowserSiteTest : public ::testing::Test {
protected:
    gui::OleApartment ole_;
    gui::UniqueWindow container_ = browser_test::makeParentWindow(300, 200);
};

TEST_F(BrowserSiteTest, EveryInterfaceIsOneCountedObject) {
    const LONG before = gui::OleSite::liveCount();
    {
        gui::ComPtr<gui::OleSite> site = gui::OleSite::create(container_.get());
        ASSERT_EQ(gui::OleSite::liveCount(), before + 1);
        const auto identity = identityOf(static_cast<IOleClientSite*>(site.get()));

        const IID offered[] = {IID_IOleClientSite, IID_IOleWindow, IID_IOleInPlaceSite, IID_IOleInPlaceUIWindow,
                               IID_IOleInPlaceFrame};
        std::vector<gui::ComPtr<IUnknown>> held;
        for (const IID& iid : offered) {
            gui::ComPtr<IUnknown> face;
            ASSERT_EQ(site->QueryInterface(iid, face.putVoid()), S_OK);
            ASSERT_TRUE(face);
            EXPECT_EQ(identityOf(face.get()).get(), identity.get());
            held.push_back(std::move(face));
        }
        const IID refused[] = {IID_IDispatch, IID_IOleContainer, IID_IOleControlSite, IID_IStream};
        for (const IID& iid : refused) {
            void* face = &container_;  // must come back null
            EXPECT_EQ(site->QueryInterface(iid, &face), E_NOINTERFACE);
            EXPECT_EQ(face, nullptr);
        }
        // The count moves with every reference: here the caller's, identity's and five held.
        EXPECT_EQ(site->AddRef(), 8u);
        EXPECT_EQ(site->Release(), 7u);
        held.clear();
        EXPECT_EQ(gui::OleSite::liveCount(), before + 1);
    }
    EXPECT_EQ(gui::OleSite::liveCount(), before);
}

TEST_F(BrowserSiteTest, WindowContextIsTheContainerUntilDetached) {
    gui::ComPtr<gui::OleSite> site = gui::OleSite::create(container_.get());
    RECT client{};
    GetClientRect(container_.get(), &client);

    HWND window = nullptr;
    EXPECT_EQ(site->GetWindow(&window), S_OK);
    EXPECT_EQ(window, container_.get());

    gui::ComPtr<IOleInPlaceFrame> frame;
    gui::ComPtr<IOleInPlaceUIWindow> document;
    RECT position{-1, -1, -1, -1};
    RECT clip{-1, -1, -1, -1};
    OLEINPLACEFRAMEINFO info{};
    info.cb = sizeof info;
    ASSERT_EQ(site->GetWindowContext(frame.put(), document.put(), &position, &clip, &info), S_OK);
    ASSERT_TRUE(frame);
    EXPECT_EQ(identityOf(frame.get()).get(), identityOf(static_cast<IOleClientSite*>(site.get())).get());
    EXPECT_FALSE(document);
    EXPECT_TRUE(EqualRect(&position, &client));
    EXPECT_TRUE(EqualRect(&clip, &client));
    EXPECT_EQ(info.haccel, nullptr);
    EXPECT_EQ(info.cAccelEntries, 0u);
    frame.reset();

    site->detach();
    window = container_.get();
    EXPECT_NE(site->GetWindow(&window), S_OK);
    EXPECT_EQ(window, nullptr);
    EXPECT_NE(site->GetWindowContext(frame.put(), document.put(), &position, &clip, &info), S_OK);
    EXPECT_FALSE(frame);
}

struct FailedEmbedding {
    const char* name;
    FakeControlBehaviour behaviour;
    std::vector<std::string> calls;
};

// A class that can be created, perhaps even activated, but gives no IWebBrowser2 must leave
// nothing behind: the control deactivated, its site taken back, closed, and every
// reference to either let go, even by a control that holds on to its site.
TEST(BrowserEmbeddingTest, AControlThatIsNoBrowserIsTornDownInOrder) {
    const FailedEmbedding cases[] = {
        {"site wanted first",
         {true, true, false},
         {"GetMiscStatus", "SetClientSite(site)", "InitNew", "DoVerb(in-place activate)", "InPlaceDeactivate",
          "SetClientSite(null)", "Close(no save)"}},
        {"site after initialisation",
         {false, true, false},
         {"GetMiscStatus", "InitNew", "SetClientSite(site)", "DoVerb(in-place activate)", "InPlaceDeactivate",
          "SetClientSite(null)", "Close(no save)"}},
        {"nothing to initialise",
         {false, false, false},
         {"GetMiscStatus", "SetClientSite(site)", "DoVerb(in-place activate)", "InPlaceDeactivate",
          "SetClientSite(null)", "Close(no save)"}},
        {"site kept until the control is gone",
         {false, true, false, true},
         {"GetMiscStatus", "InitNew", "SetClientSite(site)", "DoVerb(in-place activate)", "InPlaceDeactivate",
          "SetClientSite(null)", "Close(no save)"}},
        {"activation refused",
         {false, true, true},
         {"GetMiscStatus", "InitNew", "SetClientSite(site)", "DoVerb(in-place activate)", "InPlaceDeactivate",
          "SetClientSite(null)", "Close(no save)"}},
    };
    gui::OleApartment ole;
    gui::UniqueWindow parent = browser_test::makeParentWindow();
    for (const FailedEmbedding& c : cases) {
        SCOPED_TRACE(c.name);
        {
            FakeControlClass fake(c.behaviour);
            ASSERT_TRUE(fake.registered());
            gui::setWebBrowserClassForTesting(FakeControlClass::kClassId);
            const HWND container = gui::createWebBrowser(parent.get(), 5, 30, 40, 300, 200, {});
            gui::setWebBrowserClassForTesting(CLSID_WebBrowser);
            browser_test::pumpUntilIdle();

            EXPECT_EQ(container, nullptr);
            EXPECT_EQ(GetWindow(parent.get(), GW_CHILD), nullptr);
            EXPECT_EQ(fake.record().calls, c.calls);
            // Activation happened in a child of parent at the place asked for.
            EXPECT_EQ(fake.record().activationWindowParent, parent.get());
            EXPECT_EQ(fake.record().activationRect.right - fake.record().activationRect.left, 300);
            EXPECT_EQ(fake.record().activationRect.bottom - fake.record().activationRect.top, 200);
            EXPECT_FALSE(IsWindow(fake.record().activationWindow));
        }
        EXPECT_EQ(FakeControlClass::liveObjects(), 0);
        EXPECT_EQ(gui::OleSite::liveCount(), 0);
    }
}

TEST(BrowserEmbeddingTest, AClassThatDoesNotExistGivesNullAndNoWindow) {
    // {0B5E3A29-7C41-4D8E-B2F6-91A0C3D4E5F6}: registered nowhere.
    const CLSID missing = {0x0b5e3a29, 0x7c41, 0x4d8e, {0xb2, 0xf6, 0x91, 0xa0, 0xc3, 0xd4, 0xe5, 0xf6}};
    gui::OleApartment ole;
    gui::UniqueWindow parent = browser_test::makeParentWindow();
    gui::setWebBrowserClassForTesting(missing);
    const HWND container = gui::createWebBrowser(parent.get(), 5, 0, 0, 300, 200, {});
    gui::setWebBrowserClassForTesting(CLSID_WebBrowser);
    browser_test::pumpUntilIdle();

    EXPECT_EQ(container, nullptr);
    EXPECT_EQ(GetWindow(parent.get(), GW_CHILD), nullptr);
    EXPECT_EQ(gui::OleSite::liveCount(), 0);
}

}  // namespace
