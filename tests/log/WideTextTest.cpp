// Every text between the calculator and Windows passes through these two conversions: the
// log's path and the system's messages, the boxes and the captions. A text the other encoding
// cannot hold faithfully must be refused, never turned into another text.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/windows/WideText.h"

namespace pelagrin {
namespace {

TEST(WideText, ValidTextRoundTripsUnitForUnit) {
    EXPECT_EQ(Utf16("Tauchgänge 潜水 🐠"), L"Tauchg\u00e4nge \u6f5c\u6c34 \U0001F420");
    for (const std::string_view text :
         {std::string_view("100"), std::string_view("Tauchgänge 潜水 🐠"),
          std::string_view("a\0b", 3)}) {
        EXPECT_EQ(Utf8(Utf16(text)), text);
    }
}

TEST(WideText, RefusesTextNotValidInItsEncoding) {
    // A cut sequence, a byte never used, an over-long "/", a surrogate written as UTF-8.
    for (const std::string_view text : {"\xC3", "abc\xFF", "\xC0\xAF", "\xED\xA0\x80"}) {
        EXPECT_THROW(Utf16(text), std::range_error) << testing::PrintToString(text);
    }
    // Lone surrogates, high and low, and a pair in the wrong order.
    for (const std::wstring_view text : {L"\xD800", L"x\xDC00y", L"\xDC00\xD800"}) {
        EXPECT_THROW(Utf8(text), std::range_error)
            << text.size() << " units, first " << std::hex << +text[0];
    }
}

// A box's text is read as the Qt window reads it: a pasted lone surrogate is replaced, and
// the depth before it still counts.
TEST(WideText, ABoxsLoneSurrogateIsReplacedForReading) {
    EXPECT_EQ(Utf8Replacing(L"100\xD800" L"ft"), "100\xEF\xBF\xBD" "ft");
    EXPECT_EQ(Utf8Replacing(L"\xDC00" L"32"), "\xEF\xBF\xBD" "32");
    EXPECT_EQ(Utf8Replacing(L"Tauchg\u00e4nge"), "Tauchgänge");
}

}  // namespace
}  // namespace pelagrin
