#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <string>

#include "core/Val.h"

namespace pelagrin {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

TEST(Val, ReadsTheLeadingNumber) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"100", 100},       {"-100", -100},    {"100ft", 100},     {"", 0},
        {"abc", 0},         {"  12.5", 12.5},  {"\t7", 7},         {"+5", 5},
        {".5", 0.5},        {"5.", 5},         {".", 0},           {"-", 0},
        {"0.1", 0.1},       {"1e3", 1000},     {"2.5E-2", 0.025},  {"1e", 1},
        {"1e+", 1},         {"1e-x", 1},       {"1.5e2.5", 150},   {"0x10", 0},
        {"1 000", 1},       {"- 5", 0},        {"1,5", 1},         {"inf", 0},
        {"nan", 0},         {"Infinity", 0},   {"--1", 0},         {"1e-400", 0},
        {"  ", 0},          {" -", 0},         {"1e-", 1},         {"+", 0},
        {"\xEF\xBC\x91", 0},  // a full-width digit one is not a digit here
        {"32\n", 32},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Val(c.text), c.value) << '"' << c.text << '"';
    }
}

// Beyond the double range, an overflowing infinity; below it, zero. Exponents a diver could
// paste, at and past the limits of 32-bit counts, read alike on every system, whatever the
// width of its integers.
TEST(Val, BeyondTheDoubleRangeIsAnOverflowingInfinityAndBelowItZero) {
    const char* too_large[] = {"1e309",        "-1e309",          "99999e99999",  "1e2147483647",
                               "1e2147483648", "1e2147483650",    "1e4294967295", "1e4294967296",
                               "1e4294967297", "0.001e2147483650"};
    for (const char* text : too_large) {
        std::feclearexcept(FE_ALL_EXCEPT);
        const double value = Val(text);
        EXPECT_TRUE(std::isinf(value)) << text;
        EXPECT_EQ(std::signbit(value), text[0] == '-') << text;
        EXPECT_NE(std::fetestexcept(FE_OVERFLOW), 0) << text;
    }
    std::feclearexcept(FE_ALL_EXCEPT);
    EXPECT_EQ(Val("1.7976931348623157e308"), std::numeric_limits<double>::max());
    EXPECT_EQ(std::fetestexcept(FE_OVERFLOW | FE_INVALID | FE_DIVBYZERO), 0);
    for (const char* text : {"1e-2147483648", "1e-2147483649", "1e-2147483650", "1e-4294967295",
                             "1e-4294967296", "1e-4294967297", "1000e-2147483650"}) {
        EXPECT_EQ(Val(text), 0.0) << text;
    }
    std::feclearexcept(FE_ALL_EXCEPT);
}

// Reading the digits is no step of a formula: whatever flags it finds, raised or clear, it
// leaves as they were, so neither the window's arithmetic nor its own shows in a figure.
TEST(Val, LeavesTheFloatStatusAsItFoundIt) {
    for (const int raised : {0, FE_INVALID | FE_OVERFLOW | FE_DIVBYZERO}) {
        for (const char* text : {"0.1", "100", "2.5E-2", "1e-400"}) {
            std::feclearexcept(FE_ALL_EXCEPT);
            std::feraiseexcept(raised);
            const int found = std::fetestexcept(FE_ALL_EXCEPT);
            Val(text);
            EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT), found) << text;
        }
    }
    std::feclearexcept(FE_ALL_EXCEPT);
}

TEST(Val, MegabyteTextsReadInOnePass) {
    const std::size_t size = std::size_t{1} << 20;
    EXPECT_EQ(Val(std::string(size, '1')), kInfinity);
    EXPECT_EQ(Val("0." + std::string(size, '0') + "1"), 0.0);
    EXPECT_EQ(Val(std::string(size, '0') + "1"), 1.0);
    EXPECT_EQ(Val("1" + std::string(size, '0') + "e-" + std::to_string(size)), 1.0);
    EXPECT_EQ(Val("2e" + std::string(size, '9')), kInfinity);
    EXPECT_EQ(Val("2e-" + std::string(size, '9')), 0.0);
    EXPECT_EQ(Val(std::string(size, ' ')), 0.0);
    std::feclearexcept(FE_ALL_EXCEPT);
}

}  // namespace
}  // namespace pelagrin
