#pragma once

// A second, independent statement of the line cipher for the tests: cells counted from
// 0, with the differences from the textbook stream cipher written out as +1 and +2.

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace reference {

inline std::vector<std::uint8_t> keystream(const std::string& key, std::size_t count) {
    std::array<int, 256> s{};
    for (int c = 0; c < 256; ++c) {
        s[static_cast<std::size_t>(c)] = c;
    }
    const std::string used = key.substr(0, 256);
    int j = 255;
    for (std::size_t i = 0; i < 256; ++i) {
        const int k = used.empty() ? 0 : static_cast<unsigned char>(used[i % used.size()]);
        j = (j + 1 + s[i] + k) % 256;
        std::swap(s[i], s[static_cast<std::size_t>(j)]);
    }
    std::vector<std::uint8_t> out;
    std::size_t i = 255;
    std::size_t jj = 255;
    for (std::size_t n = 0; n < count; ++n) {
        i = (i + 2) % 256;
        jj = (jj + 1 + static_cast<std::size_t>(s[i])) % 256;
        std::swap(s[i], s[jj]);
        out.push_back(static_cast<std::uint8_t>(s[static_cast<std::size_t>((s[i] + s[jj]) % 256)]));
    }
    return out;
}

// The stored form of plain under key: each byte XOR its keystream byte, "HH," each.
inline std::string entryFor(const std::string& plain, const std::string& key) {
    static const char* digits = "0123456789ABCDEF";
    const auto stream = keystream(key, plain.size());
    std::string entry;
    for (std::size_t k = 0; k < plain.size(); ++k) {
        const auto b = static_cast<unsigned>(static_cast<unsigned char>(plain[k]) ^ stream[k]);
        entry += digits[b >> 4];
        entry += digits[b & 15];
        entry += ',';
    }
    return entry;
}

}  // namespace reference
