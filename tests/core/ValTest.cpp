#include <gtest/gtest.h>

#include <cfenv>
#include <clocale>
#include <cmath>
#include <cstddef>
#include <limits>
#include <string>

#include "core/CalcValues.h"
#include "core/Calculate.h"
#include "core/NumberFormat.h"
#include "core/Val.h"
#include "core/View.h"
#include "support/RecordingView.h"

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

TEST(Val, BeyondTheDoubleRangeIsAnOverflowingInfinity) {
    const char* texts[] = {"1e309", "-1e309", "99999e99999"};
    for (const char* text : texts) {
        std::feclearexcept(FE_ALL_EXCEPT);
        const double value = Val(text);
        EXPECT_TRUE(std::isinf(value)) << text;
        EXPECT_EQ(std::signbit(value), text[0] == '-') << text;
        EXPECT_NE(std::fetestexcept(FE_OVERFLOW), 0) << text;
    }
    std::feclearexcept(FE_ALL_EXCEPT);
    EXPECT_EQ(Val("1.7976931348623157e308"), std::numeric_limits<double>::max());
    EXPECT_EQ(std::fetestexcept(FE_OVERFLOW | FE_INVALID | FE_DIVBYZERO), 0);
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

// A German desktop writes 2,5; the calculator reads and writes 2.5 regardless, so a diver's
// figures never depend on the machine's language settings.
TEST(Val, DecimalPointIgnoresTheLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    // glibc's name, then the Windows runtime's.
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr &&
        std::setlocale(LC_ALL, "German_Germany.1252") == nullptr) {
        GTEST_SKIP() << "no decimal-comma locale here (neither de_DE.UTF-8 nor German_Germany.1252)";
    }
    EXPECT_STREQ(std::localeconv()->decimal_point, ",");
    EXPECT_EQ(Val("2.5"), 2.5);
    EXPECT_EQ(Val("2,5"), 2.0);
    EXPECT_EQ(FormatFixed3(81.48101f), "81.481");
    EXPECT_EQ(FormatFixed1(32.0f), "32.0");
    EXPECT_EQ(SingleToText(0.5f), ".5");

    testing::RecordingView window("100", "32");
    CalcValues values;
    Calculate(window, values);
    EXPECT_EQ(window.Caption(ResultLabel::lblEAD), "EAD = 81.481");
    EXPECT_EQ(window.Caption(ResultLabel::lblTATA), "Total ATA = 4.030");
    std::setlocale(LC_ALL, saved.c_str());
}

}  // namespace
}  // namespace pelagrin
