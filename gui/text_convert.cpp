#include "gui/text_convert.h"

#include <windows.h>

#include <climits>

namespace gui {

std::wstring wideFromGbk(std::string_view gbk) {
    if (gbk.empty() || gbk.size() > INT_MAX) {
        return {};
    }
    const int length = static_cast<int>(gbk.size());
    const int needed = MultiByteToWideChar(kGbkCodePage, 0, gbk.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(kGbkCodePage, 0, gbk.data(), length, wide.data(), needed);
    return wide;
}

std::string gbkFromWide(std::wstring_view wide) {
    if (wide.empty() || wide.size() > INT_MAX) {
        return {};
    }
    const int length = static_cast<int>(wide.size());
    const int needed = WideCharToMultiByte(kGbkCodePage, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string gbk(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(kGbkCodePage, 0, wide.data(), length, gbk.data(), needed, nullptr, nullptr);
    return gbk;
}

}  // namespace gui
