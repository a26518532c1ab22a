#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/Calculate.h"
#include "core/RunTimeError.h"
#include "log/LogResults.h"
#include "log/ProgramDirectory.h"
#include "support/RecordingView.h"

namespace pelagrin {
namespace {

namespace fs = std::filesystem;
using testing::RecordingView;

const std::string kConfirmation =
    "Data saved (appended) to the file:\r\n"
    "Nitrox.txt   located in the\r\n"
    "Pelagrin  program  directory.";

const std::string kEmptyRecord = "\r\n\r\n\r\n";

const std::string kRecord100Over32 =
    "\r\n"
    "Actual Depth (fsw):  100.0\r\n"
    "% O2 in Nitrox:       32.0\r\n"
    "\r\n"
    "EAD =                81.481\r\n"
    "MOD fsw 1.4 atm =    111.375\r\n"
    "MOD fsw 1.6 atm =    132.000\r\n"
    "PP O2 atm =            1.290\r\n"
    "PP N2 atm =            2.741\r\n"
    "Best Mix (1.4ATA) =   34 \r\n"
    "Best Mix (1.6ATA) =   39 \r\n"
    "Total ATA =            4.030\r\n"
    "\r\n"
    "\r\n";

class LogResultsTest : public ::testing::Test {
protected:
    void SetUp() override {
        directory_ = fs::temp_directory_path() /
                     ("pelagrin-log-" + std::to_string(::getpid()) + "-" +
                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(directory_);
        fs::create_directories(directory_);
    }
    void TearDown() override { fs::remove_all(directory_); }

    [[nodiscard]] fs::path LogFile() const { return directory_ / "Nitrox.txt"; }

    [[nodiscard]] std::string LogBytes() const {
        std::ifstream in(LogFile(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    void WriteLog(const std::string& bytes) const {
        std::ofstream(LogFile(), std::ios::binary) << bytes;
    }

    // Runs Print and returns the file error's text, or "" when it succeeded.
    std::string Print(RecordingView& window, const CalcValues& values) {
        try {
            LogResults(window, values, directory_);
        } catch (const RunTimeError& error) {
            EXPECT_EQ(error.Kind(), ErrorKind::FileError);
            return error.what();
        }
        return {};
    }

    fs::path directory_;
};

TEST_F(LogResultsTest, RecordsTheCalculatedFiguresAndConfirms) {
    RecordingView window("100", "32");
    CalcValues values;
    Calculate(window, values);
    EXPECT_EQ(Print(window, values), "");
    EXPECT_EQ(LogBytes(), kRecord100Over32);
    ASSERT_EQ(window.messages.size(), 1U);
    EXPECT_EQ(window.messages[0].text, kConfirmation);
    EXPECT_EQ(window.messages[0].style, MessageStyle::MessagePlain);
    EXPECT_EQ(window.messages[0].title, std::nullopt);
}

TEST_F(LogResultsTest, WhatIsWrittenDependsOnTheBoxesNotOnTheirFigures) {
    struct Row {
        const char* name;
        const char* depth;
        const char* o2;
        std::string record;
    };
    const Row rows[] = {
        {"never calculated", "100", "32",
         "\r\nActual Depth (fsw):  .0\r\n% O2 in Nitrox:       .0\r\n\r\n"
         "EAD =                .000\r\nMOD fsw 1.4 atm =    .000\r\n"
         "MOD fsw 1.6 atm =    .000\r\nPP O2 atm =            .000\r\n"
         "PP N2 atm =            .000\r\nBest Mix (1.4ATA) =   0 \r\n"
         "Best Mix (1.6ATA) =   0 \r\nTotal ATA =            .000\r\n\r\n\r\n"},
        {"blanks count as filled", " ", " ", {}},
        {"depth empty", "", "32", kEmptyRecord},
        {"O2 empty", "100", "", kEmptyRecord},
        {"both empty", "", "", kEmptyRecord},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove(LogFile());
        RecordingView window(row.depth, row.o2);
        EXPECT_EQ(Print(window, CalcValues{}), "");
        EXPECT_EQ(LogBytes(), row.record.empty() ? rows[0].record : row.record);
        ASSERT_EQ(window.messages.size(), 1U);
        EXPECT_EQ(window.messages[0].text, kConfirmation);
    }
}

TEST_F(LogResultsTest, WritesTheStoredFiguresNotTheEditedBoxes) {
    RecordingView window("100", "32");
    CalcValues values;
    Calculate(window, values);
    window.Type(InputBox::txtAD, "33");
    window.Type(InputBox::txtO2, "50");
    EXPECT_EQ(Print(window, values), "");
    EXPECT_EQ(LogBytes(), kRecord100Over32);
}

TEST_F(LogResultsTest, AppendsAfterWhatTheFileHolds) {
    const std::string earlier = "an older record without a final line end";
    WriteLog(earlier);
    RecordingView window("100", "32");
    CalcValues values;
    Calculate(window, values);
    EXPECT_EQ(Print(window, values), "");
    window.Type(InputBox::txtO2, "");
    EXPECT_EQ(Print(window, values), "");
    EXPECT_EQ(LogBytes(), earlier + kRecord100Over32 + kEmptyRecord);
    EXPECT_EQ(window.messages.size(), 2U);
}

TEST_F(LogResultsTest, FailuresAreReportedWithThePathAndNeverConfirmed) {
    struct Row {
        const char* name;
        void (*prepare)(const fs::path& directory);
        const char* description;
    };
    const Row rows[] = {
        {"directory gone", [](const fs::path& d) { fs::remove_all(d); },
         "No such file or directory"},
        {"log is a directory", [](const fs::path& d) { fs::create_directory(d / "Nitrox.txt"); },
         "Is a directory"},
        {"device full",
         [](const fs::path& d) { fs::create_symlink("/dev/full", d / "Nitrox.txt"); },
         "No space left on device"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove_all(directory_);
        fs::create_directories(directory_);
        row.prepare(directory_);
        RecordingView window("100", "32");
        const std::string error = Print(window, CalcValues{});
        EXPECT_EQ(error, std::string("File error: ") + row.description + " (" +
                             (directory_ / "Nitrox.txt").string() + ")");
        EXPECT_TRUE(window.messages.empty());
    }
}

// A disk that fills up must not cost the diver the records already logged.
TEST_F(LogResultsTest, AFullDiskLeavesEarlierRecordsIntact) {
    const std::string earlier = kRecord100Over32;
    WriteLog(earlier);

    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto saved_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit full = saved;
    full.rlim_cur = earlier.size();
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &full), 0);

    RecordingView window("100", "32");
    const std::string error = Print(window, CalcValues{});

    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, saved_handler);

    EXPECT_NE(error.find("File too large"), std::string::npos) << error;
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(LogBytes(), earlier);
}

TEST(ProgramDirectory, IsWhereThisProgramLies) {
    const fs::path self = fs::canonical("/proc/self/exe");
    EXPECT_EQ(ProgramDirectory(), self.parent_path());
    EXPECT_TRUE(fs::is_directory(ProgramDirectory()));
}

}  // namespace
}  // namespace pelagrin
