#pragma once

#include <string>
#include <string_view>

namespace pelagrin {

// How a stored Single becomes text on screen and in the log. All three forms start from the
// value rounded to seven significant decimal digits (what a Single can honestly claim), use
// "." as the decimal point whatever the user's locale, and spell the infinities that only a
// faulted calculation leaves behind as "Infinity" and "-Infinity".

// Pattern "#.N" with N zeros after the point ("#.000", "#.0"): the seven-digit form rounded
// to N decimals, an exact half away from zero; no leading zero before the point ("0.21" gives
// ".210"), no digit grouping, and a leading "-" on any negative value, also one that has
// rounded to zero ("-.000"). Throws std::invalid_argument for any other pattern.
std::string FormatPattern(float value, std::string_view pattern);

// The result captions and the log's result lines.
inline std::string FormatFixed3(float value) {
    return FormatPattern(value, "#.000");
}

// The depth and O2 lines of the log.
inline std::string FormatFixed1(float value) {
    return FormatPattern(value, "#.0");
}

// The seven-digit form with trailing zeros and a bare trailing point dropped: 34, 140, 0,
// .5, -2.2. Magnitudes from 1E+07 up and below 1E-07 are written with an exponent
// (3.402823E+38).
std::string SingleToText(float value);

// A Single as a bare item of a log line: a blank in place of the sign of a value that is not
// negative, the SingleToText digits, and one trailing blank (" 34 ", "-2.2 ").
std::string PrintNumber(float value);

}  // namespace pelagrin
