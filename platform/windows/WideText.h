// Text between the calculator's UTF-8 and the UTF-16 that Windows speaks.
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

// A box's text as the diver typed or pasted it, for reading a number from: a unit that is not
// valid UTF-16 (a lone surrogate) becomes U+FFFD, as it does in the Qt window, so the number
// before it is still read. Only for reading; what is written to the log is never changed.
std::string Utf8Replacing(std::wstring_view text);

}  // namespace pelagrin
