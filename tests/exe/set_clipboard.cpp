// set_clipboard FILE: puts the UTF-8 text of FILE on the Windows clipboard as Unicode
// text, so that a test can paste it into the program with Ctrl+V.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        return 2;
    }
    FILE* file = _wfopen(argv[1], L"rb");
    if (file == nullptr) {
        return 1;
    }
    std::string text;
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
        text.append(buffer, n);
    }
    std::fclose(file);
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (static_cast<std::size_t>(length) + 1) * sizeof(wchar_t));
    if (memory == nullptr) {
        return 1;
    }
    auto* wide = static_cast<wchar_t*>(GlobalLock(memory));
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide, length);
    wide[length] = L'\0';
    GlobalUnlock(memory);
    if (!OpenClipboard(nullptr)) {
        GlobalFree(memory);
        return 1;
    }
    EmptyClipboard();
    const bool stored = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    return stored ? 0 : 1;
}
