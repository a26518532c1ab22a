#pragma once

#include <string>
#include <string_view>

namespace pelagrin {

// Windows speaks UTF-16 in its file names, messages and controls; the calculator's texts are
// UTF-8. A text too long for the system to count in an int (some two thousand million bytes,
// say a paste into a box) cannot be converted and throws std::length_error. Text that is not
// valid in its encoding (a stray byte in UTF-8, a lone surrogate in UTF-16, as a Windows
// file name may hold) throws std::range_error rather than convert into something else.
std::wstring Utf16(std::string_view text);
std::string Utf8(std::wstring_view text);

}  // namespace pelagrin
