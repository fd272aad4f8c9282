#pragma once

// The window that holds the embedded browser: it sizes the control with itself, passes the
// focus on to it and tears the control down when it is destroyed.

#include <exdisp.h>
#include <windows.h>

#include <string>
#include <string_view>

#include "gui/ole_embedding.h"
#include "gui/unique_handle.h"
#include "gui/window_object.h"

namespace gui {

class BrowserContainer final : public WindowObject {
public:
    // Creates the container window, still empty. Null if it cannot be created.
    static BrowserContainer* create(HWND parent, int id, int left, int top, int width, int height);
    // The container behind a window, or null if the window is not one.
    static BrowserContainer* fromHandle(HWND window);

    // Embeds and activates an object of classId, which must be a web browser.
    bool embed(const CLSID& classId);

    void navigate(std::string_view gbkAddress);
    const std::string& address() const { return address_; }
    bool translateAccelerator(MSG& message) { return embedding_.translateAccelerator(message); }
    IWebBrowser2* browser() const { return browser_.get(); }

private:
    BrowserContainer() = default;

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onSize();
    void onSetFocus();
    void onDestroy();

    OleEmbedding embedding_;
    ComPtr<IWebBrowser2> browser_;
    std::string address_;
};

}  // namespace gui
