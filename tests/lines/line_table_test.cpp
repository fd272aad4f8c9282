#include "lines/line_table.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "lines/line_cipher.h"

namespace {

// The plain prefix list this build was made from, in list order.
constexpr std::array<std::string_view, 10> kPlainPrefixes = {
#include "expected_prefixes.inc"
};

class LineTableTest : public ::testing::Test {
protected:
    void SetUp() override { lines::currentLinePrefix.clear(); }
    void TearDown() override { lines::currentLinePrefix.clear(); }
};

TEST_F(LineTableTest, EachInterfaceSelectsItsPrefix) {
    // Interfaces 1 to 8 use list entries 1 to 8, 9 and 10 share entry 9, 11 uses entry 10.
    const std::array<int, 11> listEntry = {1, 2, 3, 4, 5, 6, 7, 8, 9, 9, 10};
    for (int n = 1; n <= 11; ++n) {
        lines::selectLine(n);
        EXPECT_EQ(lines::currentLinePrefix,
                  kPlainPrefixes[static_cast<std::size_t>(listEntry[static_cast<std::size_t>(n - 1)] - 1)])
            << "interface " << n;
    }
}

TEST_F(LineTableTest, StoredEntriesAreThreeCharactersABytePlainNowhere) {
    for (std::size_t n = 0; n < lines::LineTable.size(); ++n) {
        const auto entry = lines::LineTable[n];
        ASSERT_EQ(entry.size() % 3, 0U);
        for (std::size_t p = 0; p < entry.size(); ++p) {
            const char c = entry[p];
            if (p % 3 == 2) {
                EXPECT_EQ(c, ',');
            } else {
                EXPECT_TRUE((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')) << "entry " << n + 1;
            }
        }
    }
}

TEST_F(LineTableTest, ALaterChoiceReplacesTheEarlierOne) {
    lines::selectLine(3);
    lines::selectLine(11);
    EXPECT_EQ(lines::currentLinePrefix, kPlainPrefixes[9]);
    lines::selectLine(0);  // no such interface: nothing changes
    lines::selectLine(12);
    EXPECT_EQ(lines::currentLinePrefix, kPlainPrefixes[9]);
}

TEST_F(LineTableTest, ThePlayAddressIsThePrefixThenThePastedBytes) {
    EXPECT_EQ(lines::composePlayAddress("https://v.example/1"), "https://v.example/1");  // before any choice
    lines::selectLine(1);
    const std::string prefix(kPlainPrefixes[0]);
    const struct {
        std::string pasted;
    } cases[] = {
        {""}, {"  https://v.example/a b  "}, {"line1\r\nline2"}, {"\xCA\xD3\xC6\xB5"}, {std::string("a\0b", 3)}};
    for (const auto& c : cases) {
        EXPECT_EQ(lines::composePlayAddress(c.pasted), prefix + c.pasted);
    }
    EXPECT_EQ(lines::composePlayAddress("x"), lines::composePlayAddress("x"));  // the prefix stays
    EXPECT_EQ(lines::currentLinePrefix, prefix);
}

TEST_F(LineTableTest, ConcatTextsJoinsInOrderWithNothingBetween) {
    EXPECT_EQ(lines::concatTexts({"", ""}), "");
    EXPECT_EQ(lines::concatTexts({"a"}), "a");
    EXPECT_EQ(lines::concatTexts({"ab", "", "c", "de"}), "abcde");
}

}  // namespace
