#include "log/LogRecord.h"

#include <cstddef>
#include <string>
#include <string_view>

#include "core/CalcValues.h"
#include "core/NumberFormat.h"
#include "core/ResultCaptions.h"
#include "core/View.h"

namespace pelagrin {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

void AddLine(std::string& record, std::string_view prefix, std::size_t blanks,
             const std::string& value) {
    record += prefix;
    record.append(blanks, ' ');
    record += value;
    record += kLineEnd;
}

}  // namespace

std::string LogRecord(std::string_view depth_text, std::string_view o2_text,
                      const CalcValues& values) {
    std::string record(kLineEnd);
    if (!depth_text.empty() && !o2_text.empty()) {
        AddLine(record, "Actual Depth (fsw):", 2, FormatFixed1(values.AD));
        AddLine(record, "% O2 in Nitrox:", 7, FormatFixed1(values.O2));
        record += kLineEnd;
        AddLine(record, CaptionPrefix(ResultLabel::lblEAD), 15, FormatFixed3(values.EAD));
        AddLine(record, CaptionPrefix(ResultLabel::lblMOD14), 3, FormatFixed3(values.MOD14));
        AddLine(record, CaptionPrefix(ResultLabel::lblMOD16), 3, FormatFixed3(values.MOD16));
        AddLine(record, CaptionPrefix(ResultLabel::lblPO2), 11, FormatFixed3(values.PO2));
        AddLine(record, CaptionPrefix(ResultLabel::lblPN2), 11, FormatFixed3(values.PN2));
        AddLine(record, CaptionPrefix(ResultLabel::lblBMX14), 1, PrintNumber(values.BMX14));
        AddLine(record, CaptionPrefix(ResultLabel::lblBMX16), 1, PrintNumber(values.BMX16));
        AddLine(record, CaptionPrefix(ResultLabel::lblTATA), 11, FormatFixed3(values.TATA));
    }
    record += kLineEnd;
    record += kLineEnd;
    return record;
}

}  // namespace pelagrin
