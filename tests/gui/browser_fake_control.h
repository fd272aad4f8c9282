#pragma once

// An OLE control that activates in place but is no web browser, for the failure paths of
// the browser host. It keeps the client site it is given, as a real control does, and logs
// the container's life-cycle calls into it in order. Its class is registered for this
// process only, never in the registry.

#include <ole2.h>
#include <windows.h>

#include <string>
#include <vector>

namespace browser_test {

struct FakeControlBehaviour {
    bool clientSiteFirst = false;     // asks for its client site before initialisation
    bool persistStreamInit = true;    // can be initialised with IPersistStreamInit
    bool refusesActivation = false;   // DoVerb fails
    bool keepsSiteUntilGone = false;  // lets go of its client site only when destroyed
};

struct FakeControlRecord {
    FakeControlBehaviour behaviour;
    std::vector<std::string> calls;
    HWND activationWindow = nullptr;        // the window DoVerb was given
    HWND activationWindowParent = nullptr;  // its parent at the time
    RECT activationRect{};
};

class FakeControlClass {
public:
    static const CLSID kClassId;

    explicit FakeControlClass(FakeControlBehaviour behaviour);
    FakeControlClass(const FakeControlClass&) = delete;
    FakeControlClass& operator=(const FakeControlClass&) = delete;
    ~FakeControlClass();

    bool registered() const { return cookie_ != 0; }
    const FakeControlRecord& record() const { return record_; }
    // Fake controls that still exist, across all classes.
    static LONG liveObjects();

private:
    FakeControlRecord record_;
    DWORD cookie_ = 0;
};

}  // namespace browser_test
