// LineCipher on arbitrary entries and keys, and the stored form of arbitrary texts
// deciphering back to the text.
//
// Input: two bytes (little-endian) give the key length modulo 301, so that keys longer
// than the 256 bytes the schedule uses come up; the key follows, then the rest, used
// both as an entry and, less its zero bytes, as a plain text.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "lines/line_cipher.h"

namespace {

void check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

// The keystream written out on its own, in 0-based cells, to hold the library to.
std::vector<std::uint8_t> referenceKeystream(const lines::Text& key, std::size_t count) {
    std::array<unsigned, 256> s{};
    for (unsigned c = 0; c < 256; ++c) {
        s[c] = c;
    }
    const std::size_t used = std::min<std::size_t>(key.size(), 256);
    unsigned j = 255;
    for (unsigned i = 0; i < 256; ++i) {
        const unsigned k = used == 0 ? 0U : static_cast<unsigned char>(key[i % used]);
        j = (j + 1 + s[i] + k) % 256;
        std::swap(s[i], s[j]);
    }
    std::vector<std::uint8_t> out;
    out.reserve(count);
    unsigned i = 255;
    j = 255;
    for (std::size_t n = 0; n < count; ++n) {
        i = (i + 2) % 256;
        j = (j + 1 + s[i]) % 256;
        std::swap(s[i], s[j]);
        out.push_back(static_cast<std::uint8_t>(s[(s[i] + s[j]) % 256]));
    }
    return out;
}

std::optional<unsigned> hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<unsigned>(c - '0');
    }
    if (c >= 'A' && c <= 'F') {
        return static_cast<unsigned>(c - 'A' + 10);
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<unsigned>(c - 'a' + 10);
    }
    return std::nullopt;
}

// Deciphers an entry of ASCII bytes: commas dropped, digits taken two at a time (a last
// odd one alone), a byte that is no hex digit worth 0, stopping at the first zero byte.
lines::Text referenceDecipherAscii(const lines::Text& entry, const lines::Text& key) {
    lines::Text digits;
    for (const char c : entry) {
        if (c != ',') {
            digits.push_back(c);
        }
    }
    const auto stream = referenceKeystream(key, (digits.size() + 1) / 2);
    lines::Text plain;
    for (std::size_t p = 0; p < digits.size(); p += 2) {
        unsigned value = 0;
        for (std::size_t q = p; q < std::min(p + 2, digits.size()); ++q) {
            value = value * 16 + hexDigit(digits[q]).value_or(0);
        }
        const auto byte = static_cast<unsigned char>((value & 0xFF) ^ stream[p / 2]);
        if (byte == 0) {
            break;
        }
        plain.push_back(static_cast<char>(byte));
    }
    return plain;
}

lines::Text referenceEntry(const lines::Text& plain, const lines::Text& key) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const auto stream = referenceKeystream(key, plain.size());
    lines::Text entry;
    for (std::size_t k = 0; k < plain.size(); ++k) {
        const auto byte = static_cast<unsigned>(static_cast<unsigned char>(plain[k]) ^ stream[k]);
        entry.push_back(kHex[byte >> 4]);
        entry.push_back(kHex[byte & 0x0F]);
        entry.push_back(',');
    }
    return entry;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::size_t keyLength = 0;
    std::size_t at = 0;
    if (size >= 2) {
        keyLength = std::min<std::size_t>((data[0] | (std::size_t{data[1]} << 8)) % 301, size - 2);
        at = 2;
    }
    const lines::Text key(reinterpret_cast<const char*>(data + at), keyLength);
    const lines::Text rest(reinterpret_cast<const char*>(data + at + keyLength), size - at - keyLength);

    // Any entry: never fails, stops before a zero byte, one byte per two digits at most.
    const lines::Text deciphered = lines::LineCipher(rest, key);
    const auto digitCount =
        static_cast<std::size_t>(std::count_if(rest.begin(), rest.end(), [](char c) { return c != ','; }));
    check(deciphered.find('\0') == lines::Text::npos);
    check(deciphered.size() <= (digitCount + 1) / 2);
    if (std::none_of(rest.begin(), rest.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
        check(deciphered == referenceDecipherAscii(rest, key));
    }

    // Any zero-free text: its stored form is as written out above and comes back whole,
    // in either case and without the commas too.
    lines::Text plain;
    std::copy_if(rest.begin(), rest.end(), std::back_inserter(plain), [](char c) { return c != '\0'; });
    check(lines::lineKeystream(key, plain.size()) == referenceKeystream(key, plain.size()));
    const lines::Text entry = lines::makeLineEntry(plain, key);
    check(entry == referenceEntry(plain, key));
    check(lines::LineCipher(entry, key) == plain);

    lines::Text lower;
    lines::Text bare;
    for (const char c : entry) {
        lower.push_back(c >= 'A' && c <= 'F' ? static_cast<char>(c - 'A' + 'a') : c);
        if (c != ',') {
            bare.push_back(c);
        }
    }
    check(lines::LineCipher(lower, key) == plain);
    check(lines::LineCipher(bare, key) == plain);
    return 0;
}
