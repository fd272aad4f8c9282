#include "gui/ole_site.h"

#include <utility>

namespace gui {
namespace {

LONG liveSites = 0;

}  // namespace

ComPtr<OleSite> OleSite::create(HWND container) {
    ComPtr<OleSite> site;
    *site.put() = new OleSite(container);
    return site;
}

OleSite::OleSite(HWND container) : container_(container) { InterlockedIncrement(&liveSites); }

OleSite::~OleSite() { InterlockedDecrement(&liveSites); }

LONG OleSite::liveCount() { return liveSites; }

void OleSite::attach(ComPtr<IOleInPlaceObject> object) { inPlaceObject_ = std::move(object); }

void OleSite::detach() {
    inPlaceObject_.reset();
    container_ = nullptr;
}

HRESULT OleSite::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (iid == IID_IUnknown || iid == IID_IOleClientSite) {
        *object = static_cast<IOleClientSite*>(this);
    } else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite) {
        *object = static_cast<IOleInPlaceSite*>(this);
    } else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame) {
        *object = static_cast<IOleInPlaceFrame*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG OleSite::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG OleSite::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
        delete this;
    }
    return static_cast<ULONG>(left);
}

// Client site: no storage, no monikers, no container of linked objects.
HRESULT OleSite::SaveObject() { return E_NOTIMPL; }

HRESULT OleSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker != nullptr) {
        *moniker = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT OleSite::GetContainer(IOleContainer** container) {
    if (container != nullptr) {
        *container = nullptr;
    }
    return E_NOINTERFACE;
}

HRESULT OleSite::ShowObject() { return S_OK; }

HRESULT OleSite::OnShowWindow(BOOL) { return S_OK; }

HRESULT OleSite::RequestNewObjectLayout() { return E_NOTIMPL; }

HRESULT OleSite::GetWindow(HWND* window) {
    if (window == nullptr) {
        return E_POINTER;
    }
    *window = container_;
    return container_ != nullptr ? S_OK : E_FAIL;
}

HRESULT OleSite::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

// In-place site: the control may always activate, and fills the container's client area.
HRESULT OleSite::CanInPlaceActivate() { return container_ != nullptr ? S_OK : S_FALSE; }

HRESULT OleSite::OnInPlaceActivate() { return S_OK; }

HRESULT OleSite::OnUIActivate() { return S_OK; }

HRESULT OleSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                  LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
    if (frame == nullptr || document == nullptr || position == nullptr || clip == nullptr || info == nullptr) {
        return E_POINTER;
    }
    *document = nullptr;  // no document window between frame and control
    *frame = nullptr;
    if (container_ == nullptr) {
        return E_FAIL;
    }
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    GetClientRect(container_, position);
    *clip = *position;
    // cb is the caller's to set; the rest describes a frame without accelerators.
    info->fMDIApp = FALSE;
    info->hwndFrame = container_;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

HRESULT OleSite::Scroll(SIZE) { return E_NOTIMPL; }

HRESULT OleSite::OnUIDeactivate(BOOL) { return S_OK; }

HRESULT OleSite::OnInPlaceDeactivate() { return S_OK; }

HRESULT OleSite::DiscardUndoState() { return E_NOTIMPL; }

HRESULT OleSite::DeactivateAndUndo() { return E_NOTIMPL; }

HRESULT OleSite::OnPosRectChange(LPCRECT position) {
    if (position == nullptr) {
        return E_POINTER;
    }
    if (!inPlaceObject_ || container_ == nullptr) {
        return S_OK;
    }
    // The control stays where the container puts it: its whole client area.
    RECT client{};
    GetClientRect(container_, &client);
    return inPlaceObject_->SetObjectRects(&client, &client);
}

// Frame: no toolbars, menus or status bar to share, no accelerators of its own.
HRESULT OleSite::GetBorder(LPRECT border) {
    if (border != nullptr) {
        SetRectEmpty(border);
    }
    return INPLACE_E_NOTOOLSPACE;
}

HRESULT OleSite::RequestBorderSpace(LPCBORDERWIDTHS) { return INPLACE_E_NOTOOLSPACE; }

HRESULT OleSite::SetBorderSpace(LPCBORDERWIDTHS widths) { return widths == nullptr ? S_OK : INPLACE_E_NOTOOLSPACE; }

HRESULT OleSite::SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) { return S_OK; }

HRESULT OleSite::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) { return E_NOTIMPL; }

HRESULT OleSite::SetMenu(HMENU, HOLEMENU, HWND) { return S_OK; }

HRESULT OleSite::RemoveMenus(HMENU) { return E_NOTIMPL; }

HRESULT OleSite::SetStatusText(LPCOLESTR) { return S_OK; }

HRESULT OleSite::EnableModeless(BOOL) { return S_OK; }

HRESULT OleSite::TranslateAccelerator(LPMSG, WORD) { return S_FALSE; }

}  // namespace gui
