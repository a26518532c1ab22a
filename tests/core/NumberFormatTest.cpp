#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

#include "core/NumberFormat.h"

namespace pelagrin {
namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();

struct Case {
    float value;
    const char* text;
};

TEST(NumberFormat, FixedThreeDecimals) {
    const Case cases[] = {
        {81.48101f, "81.481"},
        {132.0f, "132.000"},
        {0.21f, ".210"},
        {0.0f, ".000"},
        {-0.34177f, "-.342"},
        {1234.5f, "1234.500"},
        // Beyond seven digits a Single cannot vouch for the decimals: 12122.2119140625 is
        // 12122.21 first, so 12122.210 and never 12122.212.
        {12122.2119140625f, "12122.210"},
        {344299.2f, "344299.200"},
        // The Single nearest 2.0005 lies just below it, but its seven-digit form is the half.
        {2.0005f, "2.001"},
        // Rounding that carries through every digit.
        {9.9995f, "10.000"},
        {-9.9996f, "-10.000"},
        {0.0005f, ".001"},
        {0.00049999f, ".000"},
        {-0.0001f, "-.000"},
        {-0.0f, ".000"},
        {std::numeric_limits<float>::max(), "340282300000000000000000000000000000000.000"},
        {std::numeric_limits<float>::denorm_min(), ".000"},
        {kInfinity, "Infinity"},
        {-kInfinity, "-Infinity"},
        {std::nanf(""), "NaN"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatFixed3(c.value), c.text) << "value " << c.value;
    }
}

TEST(NumberFormat, FixedOneDecimal) {
    const Case cases[] = {
        {100.0f, "100.0"}, {0.0f, ".0"},      {32.0f, "32.0"},
        {0.5f, ".5"},      {0.05f, ".1"},     {-0.04f, "-.0"},
        {99.95f, "100.0"}, {-9.96f, "-10.0"}, {kInfinity, "Infinity"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatFixed1(c.value), c.text) << "value " << c.value;
    }
}

TEST(NumberFormat, OnlyFixedPatternsAreAccepted) {
    const char* patterns[] = {"", "#", "#.", "0.000", "#.00x", "#,##0.00"};
    for (const char* pattern : patterns) {
        EXPECT_THROW(FormatPattern(1.0f, pattern), std::invalid_argument) << pattern;
    }
    EXPECT_EQ(FormatPattern(1.25f, "#.00"), "1.25");
}

TEST(NumberFormat, SingleToText) {
    const Case cases[] = {
        {0.5f, ".5"},
        {-2.2f, "-2.2"},
        {0.0001f, ".0001"},
        {1234567.0f, "1234567"},
        {12122.2119140625f, "12122.21"},
        {1e7f, "1E+07"},
        {std::numeric_limits<float>::max(), "3.402823E+38"},
        {1.5e-8f, "1.5E-08"},
        {kInfinity, "Infinity"},
        {-kInfinity, "-Infinity"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SingleToText(c.value), c.text) << "value " << c.value;
    }
}

// Every best mix a depth can give (0 to 160, more above the surface) is written as its plain
// digits: in the caption, and in the log with a blank in the sign's place and one after.
TEST(NumberFormat, WholeNumbersAreTheirDigits) {
    for (int n = -200; n <= 1000; ++n) {
        const std::string digits = std::to_string(n);
        EXPECT_EQ(SingleToText(static_cast<float>(n)), digits);
        EXPECT_EQ(PrintNumber(static_cast<float>(n)), (n < 0 ? "" : " ") + digits + " ");
    }
}

}  // namespace
}  // namespace pelagrin
