#pragma once

#include <string_view>

namespace gui {

// A message box with a single OK button and no icon, owned by no window and modal to the
// whole program: while it is open none of the program's windows takes input.
// Returns the button that closed it.
int showMessageBox(std::string_view text, std::string_view caption);

}  // namespace gui
