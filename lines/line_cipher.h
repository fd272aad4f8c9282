#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "lines/text.h"

namespace lines {

// Reads a group of hexadecimal digits (either case) as a number; the empty text is 0.
// A byte that is no hexadecimal digit counts as 0; 13 digits or fewer never overflow.
std::int64_t hexTextValue(const Text& digits);

// Deciphers a stored line entry ("AB,CD,..."; commas carry no meaning) with the key.
// Never fails; the result ends before the first zero output byte.
Text LineCipher(const Text& entry, const Text& key);

// The keystream bytes for positions 1 to count: what LineCipher XORs with the data.
std::vector<std::uint8_t> lineKeystream(const Text& key, std::size_t count);

// The stored form of a plain text: each byte XOR its keystream byte, as two upper-case
// hexadecimal digits and a comma. Only a text without zero bytes comes back whole.
Text makeLineEntry(const Text& plain, const Text& key);

}  // namespace lines
