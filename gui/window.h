#pragma once

// A top-level window built from a WindowDefinition: its frame, background, controls, tab
// order and keyboard handling. What the window's life means for the program (loading,
// modality, destruction) is decided by whoever implements WindowEvents.

#include <windows.h>

#include <optional>
#include <string_view>
#include <vector>

#include "gui/picture.h"
#include "gui/window_definition.h"
#include "gui/window_object.h"

namespace gui {

class WindowEvents {
public:
    // The user asks to close the window (close box, system menu, Alt+F4, Esc).
    virtual void onCloseRequested() = 0;
    // A destroy request posted with postDestroyRequest() has been dispatched.
    virtual void onDestroyRequestDispatched() = 0;
    // The window system has destroyed the window, its controls with it.
    virtual void onWindowDestroyed() = 0;

protected:
    ~WindowEvents() = default;
};

class Window final : public WindowObject {
public:
    // Creates the top-level window, centred on the primary screen by its outer size, but
    // not its controls and not shown. Null if it cannot be created.
    static Window* create(const WindowDefinition& definition, HWND owner, WindowEvents& events);

    // Creates the controls in the definition's order; false when one cannot be created.
    bool createControls();

    void setIcons(HICON big, HICON small);
    void show();
    // Events of the definition; after the load they follow the window's moves and sizes.
    void raiseCreated() const;
    void raiseMoved() const;
    void raiseResized() const;
    void finishLoading() { loaded_ = true; }

    // Posts a private message that the window's message loop turns into
    // WindowEvents::onDestroyRequestDispatched.
    void postDestroyRequest() const;

    const WindowDefinition& definition() const { return definition_; }
    // The control's window by its name in the definition; null if there is none.
    HWND control(std::string_view name) const;

    // The pre-translate step of every message loop: keys for the embedded browser first,
    // then Tab, Shift+Tab and Esc for the window that the message is bound for.
    static bool translateKeys(MSG& message);

private:
    Window(const WindowDefinition& definition, WindowEvents& events);

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onWindowGone() override;

    LRESULT onNcHitTest(WPARAM wParam, LPARAM lParam);
    void onPaint();
    void onCommand(WPARAM wParam, LPARAM lParam);
    void onActivate(WPARAM wParam);
    void onSetFocus();

    bool translateOwnKeys(MSG& message);
    bool moveFocus(bool backwards);
    std::optional<std::size_t> controlWithFocus() const;
    void focusControl(std::size_t index);

    const WindowDefinition& definition_;
    WindowEvents& events_;
    std::optional<Picture> background_;
    std::vector<HWND> controls_;  // in definition order
    HWND lastFocus_ = nullptr;
    bool loaded_ = false;
};

// The whole text of an edit box as GBK bytes, line breaks included.
std::string readEditText(HWND edit);

}  // namespace gui
