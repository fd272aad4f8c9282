#include "lines/line_cipher.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

namespace lines {
namespace {

// The cipher counts its state cells from 1 to 256; cell c lives at index c - 1.
class StateTable {
public:
    explicit StateTable(const Text& key) {
        for (int c = 1; c <= 256; ++c) {
            cell(c) = static_cast<std::uint8_t>(c - 1);
        }
        std::array<std::uint8_t, 256> keyTable{};
        if (!key.empty()) {
            const std::size_t used = std::min<std::size_t>(key.size(), 256);
            for (std::size_t c = 0; c < 256; ++c) {
                keyTable[c] = static_cast<std::uint8_t>(key[c % used]);
            }
        }
        // Unlike the textbook schedule, j keeps its 1-based cell number from step to step.
        int j = 0;
        for (int i = 1; i <= 256; ++i) {
            j = ((j + cell(i) + keyTable[static_cast<std::size_t>(i - 1)]) % 256) + 1;
            std::swap(cell(i), cell(j));
        }
    }

    std::uint8_t next() {
        i_ = ((i_ + 1) % 256) + 1;  // runs 2, 4, ..., 256, 2, ...
        j_ = ((j_ + cell(i_)) % 256) + 1;
        std::swap(cell(i_), cell(j_));
        const int t = ((cell(i_) + cell(j_)) % 256) + 1;
        return cell(t);
    }

private:
    std::uint8_t& cell(int number) { return cells_[static_cast<std::size_t>(number - 1)]; }

    std::array<std::uint8_t, 256> cells_{};
    int i_ = 0;
    int j_ = 0;
};

char asciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::int64_t hexTextValue(const Text& digits) {
    constexpr std::string_view hexDigits = "0123456789ABCDEF";
    std::int64_t value = 0;
    bool trailByte = false;  // the second byte of a double-byte character is never folded
    for (const char raw : digits) {
        const char c = trailByte ? raw : asciiUpper(raw);
        trailByte = !trailByte && static_cast<unsigned char>(raw) >= 0x80;
        const std::size_t position = hexDigits.find(c);
        const std::int64_t digit = position == std::string_view::npos ? 0 : static_cast<std::int64_t>(position);
        value = static_cast<std::int64_t>(static_cast<std::uint64_t>(value) * 16U + static_cast<std::uint64_t>(digit));
    }
    return value;
}

std::vector<std::uint8_t> lineKeystream(const Text& key, std::size_t count) {
    StateTable state(key);
    std::vector<std::uint8_t> stream(count);
    for (auto& byte : stream) {
        byte = state.next();
    }
    return stream;
}

Text LineCipher(const Text& entry, const Text& key) {
    Text digits;
    digits.reserve(entry.size());
    std::copy_if(entry.begin(), entry.end(), std::back_inserter(digits), [](char c) { return c != ','; });

    StateTable state(key);
    Text plain;
    plain.reserve((digits.size() + 1) / 2);
    for (std::size_t p = 0; p < digits.size(); p += 2) {
        const auto data = static_cast<std::uint8_t>(hexTextValue(digits.substr(p, 2)) & 0xFF);
        const auto byte = static_cast<std::uint8_t>(data ^ state.next());
        if (byte == 0) {
            break;  // the text ends at the first zero byte
        }
        plain.push_back(static_cast<char>(byte));
    }
    return plain;
}

Text makeLineEntry(const Text& plain, const Text& key) {
    constexpr std::string_view hexDigits = "0123456789ABCDEF";
    const auto stream = lineKeystream(key, plain.size());
    Text entry;
    entry.reserve(plain.size() * 3);
    for (std::size_t k = 0; k < plain.size(); ++k) {
        const auto byte = static_cast<std::uint8_t>(static_cast<std::uint8_t>(plain[k]) ^ stream[k]);
        entry.push_back(hexDigits[byte >> 4]);
        entry.push_back(hexDigits[byte & 0x0F]);
        entry.push_back(',');
    }
    return entry;
}

}  // namespace lines
