#pragma once

// Texts are GBK bytes everywhere in the program; the wide Win32 API gets UTF-16. The code
// page is always named, so the result does not depend on the system's ANSI code page.

#include <string>
#include <string_view>

namespace gui {

inline constexpr unsigned kGbkCodePage = 936;

std::wstring wideFromGbk(std::string_view gbk);
std::string gbkFromWide(std::wstring_view wide);

}  // namespace gui
