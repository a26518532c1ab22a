#include <gtest/gtest.h>

#include "core/View.h"
#include "ui/FormColours.h"
#include "ui/FormDescription.h"

namespace pelagrin::form {
namespace {

const Control& ModAt16() {
    return kControls.at(IndexOf(ResultLabel::lblMOD16));
}

// In high contrast every text takes the desktop's pair where it reads at 7:1 or better, and
// white on black where it does not; otherwise the form is as designed (the MOD 1.6 line blue).
TEST(FormColours, HighContrastTakesTheDesktopsPairOnlyWhereItReadsAtSevenToOne) {
    struct Row {
        const char* name = "";
        SystemColours system{};
        Rgb text{};
        Rgb background{};
    };
    const Row rows[] = {
        {"off", {false, kWhite, kBlack}, {0, 0, 255}, kBlack},
        {"black on white, 21:1", {true, kWhite, kBlack}, kBlack, kWhite},
        {"dark grey on white, 7.0:1", {true, kWhite, {89, 89, 89}}, {89, 89, 89}, kWhite},
        {"dark grey on white, 6.9:1", {true, kWhite, {90, 90, 90}}, kWhite, kBlack},
    };
    for (const Row& row : rows) {
        const Colours colours = ControlColours(ModAt16(), row.system);
        EXPECT_EQ(colours.text, row.text) << row.name;
        EXPECT_EQ(colours.background, row.background) << row.name;
        EXPECT_EQ(WindowBackground(row.system), row.background) << row.name;
    }
    EXPECT_NEAR(ContrastRatio(kBlack, kWhite), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio({0, 0, 255}, kBlack), 2.44, 0.01);  // the form's MOD 1.6 line
}

}  // namespace
}  // namespace pelagrin::form
