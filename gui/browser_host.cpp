#include "gui/browser_host.h"

#include <exdisp.h>

#include <algorithm>

#include "gui/browser_container.h"
#include "gui/ole_values.h"
#include "gui/unique_handle.h"

namespace gui {
namespace {

CLSID browserClass = CLSID_WebBrowser;

// The browser answers these with its own result, which changes nothing for us: a browser
// that cannot zoom or go offline still shows pages.
void applySettings(IWebBrowser2& browser, const BrowserSettings& settings) {
    browser.put_Offline(settings.offline ? VARIANT_TRUE : VARIANT_FALSE);
    browser.put_Silent(settings.silent ? VARIANT_TRUE : VARIANT_FALSE);
    Variant zoom(static_cast<LONG>(std::clamp(settings.textSize, 0, 4)));
    browser.ExecWB(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, zoom.get(), nullptr);
}

}  // namespace

HWND createWebBrowser(HWND parent, int id, int left, int top, int width, int height, const BrowserSettings& settings) {
    BrowserContainer* const container = BrowserContainer::create(parent, id, left, top, width, height);
    if (container == nullptr) {
        return nullptr;
    }
    UniqueWindow window(container->hwnd());
    if (!container->embed(browserClass)) {
        return nullptr;  // destroying the window deletes the container
    }
    applySettings(*container->browser(), settings);
    if (!settings.initialAddress.empty()) {
        container->navigate(settings.initialAddress);
    }
    return window.release();
}

void navigateWebBrowser(HWND container, std::string_view gbkAddress) {
    if (BrowserContainer* const browser = BrowserContainer::fromHandle(container)) {
        browser->navigate(gbkAddress);
    }
}

std::string webBrowserAddress(HWND container) {
    const BrowserContainer* const browser = BrowserContainer::fromHandle(container);
    return browser != nullptr ? browser->address() : std::string();
}

bool translateBrowserAccelerator(HWND container, MSG& message) {
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) {
        return false;
    }
    BrowserContainer* const browser = BrowserContainer::fromHandle(container);
    if (browser == nullptr) {
        return false;
    }
    const HWND focus = GetFocus();
    if (focus == nullptr || (focus != container && IsChild(container, focus) == FALSE)) {
        return false;
    }
    return browser->translateAccelerator(message);
}

void setWebBrowserClassForTesting(const CLSID& classId) { browserClass = classId; }

}  // namespace gui
