#include <gtest/gtest.h>

#include <new>
#include <optional>
#include <string>

#include "support/RecordingView.h"
#include "ui/Dispatch.h"

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

// Whatever a command ends with reaches the diver as text, and the window carries on.
TEST(Dispatch, EveryFaultBecomesTheTextOfAnErrorBox) {
    struct Row {
        const char* name = nullptr;
        const char* depth = nullptr;
        const char* o2 = nullptr;
        std::optional<std::string> fault;
    };
    const Row rows[] = {
        {"a good calculation", "100", "32", std::nullopt},
        {"no oxygen", "100", "0", "Division by zero"},
        {"a depth beyond any Single", "1e39", "32", "Overflow"},
    };
    for (const Row& row : rows) {
        RecordingView window(row.depth, row.o2);
        CalcValues values;
        EXPECT_EQ(Dispatch(form::Command::Calculate, window, values), row.fault) << row.name;
    }

    ExhaustedView exhausted;
    CalcValues values;
    EXPECT_EQ(Dispatch(form::Command::Calculate, exhausted, values),
              "Internal error: std::bad_alloc");
}

}  // namespace
}  // namespace pelagrin
