// Every system call of the Windows log failing once, as a failing or full disk would make it
// fail: this program points its own import slots for those calls at stand-ins that hand each
// call on to the system unless a test has armed a failure of it.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <type_traits>

#include "core/CalcValues.h"
#include "core/Calculate.h"
#include "log/LogFile.h"
#include "support/Dive100Over32.h"
#include "support/PrintError.h"
#include "support/RecordingView.h"

// The import slots the calls of this program go through.
extern "C" {
extern decltype(&CreateFileW) __imp_CreateFileW;
extern decltype(&GetFileType) __imp_GetFileType;
extern decltype(&LockFileEx) __imp_LockFileEx;
extern decltype(&SetFilePointerEx) __imp_SetFilePointerEx;
extern decltype(&WriteFile) __imp_WriteFile;
extern decltype(&FlushFileBuffers) __imp_FlushFileBuffers;
extern decltype(&SetEndOfFile) __imp_SetEndOfFile;
extern decltype(&UnlockFileEx) __imp_UnlockFileEx;
extern decltype(&CloseHandle) __imp_CloseHandle;
}

namespace {

// A call to fail, by name, and the error it fails with.
struct Failure {
    const char* call = nullptr;
    DWORD error = 0;
};

// At most two at a time: a failed record, and the cutting back that follows it.
Failure armed[2];

bool Fails(const char* call) {
    Failure* const failure =
        std::find_if(std::begin(armed), std::end(armed), [call](const Failure& one) {
            return one.call != nullptr && std::strcmp(one.call, call) == 0;
        });
    if (failure == std::end(armed)) {
        return false;
    }
    failure->call = nullptr;
    SetLastError(failure->error);
    return true;
}

template <auto& Slot, typename Function = std::remove_reference_t<decltype(Slot)>>
struct StandIn;

template <auto& Slot, typename Result, typename... Args>
struct StandIn<Slot, Result (*)(Args...)> {
    static inline Result (*system)(Args...) = nullptr;
    static inline const char* name = nullptr;
    static inline Result failed{};

    static Result Call(Args... args) {
        if (std::strcmp(name, "CloseHandle") == 0) {  // as Windows does, closed even so
            const Result closed = system(args...);
            return Fails(name) ? failed : closed;
        }
        return Fails(name) ? failed : system(args...);
    }
    static void Install(const char* call, Result failure) {
        name = call;
        failed = failure;
        system = Slot;
        DWORD protection = 0;
        VirtualProtect(&Slot, sizeof(Slot), PAGE_READWRITE, &protection);
        Slot = &Call;
        VirtualProtect(&Slot, sizeof(Slot), protection, &protection);
    }
};

}  // namespace

namespace pelagrin {
namespace {

namespace fs = std::filesystem;

const std::string kRecord = testing::Record100Over32();
const std::string kEarlier = "an earlier record\r\n";

// True while a handle to the file is still open, so that no one may have it alone.
bool HeldOpen(const fs::path& file) {
    const HANDLE alone =
        CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (alone == INVALID_HANDLE_VALUE) {
        return GetLastError() == ERROR_SHARING_VIOLATION;
    }
    CloseHandle(alone);
    return false;
}

// The diver is told why and where, nothing is confirmed, the log holds what it held (or says
// it may end in a partial record), and no handle is left open.
TEST(SystemCalls, EachFailingOnceIsReportedAndLeavesTheLogAsItWas) {
    StandIn<__imp_CreateFileW>::Install("CreateFileW", INVALID_HANDLE_VALUE);
    StandIn<__imp_GetFileType>::Install("GetFileType", FILE_TYPE_UNKNOWN);
    StandIn<__imp_LockFileEx>::Install("LockFileEx", FALSE);
    StandIn<__imp_SetFilePointerEx>::Install("SetFilePointerEx", FALSE);
    StandIn<__imp_WriteFile>::Install("WriteFile", FALSE);
    StandIn<__imp_FlushFileBuffers>::Install("FlushFileBuffers", FALSE);
    StandIn<__imp_SetEndOfFile>::Install("SetEndOfFile", FALSE);
    StandIn<__imp_UnlockFileEx>::Install("UnlockFileEx", FALSE);
    StandIn<__imp_CloseHandle>::Install("CloseHandle", FALSE);

    const fs::path directory =
        fs::temp_directory_path() / ("pelagrin-calls-" + std::to_string(std::random_device()()));
    fs::create_directories(directory);
    const fs::path log = directory / "Nitrox.txt";
    const auto said = [](DWORD code) { return logfile::SystemDescription(code); };
    const std::string partial = "; the log may end in a partial record";
    struct Row {
        Failure first;
        Failure then;
        std::string description;
        bool record_left = false;
    };
    const Row rows[] = {
        {{"CreateFileW", ERROR_ACCESS_DENIED}, {}, said(ERROR_ACCESS_DENIED)},
        {{"GetFileType", ERROR_INVALID_HANDLE}, {}, "Not a regular file"},
        {{"LockFileEx", ERROR_LOCK_FAILED}, {}, said(ERROR_LOCK_FAILED)},
        {{"SetFilePointerEx", ERROR_NEGATIVE_SEEK}, {}, said(ERROR_NEGATIVE_SEEK)},
        {{"WriteFile", ERROR_DISK_FULL}, {}, said(ERROR_DISK_FULL)},
        // Nothing was written, so a failed cutting back leaves nothing behind either.
        {{"WriteFile", ERROR_DISK_FULL}, {"SetEndOfFile", ERROR_DISK_FULL}, said(ERROR_DISK_FULL)},
        {{"FlushFileBuffers", ERROR_WRITE_FAULT}, {}, said(ERROR_WRITE_FAULT)},
        {{"FlushFileBuffers", ERROR_WRITE_FAULT},
         {"SetEndOfFile", ERROR_WRITE_FAULT},
         said(ERROR_WRITE_FAULT) + partial,
         true},
        // The record is on the disk by then, but the system could not confirm the close.
        {{"UnlockFileEx", ERROR_NOT_LOCKED}, {}, said(ERROR_NOT_LOCKED), true},
        {{"CloseHandle", ERROR_INVALID_HANDLE}, {}, said(ERROR_INVALID_HANDLE), true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.first.call) + (row.then.call ? " and SetEndOfFile" : ""));
        std::ofstream(log, std::ios::binary | std::ios::trunc) << kEarlier;
        testing::RecordingView window("100", "32");
        CalcValues values;
        Calculate(window, values);
        armed[0] = row.first;
        armed[1] = row.then;
        const std::string error = testing::PrintError(window, values, directory);
        EXPECT_EQ(armed[0].call, nullptr) << "the log never made the call";
        EXPECT_EQ(armed[1].call, nullptr) << "the log never made the call";
        armed[0] = armed[1] = {};
        EXPECT_FALSE(HeldOpen(log));
        EXPECT_EQ(error, "File error: " + row.description + " (" + logfile::PathText(log) + ")");
        EXPECT_TRUE(window.messages.empty());
        // The system's "Access is denied.\r\n" reads before the path, in brackets.
        EXPECT_EQ(row.description.find_last_not_of(". \r\n") + 1, row.description.size());
        std::ifstream in(log, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
                  row.record_left ? kEarlier + kRecord : kEarlier);
    }
    fs::remove_all(directory);
}

}  // namespace
}  // namespace pelagrin
