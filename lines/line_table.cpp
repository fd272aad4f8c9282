#include "lines/line_table.h"

#include <cstddef>
#include <utility>

#include "lines/line_cipher.h"

namespace lines {

// Enciphered at build time from a plain prefix list, in a library of its own
// (lineplayer_line_table in CMake), so that one program can be built with another list.
extern const std::array<std::string_view, 10> kStoredEntries;

const std::array<std::string_view, kInterfaceCount> LineTable = {
    kStoredEntries[0], kStoredEntries[1], kStoredEntries[2], kStoredEntries[3], kStoredEntries[4], kStoredEntries[5],
    kStoredEntries[6], kStoredEntries[7], kStoredEntries[8], kStoredEntries[8], kStoredEntries[9],
};

Text currentLinePrefix;

void selectLine(int interfaceNumber) {
    if (interfaceNumber < 1 || interfaceNumber > kInterfaceCount) {
        return;
    }
    const auto entry = LineTable[static_cast<std::size_t>(interfaceNumber - 1)];
    // The new prefix is complete before the old one goes.
    Text prefix = LineCipher(Text(entry), Text(kLineKey));
    currentLinePrefix = std::move(prefix);
}

Text concatTexts(std::initializer_list<std::string_view> texts) {
    std::size_t length = 0;
    for (const auto text : texts) {
        length += text.size();
    }
    Text joined;
    joined.reserve(length);
    for (const auto text : texts) {
        joined.append(text);
    }
    return joined;
}

Text composePlayAddress(std::string_view pasted) { return concatTexts({currentLinePrefix, pasted}); }

}  // namespace lines
