#pragma once

#include <string>
#include <string_view>

#include "core/CalcValues.h"

namespace pelagrin {

// The text one Print appends to the log, lines ended by "\r\n". The figures are the stored
// ones, as the last calculation left them; the two input texts only decide whether there
// are figures to write: with either box empty the record is three empty lines.
//
// The blank counts after each prefix are fixed by the log's format, which older logs and
// whatever reads them already rely on, even though they leave the values out of line.
std::string LogRecord(std::string_view depth_text, std::string_view o2_text,
                      const CalcValues& values);

}  // namespace pelagrin
