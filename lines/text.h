#pragma once

#include <string>

namespace lines {

// A text of GBK bytes, as every text of the program is. The absent text is the empty one.
using Text = std::string;

}  // namespace lines
