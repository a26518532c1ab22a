#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/CalcValues.h"
#include "core/Calculate.h"
#include "core/RunTimeError.h"
#include "core/View.h"
#include "support/RecordingView.h"

namespace pelagrin {
namespace {

using testing::RecordingView;
using enum ResultLabel;

constexpr float kInfinity = std::numeric_limits<float>::infinity();

struct Figures {
    const char* depth;
    const char* o2;
    const char* ead;
    const char* po2;
    const char* pn2;
    const char* mod14;
    const char* mod16;
    const char* bmx14;
    const char* bmx16;
    const char* tata;
};

void ExpectCaptions(const RecordingView& window, const Figures& f) {
    SCOPED_TRACE(std::string("depth ") + f.depth + ", O2 " + f.o2);
    EXPECT_EQ(window.Caption(lblEAD), std::string("EAD = ") + f.ead);
    EXPECT_EQ(window.Caption(lblPO2), std::string("PP O2 atm = ") + f.po2);
    EXPECT_EQ(window.Caption(lblPN2), std::string("PP N2 atm = ") + f.pn2);
    EXPECT_EQ(window.Caption(lblMOD14), std::string("MOD fsw 1.4 atm = ") + f.mod14);
    EXPECT_EQ(window.Caption(lblMOD16), std::string("MOD fsw 1.6 atm = ") + f.mod16);
    EXPECT_EQ(window.Caption(lblBMX14), std::string("Best Mix (1.4ATA) = ") + f.bmx14);
    EXPECT_EQ(window.Caption(lblBMX16), std::string("Best Mix (1.6ATA) = ") + f.bmx16);
    EXPECT_EQ(window.Caption(lblTATA), std::string("Total ATA = ") + f.tata);
}

// Figures a diver can check against the dive tables; the last rows are mixes outside any
// sane plan, which the calculator still works out as typed.
const Figures kWorkedValues[] = {
    {"100", "32", "81.481", "1.290", "2.741", "111.375", "132.000", "34", "39", "4.030"},
    {"0", "21", ".000", ".210", ".790", "187.000", "218.429", "140", "160", "1.000"},
    {"10", "40", "-.342", ".521", ".782", "82.500", "99.000", "107", "122", "1.303"},
    {"130", "36", "99.051", "1.778", "3.161", "95.333", "113.667", "28", "32", "4.939"},
    {"33", "50", "8.772", "1.000", "1.000", "59.400", "72.600", "70", "80", "2.000"},
    {"100", "150", "-117.177", "6.045", "-2.015", "-2.200", "2.200", "34", "39", "4.030"},
    {"100", "0.5", "134.513", ".020", "4.010", "9207.000", "10527.000", "34", "39", "4.030"},
    // The magnitudes are taken, and kept for the log: -100 is 100, and -32 is 32.
    {"-100", "-32", "81.481", "1.290", "2.741", "111.375", "132.000", "34", "39", "4.030"},
    // A text of blanks is not empty and reads 0.
    {"   ", "21", ".000", ".210", ".790", "187.000", "218.429", "140", "160", "1.000"},
    // Air at the surface is exactly zero EAD; a trace more oxygen makes it a negative zero.
    {"0", "21.0001", "-.000", ".210", ".790", "186.999", "218.427", "140", "160", "1.000"},
};

// The window's own arithmetic, between one figure and the next, never shows in a figure.
constexpr bool kToolkitFlags[] = {false, true};

TEST(Calculate, WorkedValues) {
    for (const bool flags_left : kToolkitFlags) {
        for (const Figures& f : kWorkedValues) {
            RecordingView window(f.depth, f.o2);
            window.leaves_float_flags = flags_left;
            CalcValues values;
            Calculate(window, values);
            ExpectCaptions(window, f);
        }
    }
}

// The best mix truncates the double product, never the exact quotient: at these depths exact
// arithmetic would land on or just above a whole percent.
TEST(Calculate, BestMixTruncatesTheDoubleProduct) {
    struct Row {
        const char* depth;
        const char* bmx14;
        const char* bmx16;
    };
    const Row rows[] = {{"9", "109", "125"}, {"27", "76", "88"},   {"51", "54", "62"},
                        {"77", "41", "48"},  {"99", "35", "40"},   {"132", "27", "32"},
                        {"187", "20", "24"}, {"297", "13", "16"}};
    for (const Row& row : rows) {
        RecordingView window(row.depth, "");
        CalcValues values;
        Calculate(window, values);
        EXPECT_EQ(window.Caption(lblBMX14), std::string("Best Mix (1.4ATA) = ") + row.bmx14)
            << "depth " << row.depth;
        EXPECT_EQ(window.Caption(lblBMX16), std::string("Best Mix (1.6ATA) = ") + row.bmx16)
            << "depth " << row.depth;
    }
}

TEST(Calculate, SkippedCaptionsKeepTheEarlierRunsText) {
    RecordingView window("100", "32");
    CalcValues values;
    Calculate(window, values);
    window.Type(InputBox::txtAD, "");
    window.Type(InputBox::txtO2, "40");
    Calculate(window, values);
    ExpectCaptions(window, {"", "40", "81.481", "1.290", "2.741", "82.500", "99.000", "34", "39",
                            "4.030"});
}

// Runs Calculate over the captions of a finished 100 / 32 run and returns the fault it ends
// with; the test fails if it ends without one.
ErrorKind FaultAfterGoodRun(RecordingView& window, CalcValues& values, const char* depth,
                            const char* o2) {
    Calculate(window, values);
    window.caption_order.clear();
    window.Type(InputBox::txtAD, depth);
    window.Type(InputBox::txtO2, o2);
    try {
        Calculate(window, values);
    } catch (const RunTimeError& error) {
        return error.Kind();
    }
    ADD_FAILURE() << "no fault for depth " << depth << ", O2 " << o2;
    return ErrorKind::FileError;
}

TEST(Calculate, ZeroOxygenDividesByZeroAfterTheGasFigures) {
    const char* zero_texts[] = {"0", "abc", "1e-46"};  // the last rounds to a Single zero
    for (const bool flags_left : kToolkitFlags) {
        for (const char* o2 : zero_texts) {
            SCOPED_TRACE(o2);
            RecordingView window("100", "32");
            window.leaves_float_flags = flags_left;
            CalcValues values;
            EXPECT_EQ(FaultAfterGoodRun(window, values, "100", o2), ErrorKind::DivisionByZero);
            EXPECT_EQ(window.caption_order, (std::vector<ResultLabel>{lblEAD, lblPO2, lblPN2}));
            ExpectCaptions(window, {"", "", "135.354", ".000", "4.030", "111.375", "132.000", "34",
                                    "39", "4.030"});
            EXPECT_EQ(values.O2, 0.0f);
            EXPECT_EQ(values.MOD14, kInfinity);
            EXPECT_EQ(values.MOD16, 132.0f);
        }
    }
}

TEST(Calculate, OverflowStopsAtTheFaultedStore) {
    struct Row {
        const char* name;
        const char* depth;
        const char* o2;
        std::vector<ResultLabel> changed;  // before the fault
        float CalcValues::*faulted;
        float produced;
    };
    const Row rows[] = {
        {"depth beyond Single", "3.40282357e38", "32", {}, &CalcValues::AD, kInfinity},
        {"depth beyond double", "1e309", "32", {}, &CalcValues::AD, kInfinity},
        {"O2 beyond Single", "100", "-3.40282357e38", {}, &CalcValues::O2, kInfinity},
        {"EAD beyond Single", "3e38", "1", {}, &CalcValues::EAD, kInfinity},
        {"negative EAD beyond Single", "1000", "3e38", {}, &CalcValues::EAD, -kInfinity},
        {"MOD 1.4 of a vanishing O2", "", "1e-45", {}, &CalcValues::MOD14, kInfinity},
        {"MOD 1.6 only", "", "1.45e-35", {lblMOD14}, &CalcValues::MOD16, kInfinity},
    };
    for (const bool flags_left : kToolkitFlags) {
        for (const Row& row : rows) {
            SCOPED_TRACE(row.name);
            RecordingView window("100", "32");
            window.leaves_float_flags = flags_left;
            CalcValues values;
            EXPECT_EQ(FaultAfterGoodRun(window, values, row.depth, row.o2), ErrorKind::Overflow);
            EXPECT_EQ(window.caption_order, row.changed);
            EXPECT_EQ(values.*row.faulted, row.produced);
        }
    }
}

}  // namespace
}  // namespace pelagrin
