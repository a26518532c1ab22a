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

// A paste too large for memory: the box's text cannot even be read.
class ExhaustedView final : public RecordingView {
public:
    [[nodiscard]] std::string InputText(InputBox /*box*/) const override {
        throw std::bad_alloc();
    }
};

// Whatever a command ends with reaches the diver as text, and the window carries on; only
// the captions of a Calculate that ran to its end are there to be spoken, as it wrote them.
TEST(Dispatch, EveryFaultBecomesTheTextOfAnErrorBoxAndOnlyResultsAreSpoken) {
    struct Row {
        const char* name = nullptr;
        form::Command command = form::Command::Calculate;
        const char* depth = nullptr;
        const char* o2 = nullptr;
        std::optional<std::string> fault;
        std::vector<std::string> spoken;
        std::optional<InputBox> enter_in;  // Enter pressed there rather than the command run
        bool close = false;
    };
    const Row rows[] = {
        {"a good calculation", form::Command::Calculate, "100", "32", std::nullopt,
         testing::Captions100Over32(), std::nullopt, false},
        {"the depth alone", form::Command::Calculate, "100", "", std::nullopt,
         {"Best Mix (1.4ATA) = 34", "Best Mix (1.6ATA) = 39", "Total ATA = 4.030"}, std::nullopt,
         false},
        {"nothing to calculate from", form::Command::Calculate, "", "", std::nullopt, {},
         std::nullopt, false},
        {"no oxygen", form::Command::Calculate, "100", "0", "Division by zero", {}, std::nullopt,
         false},
        {"a depth beyond any Single", form::Command::Calculate, "1e39", "32", "Overflow", {},
         std::nullopt, false},
        {"Clear writes captions, but no results", form::Command::Clear, "100", "32",
         std::nullopt, {}, std::nullopt, false},
        {"Exit closes the window", form::Command::Exit, "100", "32", std::nullopt, {},
         std::nullopt, true},
        {"Enter in the filled depth box", {}, "100", "", std::nullopt,
         {"Best Mix (1.4ATA) = 34", "Best Mix (1.6ATA) = 39", "Total ATA = 4.030"},
         InputBox::txtAD, false},
        {"Enter in the empty O2 box does nothing", {}, "100", "", std::nullopt, {},
         InputBox::txtO2, false},
        {"Enter in a box that cannot be read", {}, nullptr, nullptr,
         "Internal error: std::bad_alloc", {}, InputBox::txtO2, false},
    };
    for (const Row& row : rows) {
        RecordingView typed(row.depth == nullptr ? "" : row.depth, row.o2 == nullptr ? "" : row.o2);
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
