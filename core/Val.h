#pragma once

#include <string_view>

namespace pelagrin {

// The one decimal point the calculator reads, whatever the desktop's language. The windows
// type it for the keypad's decimal key, whatever character the keyboard layout puts there (a
// comma under German and most of Europe's layouts), as a figure cut at that comma would be
// the wrong gas.
inline constexpr char kDecimalPoint = '.';

// Reads the number at the start of a typed text, as a diver would mean it.
//
// Leading blanks (spaces and tabs) are skipped; then an optional sign and a decimal number
// with "." as the decimal point, whatever the user's locale, optionally followed by an
// exponent ("1e3", "2.5E-2") when digits follow the letter. Reading stops at the first
// character that cannot continue the number, a blank included ("100ft" and "100 ft" read 100).
// A text that does not begin with a number gives 0; there are no radix prefixes, no "inf" and
// no "nan".
//
// The result is the double nearest the decimal number. Beyond the double range it is
// infinity, and the overflow status is raised just as an overflowing operation would raise it;
// a number too small for a double reads as zero. Runs in time linear in the text and never
// reads beyond it.
double Val(std::string_view text);

}  // namespace pelagrin
