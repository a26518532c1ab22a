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
    };
    const Row rows[] = {
        {"a good calculation", form::Command::Calculate, "100", "32", std::nullopt,
         testing::Captions100Over32()},
        {"the depth alone", form::Command::Calculate, "100", "", std::nullopt,
         {"Best Mix (1.4ATA) = 34", "Best Mix (1.6ATA) = 39", "Total ATA = 4.030"}},
        {"nothing to calculate from", form::Command::Calculate, "", "", std::nullopt, {}},
        {"no oxygen", form::Command::Calculate, "100", "0", "Division by zero", {}},
        {"a depth beyond any Single", form::Command::Calculate, "1e39", "32", "Overflow", {}},
        {"Clear writes captions, but no results", form::Command::Clear, "100", "32",
         std::nullopt, {}},
    };
    for (const Row& row : rows) {
        RecordingView window(row.depth, row.o2);
        CalcValues values;
        const Outcome outcome = Dispatch(row.command, window, values);
        EXPECT_EQ(outcome.fault, row.fault) << row.name;
        EXPECT_EQ(outcome.spoken, row.spoken) << row.name;
    }

    ExhaustedView exhausted;
    CalcValues values;
    EXPECT_EQ(Dispatch(form::Command::Calculate, exhausted, values).fault,
              "Internal error: std::bad_alloc");
}

}  // namespace
}  // namespace pelagrin
