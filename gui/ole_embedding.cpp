#include "gui/ole_embedding.h"

#include <ocidl.h>

namespace gui {
namespace {

RECT clientRect(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return client;
}

}  // namespace

bool OleEmbedding::open(const CLSID& classId, HWND host) {
    close();
    host_ = host;
    site_ = OleSite::create(host);
    if (FAILED(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, object_.putVoid())) ||
        !object_) {
        close();
        return false;
    }
    IOleClientSite* const clientSite = site_.get();

    DWORD status = 0;
    if (SUCCEEDED(object_->GetMiscStatus(DVASPECT_CONTENT, &status)) && (status & OLEMISC_SETCLIENTSITEFIRST) != 0) {
        clientSiteSet_ = SUCCEEDED(object_->SetClientSite(clientSite));
    }
    if (const auto init = object_.query<IPersistStreamInit>()) {
        init->InitNew();
    }
    if (!clientSiteSet_) {
        clientSiteSet_ = SUCCEEDED(object_->SetClientSite(clientSite));
    }

    RECT place = clientRect(host);
    if (FAILED(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, clientSite, 0, host, &place))) {
        close();
        return false;
    }
    inPlaceObject_ = object_.query<IOleInPlaceObject>();
    activeObject_ = object_.query<IOleInPlaceActiveObject>();
    if (!inPlaceObject_) {  // active in place, yet it could never be placed or sized
        close();
        return false;
    }
    site_->attach(object_.query<IOleInPlaceObject>());
    fitToHost();
    return true;
}

void OleEmbedding::close() {
    if (inPlaceObject_) {
        inPlaceObject_->InPlaceDeactivate();
    } else if (const auto inPlace = object_.query<IOleInPlaceObject>()) {
        inPlace->InPlaceDeactivate();  // activation failed half-way
    }
    if (object_) {
        if (clientSiteSet_) {
            object_->SetClientSite(nullptr);
        }
        object_->Close(OLECLOSE_NOSAVE);
    }
    if (site_) {
        site_->detach();
    }
    activeObject_.reset();
    inPlaceObject_.reset();
    object_.reset();
    site_.reset();
    clientSiteSet_ = false;
    host_ = nullptr;
}

void OleEmbedding::fitToHost() {
    if (!inPlaceObject_) {
        return;
    }
    const RECT client = clientRect(host_);
    inPlaceObject_->SetObjectRects(&client, &client);
}

void OleEmbedding::activateUserInterface() {
    if (!object_) {
        return;
    }
    RECT place = clientRect(host_);
    object_->DoVerb(OLEIVERB_UIACTIVATE, nullptr, site_.get(), 0, host_, &place);
    // Some controls activate without taking the focus: then their window gets it from us.
    HWND control = nullptr;
    if (GetFocus() == host_ && inPlaceObject_ && SUCCEEDED(inPlaceObject_->GetWindow(&control)) && control != nullptr &&
        IsChild(host_, control)) {
        SetFocus(control);
    }
}

bool OleEmbedding::translateAccelerator(MSG& message) {
    return activeObject_ && activeObject_->TranslateAccelerator(&message) == S_OK;
}

}  // namespace gui
