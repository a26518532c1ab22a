#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/CalcValues.h"
#include "core/RunTimeError.h"
#include "log/LogResults.h"
#include "support/RecordingView.h"

namespace pelagrin::testing {

// Runs Print and returns the file error's text, or "" when it succeeded: whatever stops a
// record must reach the diver as a file error.
inline std::string PrintError(RecordingView& window, const CalcValues& values,
                              const std::filesystem::path& directory) {
    try {
        LogResults(window, values, directory);
    } catch (const RunTimeError& error) {
        EXPECT_EQ(error.Kind(), ErrorKind::FileError);
        return error.what();
    }
    return {};
}

}  // namespace pelagrin::testing
