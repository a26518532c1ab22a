#include <gtest/gtest.h>

#include <new>
#include <optional>
#include <string>
#include <vector>

#include "core/CalcValues.h"
#include "core/View.h"
#include "support/Dive100Over32.h"
#include "support/RecordingView.h"
#include "ui/Dispatch.h"
#include "ui/FormDescription.h"

namespace pelagrin {
namespace {

using testing::RecordingView;
using enum InputBox;

// A paste too large for memory: the box's text cannot even be read.
class ExhaustedView final : public RecordingView {
public:
    [[nodiscard]] std::string InputText(InputBox /*box*/) const override { throw std::bad_alloc(); }
};

// Whatever a command ends with reaches the diver as text, and the window carries on; only
// the captions of a Calculate that ran to its end are there to be spoken, as it wrote them.
TEST(Dispatch, EveryFaultBecomesTheTextOfAnErrorBoxAndOnlyResultsAreSpoken) {
    struct Row {
        const char* name = nullptr;
        form::Command command = form::Command::Calculate;
        const char* depth = "100";
        const char* o2 = "32";
        std::vector<std::string> spoken{};
        std::optional<InputBox> enter_in{};  // Enter pressed there rather than the command run
        std::optional<std::string> fault{};
        bool close = false;
    };
    // The figures of a depth alone.
    const std::vector<std::string> alone = {"Best Mix (1.4ATA) = 34", "Best Mix (1.6ATA) = 39",
                                            "Total ATA = 4.030"};
    const Row rows[] = {
        {.name = "a good calculation", .spoken = testing::Captions100Over32()},
        {.name = "the depth alone", .o2 = "", .spoken = alone},
        {.name = "nothing to calculate from", .depth = "", .o2 = ""},
        {.name = "no oxygen", .o2 = "0", .fault = "Division by zero"},
        {.name = "a depth beyond any Single", .depth = "1e39", .fault = "Overflow"},
        {.name = "Clear writes captions, but no results", .command = form::Command::Clear},
        {.name = "Exit closes the window", .command = form::Command::Exit, .close = true},
        {.name = "Enter in the filled depth box", .o2 = "", .spoken = alone, .enter_in = txtAD},
        {.name = "Enter in the empty O2 box does nothing", .o2 = "", .enter_in = txtO2},
        {.name = "Enter in a box that cannot be read",
         .depth = nullptr,
         .enter_in = txtO2,
         .fault = "Internal error: std::bad_alloc"},
    };
    for (const Row& row : rows) {
        RecordingView typed(row.depth == nullptr ? "" : row.depth, row.o2);
        ExhaustedView exhausted;
        view* window = row.depth == nullptr ? static_cast<view*>(&exhausted) : &typed;
        CalcValues values;
        const Outcome outcome = row.enter_in ? PressEnter(*row.enter_in, *window, values)
                                             : Dispatch(row.command, *window, values);
        EXPECT_EQ(outcome.fault, row.fault) << row.name;
        EXPECT_EQ(outcome.spoken, row.spoken) << row.name;
        EXPECT_EQ(outcome.close, row.close) << row.name;
    }
    EXPECT_EQ(SpokenText({"EAD = 81.481", "PP O2 atm = 1.290"}, kCaptionsRunTogether),
              "EAD = 81.481; PP O2 atm = 1.290");
}

}  // namespace
}  // namespace pelagrin
