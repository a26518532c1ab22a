// Every Single the number formats may meet, NaNs, subnormals and -0 among them: each whole
// four bytes of the input are the bits of one. The texts a diver reads are checked against
// the seven-digit form worked out here apart from the formats.

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>
#include <vector>

#include "FuzzCheck.h"
#include "core/NumberFormat.h"

namespace pelagrin::fuzz {
namespace {

// |value| rounded once to seven significant digits: mantissa x 10^exponent with a mantissa
// of seven digits (zero for zero), and the double nearest that decimal, signed like value.
// Worked out here from the exact binary-to-decimal conversion, apart from the formats.
struct SevenDigits {
    std::uint64_t mantissa = 0;
    int exponent = 0;
    double nearest = 0;
};

SevenDigits SevenDigitsOf(float value) {
    std::array<char, 40> buffer{};
    const double magnitude = std::fabs(static_cast<double>(value));
    const std::to_chars_result written = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                                       magnitude, std::chars_format::scientific, 6);
    Require(written.ec == std::errc{}, "the harness writes the seven-digit form",
            [value] { return Describe(value); });
    const std::string_view form(buffer.data(),
                                static_cast<std::size_t>(written.ptr - buffer.data()));
    // form: d.dddddde[+-]XX, the buffer's zeros ending it
    SevenDigits seven;
    std::from_chars(form.data(), form.data() + form.size(), seven.nearest);
    const std::string digits = std::string(1, form[0]).append(form.substr(2, 6));
    std::from_chars(digits.data(), digits.data() + digits.size(), seven.mantissa);
    seven.exponent =
        static_cast<int>(std::strtol(form.data() + form.find('e') + 1, nullptr, 10)) - 6;
    seven.nearest = value < 0 ? -seven.nearest : seven.nearest;
    return seven;
}

std::string NonFiniteText(float value) {
    return std::isnan(value) ? "NaN" : (value < 0 ? "-Infinity" : "Infinity");
}

// The "#.000" / "#.0" text as it must be, by whole-number arithmetic on the seven digits:
// scaled to `decimals`, an exact half away from zero, no leading zero before the point, and
// "-" on every negative value.
std::string ExpectedFixed(float value, int decimals) {
    if (!std::isfinite(value)) {
        return NonFiniteText(value);
    }
    const SevenDigits seven = SevenDigitsOf(value);
    const int shift = seven.exponent + decimals;
    std::string digits;
    if (shift >= 0) {
        digits = std::to_string(seven.mantissa) + std::string(static_cast<std::size_t>(shift), '0');
    } else if (shift < -7) {
        digits = "0";  // below half a unit: the mantissa is under 10^7
    } else {
        const auto unit = static_cast<std::uint64_t>(std::pow(10.0, -shift));  // exact to 10^7
        const std::uint64_t whole = seven.mantissa / unit;
        digits = std::to_string(2 * (seven.mantissa % unit) >= unit ? whole + 1 : whole);
    }
    const auto width = static_cast<std::size_t>(decimals) + 1;
    if (digits.size() < width) {
        digits.insert(0, width - digits.size(), '0');
    }
    const std::size_t point = digits.size() - static_cast<std::size_t>(decimals);
    std::string integer = digits.substr(0, point);
    integer.erase(0, integer.find_first_not_of('0'));
    return (value < 0 ? "-" : "") + integer + "." + digits.substr(point);
}

void CheckFixed(float value, const std::string& text, int decimals, std::string_view name) {
    const auto detail = [&] {
        return std::string(name) + " of " + Describe(value) + " gave " + text;
    };
    Require(IsPrintable(text), "a fixed-format text is printable ASCII", detail);
    Require(text == ExpectedFixed(value, decimals),
            "a fixed-format text is the seven-digit form rounded half away from zero",
            [&] { return detail() + ", expected " + ExpectedFixed(value, decimals); });
    if (!std::isfinite(value)) {
        return;
    }
    // Read back, the text is within half a unit of its last decimal of the seven-digit form.
    // Both sides are the doubles nearest exact decimals (half an ulp off each) and the half
    // unit is itself a rounded double; 2^-50 of the largest magnitude covers those few ulps
    // and stays far below one unit of a misprinted digit: a value of 10^(7 - decimals) or more
    // prints its seven digits exactly, where a wrong digit is 10^-7 relative or more.
    const double shown = CheckedVal(text);
    const double seven = SevenDigitsOf(value).nearest;
    const double half_unit = 0.5 * std::pow(10.0, -decimals);
    const double slack = 0x1p-50 * std::max({std::fabs(shown), std::fabs(seven), half_unit});
    Require(std::fabs(shown - seven) <= half_unit + slack,
            "a fixed-format text reads back within half a unit of its last decimal", detail);
}

void CheckSingleToText(float value, const std::string& text) {
    const auto detail = [&] { return "SingleToText of " + Describe(value) + " gave " + text; };
    Require(IsPrintable(text), "SingleToText is printable ASCII", detail);
    if (!std::isfinite(value)) {
        Require(text == NonFiniteText(value), "SingleToText spells a non-finite value", detail);
        return;
    }
    const double seven = SevenDigitsOf(value).nearest;
    Require(CheckedVal(text) == seven, "SingleToText reads back as exactly the seven-digit form",
            detail);

    const bool minus = text.starts_with('-');
    const std::string_view body = std::string_view(text).substr(minus ? 1 : 0);
    Require(minus == (value < 0), "SingleToText has a \"-\" exactly on a negative value", detail);
    const double magnitude = std::fabs(seven);
    const bool scientific = magnitude >= 1e7 || (magnitude != 0 && magnitude < 1e-7);
    const std::size_t e = body.find('E');
    Require((e != std::string_view::npos) == scientific,
            "SingleToText uses an exponent exactly from 1E+07 up and below 1E-07", detail);
    const std::string_view number = body.substr(0, e);
    if (scientific) {
        const std::string_view exponent = body.substr(e + 1);
        Require(exponent.size() == 3 && (exponent[0] == '+' || exponent[0] == '-') &&
                    std::isdigit(static_cast<unsigned char>(exponent[1])) != 0 &&
                    std::isdigit(static_cast<unsigned char>(exponent[2])) != 0,
                "SingleToText writes the exponent as a sign and two digits", detail);
        Require(number.size() == 1 || (number.size() > 2 && number[1] == '.'),
                "SingleToText writes one digit before the point of an exponent form", detail);
    }
    Require(!number.empty() && (number.front() != '0' || number == "0"),
            "SingleToText writes no leading zero", detail);
    Require(number.back() != '.', "SingleToText drops a bare trailing point", detail);
    if (number.find('.') != std::string_view::npos) {
        Require(number.back() != '0', "SingleToText drops trailing zeros of a fraction", detail);
    }
    std::string digits(number);
    std::erase(digits, '.');
    digits.erase(0, digits.find_first_not_of('0'));
    Require(digits.size() <= 7, "SingleToText claims no more than seven digits", detail);
}

void CheckFormats(float value) {
    CheckFixed(value, FormatFixed3(value), 3, "FormatFixed3");
    CheckFixed(value, FormatFixed1(value), 1, "FormatFixed1");
    const std::string text = SingleToText(value);
    CheckSingleToText(value, text);
    const std::string printed = PrintNumber(value);
    Require(printed == (value < 0 ? "" : " ") + text + " ",
            "PrintNumber is SingleToText with the sign's place held by a blank and a blank after",
            [&] { return Describe(value) + " gave " + printed; });
}

}  // namespace
}  // namespace pelagrin::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (std::size_t at = 0; at + sizeof(float) <= size; at += sizeof(float)) {
        float value = 0;
        std::memcpy(&value, data + at, sizeof value);
        pelagrin::fuzz::CheckFormats(value);
    }
    return 0;
}
