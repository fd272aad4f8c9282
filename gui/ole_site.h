#pragma once

// The container side of an embedded OLE control: one reference-counted object that is the
// control's client site, in-place site and in-place frame, and nothing more. It lives as
// long as anyone holds a reference, so a late call from the control always finds it.

#include <ole2.h>
#include <windows.h>

#include "gui/unique_handle.h"

namespace gui {

class OleSite final : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
public:
    // A new site for a control shown in `container`, holding one reference for the caller.
    static ComPtr<OleSite> create(HWND container);

    // The in-place object to resize when the control asks for a new place. Held until
    // detach(), which breaks the cycle between site and control at teardown; after it the
    // site no longer names a window either.
    void attach(ComPtr<IOleInPlaceObject> object);
    void detach();

    // How many sites exist: zero once every control has let go of its site.
    static LONG liveCount();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override;
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override;
    HRESULT STDMETHODCALLTYPE ShowObject() override;
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL show) override;
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override;

    // IOleWindow, shared by the in-place site and the frame: both are the container window.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enterMode) override;

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override;
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override;
    HRESULT STDMETHODCALLTYPE OnUIActivate() override;
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                               LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
    HRESULT STDMETHODCALLTYPE Scroll(SIZE extent) override;
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL undoable) override;
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override;
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override;
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT position) override;

    // IOleInPlaceUIWindow
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT border) override;
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS widths) override;
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS widths) override;
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR name) override;

    // IOleInPlaceFrame
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU shared, LPOLEMENUGROUPWIDTHS widths) override;
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU shared, HOLEMENU descriptor, HWND activeObject) override;
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU shared) override;
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR text) override;
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL enable) override;
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG message, WORD id) override;

private:
    explicit OleSite(HWND container);
    ~OleSite();

    LONG references_ = 1;
    HWND container_;
    ComPtr<IOleInPlaceObject> inPlaceObject_;
};

}  // namespace gui
