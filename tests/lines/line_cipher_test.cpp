#include "lines/line_cipher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lines/line_table.h"
#include "reference_cipher.h"

namespace {

using lines::hexTextValue;
using lines::LineCipher;

const std::string kKey{lines::kLineKey};

TEST(HexTextValue, ReadsDigitsOfEitherCase) {
    const struct {
        std::string digits;
        std::int64_t value;
    } cases[] = {
        {"", 0},          {"0", 0},
        {"7", 7},         {"F", 15},
        {"f", 15},        {"A0", 160},
        {"ff", 255},      {"Ff", 255},
        {"1234", 0x1234}, {"abcdef", 0xABCDEF},
        {"1a2B", 0x1A2B}, {"FFFFFFFFFFFFF", 0xFFFFFFFFFFFFF},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hexTextValue(c.digits), c.value) << '"' << c.digits << '"';
    }
}

TEST(HexTextValue, LeavesTheSecondByteOfADoubleByteCharacterAlone) {
    // After a lead byte (0x80 or more) the next byte is not folded to upper case, so a
    // trailing "f" there is no digit; a non-digit counts as 0.
    EXPECT_EQ(hexTextValue("\x81"
                           "f"),
              0);
    EXPECT_EQ(hexTextValue("1f"), 0x1F);
    EXPECT_EQ(hexTextValue("\x81"
                           "F"),
              0xF);
}

TEST(LineCipher, KnownKeystreamOfTheProgramKeyAndOfTheEmptyKey) {
    // Worked out by hand from the 0-based rules (and by the build's own generator).
    EXPECT_EQ(lines::lineKeystream(kKey, 8),
              (std::vector<std::uint8_t>{0x6D, 0x42, 0x4E, 0x15, 0x7C, 0xBB, 0xE0, 0x8A}));
    EXPECT_EQ(lines::lineKeystream("", 8), (std::vector<std::uint8_t>{0x11, 0x8B, 0x6A, 0x77, 0xB9, 0x9C, 0x57, 0xC2}));
    EXPECT_EQ(LineCipher("05,36,3A,65,46,94,CF,EB,B0,65,A9,8E,48,A9,", kKey), "http://a.b/?u=");
}

TEST(LineCipher, KeystreamMatchesTheZeroBasedStatement) {
    // 600 bytes wrap the even cell walk (2, 4, ..., 256) more than twice.
    const std::vector<std::string> keys = {kKey, "", "k", std::string(300, 'z') + "tail",
                                           std::string("\x00\xFF\x80", 3)};
    for (const auto& key : keys) {
        EXPECT_EQ(lines::lineKeystream(key, 600), reference::keystream(key, 600))
            << "key of " << key.size() << " bytes";
    }
}

TEST(LineCipher, EntriesMadeByTheRuleComeBackExactly) {
    std::string allBytes;
    for (int b = 1; b < 256; ++b) {
        allBytes += static_cast<char>(b);
    }
    const std::vector<std::string> texts = {
        "https://web.archive.org/web/",
        "\xBD\xD3\xBF\xDA"
        "1 \r\n\t",           // GBK text, spaces and a line break
        allBytes + allBytes,  // more than 128 bytes: positions 129 on reuse cell 2
        "x",
    };
    const std::vector<std::string> keys = {kKey, "", std::string(257, 'q')};
    for (const auto& key : keys) {
        for (const auto& text : texts) {
            const std::string entry = reference::entryFor(text, key);
            EXPECT_EQ(LineCipher(entry, key), text);
            EXPECT_EQ(lines::makeLineEntry(text, key), entry);
        }
    }
}

TEST(LineCipher, CommasAndDigitCaseDoNotMatter) {
    const std::string plain = "abcdef";
    const std::string stored = reference::entryFor(plain, kKey);  // "HH,HH,..."
    std::string bare;
    for (const char c : stored) {
        if (c != ',') {
            bare += c;
        }
    }
    std::string scattered = ",,";  // commas anywhere, even between the two digits of a byte
    for (std::size_t i = 0; i < bare.size(); ++i) {
        scattered += bare[i];
        if (i % 3 == 0) {
            scattered += ',';
        }
    }
    std::string lower;
    for (const char c : stored) {
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    for (const auto& entry : {stored, bare, scattered, lower}) {
        EXPECT_EQ(LineCipher(entry, kKey), plain) << entry;
    }
}

TEST(LineCipher, EmptyAndCommaOnlyEntriesGiveTheEmptyText) {
    EXPECT_EQ(LineCipher("", kKey), "");
    EXPECT_EQ(LineCipher(",,,,", kKey), "");
    EXPECT_EQ(LineCipher("", ""), "");
}

TEST(LineCipher, AnOddDigitCountEndsWithASingleDigitByte) {
    const auto stream = reference::keystream(kKey, 3);
    // Two whole bytes that decipher to 'a' and 'b', then one digit "C" (value 12).
    std::string entry = reference::entryFor("ab", kKey) + "C";
    const auto last = static_cast<char>(12 ^ stream[2]);
    EXPECT_EQ(LineCipher(entry, kKey), std::string("ab") + last);
}

TEST(LineCipher, AZeroOutputByteCutsTheText) {
    // Byte 3 deciphers to 0: the text ends before it, and what follows is dropped.
    std::string withZero("ab\0cd", 5);
    EXPECT_EQ(LineCipher(reference::entryFor(withZero, kKey), kKey), "ab");
    EXPECT_EQ(LineCipher(reference::entryFor(std::string("\0ab", 3), kKey), kKey), "");
}

TEST(LineCipher, AKeyLongerThan256BytesCountsOnlyItsFirst256) {
    const std::string longKey = std::string(256, 'k') + "ignored";
    const std::string entry = reference::entryFor("prefix", std::string(256, 'k'));
    EXPECT_EQ(LineCipher(entry, longKey), "prefix");
    EXPECT_EQ(LineCipher(entry, longKey), LineCipher(entry, longKey));  // nothing carries over
}

}  // namespace
