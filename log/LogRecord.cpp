#include "log/LogRecord.h"

#include "core/NumberFormat.h"

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
        AddLine(record, "EAD = ", 15, FormatFixed3(values.EAD));
        AddLine(record, "MOD fsw 1.4 atm = ", 3, FormatFixed3(values.MOD14));
        AddLine(record, "MOD fsw 1.6 atm = ", 3, FormatFixed3(values.MOD16));
        AddLine(record, "PP O2 atm = ", 11, FormatFixed3(values.PO2));
        AddLine(record, "PP N2 atm = ", 11, FormatFixed3(values.PN2));
        AddLine(record, "Best Mix (1.4ATA) = ", 1, PrintNumber(values.BMX14));
        AddLine(record, "Best Mix (1.6ATA) = ", 1, PrintNumber(values.BMX16));
        AddLine(record, "Total ATA = ", 11, FormatFixed3(values.TATA));
    }
    record += kLineEnd;
    record += kLineEnd;
    return record;
}

}  // namespace pelagrin
