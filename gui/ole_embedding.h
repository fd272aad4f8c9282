#pragma once

// One OLE control embedded in a window of ours and activated in place there: made in the
// order client site, initialisation, in-place activation; undone in the order deactivation,
// client site cleared, close, release.

#include <ole2.h>
#include <windows.h>

#include "gui/ole_site.h"
#include "gui/unique_handle.h"

namespace gui {

class OleEmbedding {
public:
    OleEmbedding() = default;
    OleEmbedding(const OleEmbedding&) = delete;
    OleEmbedding& operator=(const OleEmbedding&) = delete;
    ~OleEmbedding() { close(); }

    // Creates an object of classId and activates it in place, filling host's client area.
    // On failure everything made so far is undone and false returned.
    bool open(const CLSID& classId, HWND host);
    // Deactivates, closes and lets go of the object; nothing if none is open.
    void close();

    bool isOpen() const { return static_cast<bool>(object_); }

    template <typename T>
    ComPtr<T> query() const {
        return object_.query<T>();
    }

    // Places the control over host's whole client area again.
    void fitToHost();
    // Gives the control the keyboard focus by activating its user interface.
    void activateUserInterface();
    // Offers a key message to the active control; true when it used it.
    bool translateAccelerator(MSG& message);

private:
    HWND host_ = nullptr;
    ComPtr<OleSite> site_;
    ComPtr<IOleObject> object_;
    ComPtr<IOleInPlaceObject> inPlaceObject_;
    ComPtr<IOleInPlaceActiveObject> activeObject_;
    bool clientSiteSet_ = false;
};

}  // namespace gui
