#include "gui/message_box.h"

#include <windows.h>

#include "gui/text_convert.h"

namespace gui {

int showMessageBox(std::string_view text, std::string_view caption) {
    HWND previouslyActive = GetActiveWindow();
    // Without an owner, MB_TASKMODAL disables every top-level window of this thread.
    const int answer =
        MessageBoxW(nullptr, wideFromGbk(text).c_str(), wideFromGbk(caption).c_str(), MB_OK | MB_TASKMODAL);
    // An ownerless box hands activation to no one in particular when it goes: give it back
    // to the window that had it, so the keyboard works there again.
    if (previouslyActive != nullptr && IsWindow(previouslyActive)) {
        SetForegroundWindow(previouslyActive);
        SetActiveWindow(previouslyActive);
    }
    return answer;
}

}  // namespace gui
