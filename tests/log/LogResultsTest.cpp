#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <ios>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "core/CalcValues.h"
#include "core/Calculate.h"
#include "core/View.h"
#if defined(_WIN32)
#include "log/LogFile.h"  // the system's own words for its errors
#endif
#include "log/ProgramDirectory.h"
#include "support/Dive100Over32.h"
#include "support/PrintError.h"
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

const std::string kRecord100Over32 = testing::Record100Over32();

// The path as the error message spells it.
std::string Utf8(const fs::path& path) {
    const std::u8string text = fs::absolute(path).u8string();
    return {text.begin(), text.end()};
}

class LogResultsTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("pelagrin-log-" + std::to_string(std::random_device()()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        // A diver's folder may have any name; the ANSI code page of Windows spells neither.
        directory_ = root_ / u8"Tauchgänge" / u8"潜水";
        fs::create_directories(directory_);
    }
    void TearDown() override { fs::remove_all(root_); }

    [[nodiscard]] fs::path LogFile() const { return directory_ / "Nitrox.txt"; }

    [[nodiscard]] std::string LogBytes() const {
        std::ifstream in(LogFile(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    void WriteLog(const std::string& bytes) const {
        std::ofstream(LogFile(), std::ios::binary) << bytes;
    }

    std::string Print(RecordingView& window, const CalcValues& values) {
        return PrintError(window, values, directory_);
    }

    fs::path root_;
    fs::path directory_;
};

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

// Print appends, after whatever the file holds, the figures of the last Calculate, not what
// the boxes hold since, and confirms each record.
TEST_F(LogResultsTest, AppendsTheStoredFiguresAfterWhatTheFileHolds) {
    const std::string earlier = "an older record without a final line end";
    WriteLog(earlier);
    RecordingView window("100", "32");
    CalcValues values;
    Calculate(window, values);
    window.Type(InputBox::txtAD, "33");
    window.Type(InputBox::txtO2, "50");
    EXPECT_EQ(Print(window, values), "");
    window.Type(InputBox::txtO2, "");
    EXPECT_EQ(Print(window, values), "");
    EXPECT_EQ(LogBytes(), earlier + kRecord100Over32 + kEmptyRecord);
    ASSERT_EQ(window.messages.size(), 2U);
    EXPECT_EQ(window.messages[0].text, kConfirmation);
    EXPECT_EQ(window.messages[0].style, MessageStyle::MessagePlain);
    EXPECT_EQ(window.messages[0].title, std::nullopt);
}

// What a row set up for the moment of Print, undone, last first, when the row is done.
class Undo {
public:
    Undo() = default;
    Undo(const Undo&) = delete;
    Undo& operator=(const Undo&) = delete;
    ~Undo() {
        while (!steps_.empty()) {
            steps_.back()();
            steps_.pop_back();
        }
    }
    void Add(std::function<void()> step) { steps_.push_back(std::move(step)); }

private:
    std::vector<std::function<void()>> steps_;
};

#if !defined(_WIN32)
fs::path FifoForLog(const fs::path& directory, Undo&) {
    fs::remove(directory / "Nitrox.txt");
    EXPECT_EQ(::mkfifo((directory / "Nitrox.txt").c_str(), 0600), 0);
    return directory;
}
#endif

// Whatever stops the record, the diver is told why and where, nothing is confirmed, the
// records already logged stay exactly as they were, and the window never hangs.
TEST_F(LogResultsTest, AFailedPrintLeavesTheLogAsItWasAndIsNeverConfirmed) {
    struct Row {
        const char* name;
        // Spoils the log; returns the directory to print into.
        fs::path (*prepare)(const fs::path& directory, Undo& undo);
        std::string description;
    };
    // The words the diver reads, written out: a test built from the program's own constants
    // would pass whatever they said.
    const std::string not_regular = "Not a regular file";
    const std::string locked = "Locked by another program";
#if defined(_WIN32)
    const Row rows[] = {
        {"named pipe",
         [](const fs::path&, Undo& undo) {
             const HANDLE pipe = CreateNamedPipeW(L"\\\\.\\pipe\\Nitrox.txt", PIPE_ACCESS_INBOUND,
                                                  PIPE_TYPE_BYTE, 1, 0, 4096, 0, nullptr);
             EXPECT_NE(pipe, INVALID_HANDLE_VALUE);
             undo.Add([pipe] { CloseHandle(pipe); });
             return fs::path(L"\\\\.\\pipe");
         },
         not_regular},
        {"locked by another program",
         [](const fs::path& d, Undo& undo) {
             const HANDLE other = CreateFileW((d / "Nitrox.txt").c_str(), GENERIC_WRITE,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                              OPEN_EXISTING, 0, nullptr);
             OVERLAPPED whole{};
             EXPECT_TRUE(LockFileEx(other, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole));
             undo.Add([other] { CloseHandle(other); });
             return d;
         },
         locked},
    };
#else
    const Row rows[] = {
        {"FIFO with no reader", FifoForLog, not_regular},
        {"FIFO with a reader",
         [](const fs::path& d, Undo& undo) {
             FifoForLog(d, undo);
             const int reader = ::open((d / "Nitrox.txt").c_str(), O_RDONLY | O_NONBLOCK);
             undo.Add([reader] {
                 char byte = 0;
                 EXPECT_LE(::read(reader, &byte, 1), 0) << "the record went into the pipe";
                 ::close(reader);
             });
             return d;
         },
         not_regular},
        {"locked by another program",
         [](const fs::path& d, Undo& undo) {
             const int other = ::open((d / "Nitrox.txt").c_str(), O_RDONLY);
             EXPECT_EQ(::flock(other, LOCK_EX), 0);
             undo.Add([other] { ::close(other); });
             return d;
         },
         locked},
    };
    ::alarm(20);  // a Print that blocks ends the test run instead of hanging it
#endif
    const std::string earlier = kRecord100Over32;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove_all(directory_);
        fs::create_directories(directory_);
        WriteLog(earlier);
        RecordingView window("100", "32");
        fs::path log_directory;
        std::string error;
        {
            Undo undo;
            log_directory = row.prepare(directory_, undo);
            error = PrintError(window, CalcValues{}, log_directory);
        }
        EXPECT_EQ(error, "File error: " + row.description + " (" +
                             Utf8(log_directory / "Nitrox.txt") + ")");
        EXPECT_TRUE(window.messages.empty());
        if (fs::is_regular_file(LogFile())) {
            EXPECT_EQ(LogBytes(), earlier);
        }
    }
#if !defined(_WIN32)
    ::alarm(0);
#endif
}

TEST(ProgramDirectory, IsWhereThisProgramLiesWhateverTheCurrentDirectory) {
    const fs::path started_in = fs::current_path();
    fs::current_path(fs::temp_directory_path());
    const fs::path directory = ProgramDirectory();
    fs::current_path(started_in);
    EXPECT_TRUE(directory.is_absolute());
    EXPECT_TRUE(fs::is_regular_file(directory / LOG_TESTS_FILE_NAME)) << Utf8(directory);
}

}  // namespace
}  // namespace pelagrin
