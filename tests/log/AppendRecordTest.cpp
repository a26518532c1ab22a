// The append every system shares, over a log whose write and cut-back fail where a row says.

#include "log/AppendRecord.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/RunTimeError.h"
#include "support/Dive100Over32.h"

namespace pelagrin {
namespace {

namespace fs = std::filesystem;

const std::string kRecord100Over32 = testing::Record100Over32();

// A log whose write and cut-back fail where a row says, as a full or failing disk would, run
// through the append every system shares: each way a record can be stopped part way is tried
// on any machine, by any user.
class ScriptedLog {
public:
    std::string bytes;                       // what the file holds
    std::optional<std::size_t> write_stops;  // bytes the write puts down before it fails
    bool flush_fails = false;
    bool cut_back_fails = false;
    bool closed = false;

    [[nodiscard]] const fs::path& Path() const { return path_; }
    static bool TryLock() { return true; }
    [[nodiscard]] std::uint64_t SeekEnd() const { return bytes.size(); }
    std::optional<std::string> Write(std::string_view record) {
        bytes += record.substr(0, write_stops.value_or(record.size()));
        return write_stops ? std::optional<std::string>("No space left on device") : std::nullopt;
    }
    [[nodiscard]] std::optional<std::string> Flush() const {
        return flush_fails ? std::optional<std::string>("Input/output error") : std::nullopt;
    }
    // As LogFile's: false only when the file is left longer than `length`.
    bool CutBackTo(std::uint64_t length) {
        if (!cut_back_fails) {
            bytes.resize(length);
        }
        return bytes.size() <= length;
    }
    std::optional<std::string> Close() {
        closed = true;
        return std::nullopt;
    }

private:
    fs::path path_ = "Nitrox.txt";
};

TEST(AppendRecord, AFailedRecordIsCutBackOrReportedAsAPossiblePartialRecord) {
    const std::string earlier = "an earlier record\r\n";
    const std::string partial = "; the log may end in a partial record";
    struct Row {
        const char* name;
        std::optional<std::size_t> write_stops;
        bool flush_fails;
        bool cut_back_fails;
        std::string description;  // "" for a record appended whole
        std::string left;         // what the file holds afterwards
    };
    const Row rows[] = {
        {"appended whole", std::nullopt, false, false, "", earlier + kRecord100Over32},
        {"disk full part way, cut back", 20, false, false, "No space left on device", earlier},
        {"disk full part way, not cut back", 20, false, true, "No space left on device" + partial,
         earlier + kRecord100Over32.substr(0, 20)},
        {"disk full before the first byte, not cut back", 0, false, true, "No space left on device",
         earlier},
        {"written whole but not flushed, cut back", std::nullopt, true, false, "Input/output error",
         earlier},
        {"written whole but not flushed, not cut back", std::nullopt, true, true,
         "Input/output error" + partial, earlier + kRecord100Over32},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedLog log;
        log.bytes = earlier;
        log.write_stops = row.write_stops;
        log.flush_fails = row.flush_fails;
        log.cut_back_fails = row.cut_back_fails;
        std::string error;
        try {
            logfile::AppendRecord(log, kRecord100Over32, [] {});
        } catch (const RunTimeError& failed) {
            EXPECT_EQ(failed.Kind(), ErrorKind::FileError);
            error = failed.what();
        }
        EXPECT_EQ(error, row.description.empty() ? ""
                                                 : "File error: " + row.description + " (" +
                                                       fs::absolute(log.Path()).string() + ")");
        EXPECT_EQ(log.bytes, row.left);
        EXPECT_EQ(log.closed, row.description.empty());
    }
}

}  // namespace
}  // namespace pelagrin
