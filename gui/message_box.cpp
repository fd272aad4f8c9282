#include "gui/message_box.h"

#include <windows.h>

#include "gui/text_convert.h"

namespace gui {

int showMessageBox(std::string_view text, std::string_view caption) {
    // Without an owner, MB_TASKMODAL disables every top-level window of this thread.
    return MessageBoxW(nullptr, wideFromGbk(text).c_str(), wideFromGbk(caption).c_str(), MB_OK | MB_TASKMODAL);
}

}  // namespace gui
