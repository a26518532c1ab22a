#include "log/LogResults.h"

#include <filesystem>
#include <optional>
#include <string>

#include "core/CalcValues.h"
#include "core/View.h"
#include "log/AppendFile.h"
#include "log/LogRecord.h"

namespace pelagrin {

void LogResults(view& window, const CalcValues& values,
                const std::filesystem::path& log_directory) {
    const std::string record =
        LogRecord(window.InputText(InputBox::txtAD), window.InputText(InputBox::txtO2), values);
    AppendFile(log_directory / "Nitrox.txt", record, [&window] { window.KeepPainted(); });
    // The doubled blanks are the confirmation as divers have always read it, and as their
    // screenshots and notes of it show; it is kept to the letter.
    window.ShowMessage(
        "Data saved (appended) to the file:\r\n"
        "Nitrox.txt   located in the\r\n"
        "Pelagrin  program  directory.",
        MessageStyle::MessagePlain, std::nullopt);
}

}  // namespace pelagrin
