#include "tests/gui/browser_fake_control.h"

#include <ocidl.h>

namespace browser_test {
namespace {

LONG liveControls = 0;

class FakeControl final : public IOleObject, public IOleInPlaceObject, public IPersistStreamInit {
public:
    explicit FakeControl(FakeControlRecord& record) : record_(record) { InterlockedIncrement(&liveControls); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        if (iid == IID_IUnknown || iid == IID_IOleObject) {
            *object = static_cast<IOleObject*>(this);
        } else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject) {
            *object = static_cast<IOleInPlaceObject*>(this);
        } else if ((iid == IID_IPersist || iid == IID_IPersistStreamInit) && record_.behaviour.persistStreamInit) {
            *object = static_cast<IPersistStreamInit*>(this);
        } else {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    // IOleObject: the life-cycle calls are logged, the rest is not needed.
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override {
        record_.calls.push_back(site != nullptr ? "SetClientSite(site)" : "SetClientSite(null)");
        if (site == nullptr && record_.behaviour.keepsSiteUntilGone) {
            return S_OK;
        }
        if (site != nullptr) {
            site->AddRef();
        }
        if (site_ != nullptr) {
            site_->Release();
        }
        site_ = site;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override {
        *site = site_;
        if (site_ != nullptr) {
            site_->AddRef();
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Close(DWORD option) override {
        record_.calls.push_back(option == OLECLOSE_NOSAVE ? "Close(no save)" : "Close(other)");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND parent, LPCRECT rect) override {
        record_.calls.push_back(verb == OLEIVERB_INPLACEACTIVATE ? "DoVerb(in-place activate)" : "DoVerb(other)");
        record_.activationWindow = parent;
        record_.activationWindowParent = GetParent(parent);
        if (rect != nullptr) {
            record_.activationRect = *rect;
        }
        return record_.behaviour.refusesActivation ? E_FAIL : S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD* status) override {
        record_.calls.push_back("GetMiscStatus");
        *status = record_.behaviour.clientSiteFirst ? OLEMISC_SETCLIENTSITEFIRST : 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleInPlaceObject
    HRESULT STDMETHODCALLTYPE GetWindow(HWND*) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override {
        record_.calls.push_back("InPlaceDeactivate");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE UIDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT, LPCRECT) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return E_NOTIMPL; }

    // IPersistStreamInit
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* classId) override {
        *classId = FakeControlClass::kClassId;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE Load(IStream*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Save(IStream*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitNew() override {
        record_.calls.push_back("InitNew");
        return S_OK;
    }

private:
    ~FakeControl() {
        if (site_ != nullptr) {
            site_->Release();
        }
        InterlockedDecrement(&liveControls);
    }

    LONG references_ = 1;
    FakeControlRecord& record_;
    IOleClientSite* site_ = nullptr;
};

class FakeControlFactory final : public IClassFactory {
public:
    explicit FakeControlFactory(FakeControlRecord& record) : record_(record) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        if (iid != IID_IUnknown && iid != IID_IClassFactory) {
            return E_NOINTERFACE;
        }
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        auto* control = new FakeControl(record_);
        const HRESULT result = control->QueryInterface(iid, object);
        control->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    ~FakeControlFactory() = default;

    LONG references_ = 1;
    FakeControlRecord& record_;
};

}  // namespace

// {6C1E0D52-3B7A-4F0E-9A61-2B8D7E5C4F10}: made up for these tests.
const CLSID FakeControlClass::kClassId = {0x6c1e0d52, 0x3b7a, 0x4f0e, {0x9a, 0x61, 0x2b, 0x8d, 0x7e, 0x5c, 0x4f, 0x10}};

FakeControlClass::FakeControlClass(FakeControlBehaviour behaviour) {
    record_.behaviour = behaviour;
    auto* factory = new FakeControlFactory(record_);
    if (FAILED(CoRegisterClassObject(kClassId, factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_))) {
        cookie_ = 0;
    }
    factory->Release();  // the class table holds its own reference while registered
}

FakeControlClass::~FakeControlClass() {
    if (cookie_ != 0) {
        CoRevokeClassObject(cookie_);
    }
}

LONG FakeControlClass::liveObjects() { return liveControls; }

}  // namespace browser_test
