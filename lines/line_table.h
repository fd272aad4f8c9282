#pragma once

#include <array>
#include <initializer_list>
#include <string_view>

#include "lines/text.h"

namespace lines {

inline constexpr int kInterfaceCount = 11;

// The one key that deciphers every stored entry.
inline constexpr std::string_view kLineKey = "rop?t*lmwexo7";

// The stored (enciphered) entry of each interface; LineTable[n - 1] serves interface n.
// Interfaces 9 and 10 share one entry.
extern const std::array<std::string_view, kInterfaceCount> LineTable;

// The prefix of the interface chosen last; empty until a choice is made.
extern Text currentLinePrefix;

// Makes interface n (1 to 11) the current one; any other number changes nothing.
void selectLine(int interfaceNumber);

// Joins the texts in order, with nothing between them.
Text concatTexts(std::initializer_list<std::string_view> texts);

// The address the browser opens: the current prefix immediately followed by the pasted
// text, which is taken byte for byte.
Text composePlayAddress(std::string_view pasted);

}  // namespace lines
