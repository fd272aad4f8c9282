#pragma once

// The system web-browser control in a container window of ours. Addresses are GBK bytes.

#include <windows.h>

#include <string>
#include <string_view>

#include "gui/window_definition.h"

namespace gui {

// Creates the container as a visible child of parent with the browser active in it, applies
// the settings and navigates to the initial address unless it is empty. Null, with nothing
// left behind, if the browser cannot be created or activated.
HWND createWebBrowser(HWND parent, int id, int left, int top, int width, int height, const BrowserSettings& settings);

// Stores the address as given and sends the browser there; returns without waiting for the
// page. Nothing happens if container is not one of ours.
void navigateWebBrowser(HWND container, std::string_view gbkAddress);

// The address stored by the last navigateWebBrowser (or the initial one); empty if container
// is not one of ours.
std::string webBrowserAddress(HWND container);

// The pre-translate step of the message loops: offers a key message to the browser while
// the keyboard focus is inside container; true when the browser used it.
bool translateBrowserAccelerator(HWND container, MSG& message);

// The class createWebBrowser asks for, so a test can name one that does not exist.
void setWebBrowserClassForTesting(const CLSID& classId);

}  // namespace gui
