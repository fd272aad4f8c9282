#include "gui/browser_container.h"

#include "gui/ole_values.h"
#include "gui/text_convert.h"

namespace gui {
namespace {

const wchar_t* const kClassName = L"lineplayer.BrowserContainer";

}  // namespace

BrowserContainer* BrowserContainer::create(HWND parent, int id, int left, int top, int width, int height) {
    const auto background = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    if (registerClass(kClassName, 0, LoadCursorW(nullptr, IDC_ARROW), background) == 0) {
        return nullptr;
    }
    auto* container = new BrowserContainer();
    // Clipping children keeps the white background from being painted over the control.
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    const auto menuOrId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
    if (WindowObject::create(container, 0, kClassName, L"", style, left, top, width, height, parent, menuOrId) ==
        nullptr) {
        return nullptr;  // the object has been deleted with the window that never came to be
    }
    return container;
}

BrowserContainer* BrowserContainer::fromHandle(HWND window) {
    return dynamic_cast<BrowserContainer*>(WindowObject::fromHandle(window));
}

bool BrowserContainer::embed(const CLSID& classId) {
    if (!embedding_.open(classId, hwnd())) {
        return false;
    }
    browser_ = embedding_.query<IWebBrowser2>();
    if (!browser_) {
        embedding_.close();
        return false;
    }
    return true;
}

void BrowserContainer::navigate(std::string_view gbkAddress) {
    address_.assign(gbkAddress);
    if (!browser_) {
        return;
    }
    Bstr url(wideFromGbk(gbkAddress));
    Variant flags(0L);
    Variant targetFrame(Variant::NullBstr{});
    Variant postData;
    Variant headers(Variant::NullBstr{});
    browser_->Navigate(url.get(), flags.get(), targetFrame.get(), postData.get(), headers.get());
}

LRESULT BrowserContainer::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            onSize();
            return 0;
        case WM_SETFOCUS:
            onSetFocus();
            return 0;
        case WM_DESTROY:
            onDestroy();
            return 0;
        default:
            return defaultHandling(message, wParam, lParam);
    }
}

void BrowserContainer::onSize() { embedding_.fitToHost(); }

void BrowserContainer::onSetFocus() { embedding_.activateUserInterface(); }

// The control's windows are still there: it can deactivate in an orderly way.
void BrowserContainer::onDestroy() {
    browser_.reset();
    embedding_.close();
}

}  // namespace gui
