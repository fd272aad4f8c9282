#include "gui/standard_controls.h"

#include <string>

#include "gui/text_convert.h"

namespace gui {
namespace {

HWND createChild(DWORD exStyle, const wchar_t* className, const std::wstring& text, DWORD style, HWND parent, int id,
                 const ControlDefinition& definition) {
    return CreateWindowExW(exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | style,
                           definition.left, definition.top, definition.width, definition.height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

HWND createEditBox(HWND parent, int id, const ControlDefinition& definition) {
    // No ES_AUTOHSCROLL: text wraps at the box's width.
    HWND edit = createChild(WS_EX_CLIENTEDGE, L"EDIT", L"", ES_LEFT | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL,
                            parent, id, definition);
    if (edit != nullptr) {
        SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);  // the system maximum
    }
    return edit;
}

HWND createPushButton(HWND parent, int id, const ControlDefinition& definition) {
    return createChild(0, L"BUTTON", wideFromGbk(definition.caption),
                       BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE, parent, id, definition);
}

}  // namespace gui
