#include "core/NumberFormat.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace pelagrin {
namespace {

constexpr int kSignificantDigits = 7;

// |value| = 0.d1 d2 ... d7 x 10^point, with d1 nonzero unless the value is zero.
struct SevenDigitForm {
    std::array<char, kSignificantDigits> digits{};
    int point = 0;
};

// The Single's exact value rounded once, to nearest, to seven significant digits. to_chars
// is exact and locale-free, so no binary-to-decimal error can creep in before our rounding.
SevenDigitForm SevenDigitsOf(float value) {
    std::array<char, 32> text{};
    const std::to_chars_result written =
        std::to_chars(text.data(), text.data() + text.size(), std::fabs(static_cast<double>(value)),
                      std::chars_format::scientific, kSignificantDigits - 1);
    // text: d.dddddde[+-]XX
    SevenDigitForm form;
    form.digits[0] = text[0];
    for (std::size_t i = 1; i < form.digits.size(); ++i) {
        form.digits[i] = text[i + 1];
    }
    int exponent = 0;
    const char* exponent_start = text.data() + kSignificantDigits + 2;
    if (*exponent_start == '+') {
        ++exponent_start;
    }
    std::from_chars(exponent_start, written.ptr, exponent);
    form.point = exponent + 1;
    return form;
}

// Text for the values that are not finite numbers; empty for those that are.
std::string NonFiniteText(float value) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-Infinity" : "Infinity";
    }
    return {};
}

// The digits of |value| x 10^decimals rounded to a whole number, an exact half away from
// zero, taken from the seven-digit form; at least decimals + 1 digits, leading zeros kept.
std::string ScaledDigits(const SevenDigitForm& form, int decimals) {
    const int keep = form.point + decimals;  // digits of the form that survive the rounding
    std::string digits;
    for (int i = 0; i < keep; ++i) {
        digits += i < kSignificantDigits ? form.digits[static_cast<std::size_t>(i)] : '0';
    }
    const bool round_up =
        keep >= 0 && keep < kSignificantDigits && form.digits[static_cast<std::size_t>(keep)] >= '5';
    if (round_up) {
        std::size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9') {
            digits[--i] = '0';
        }
        if (i == 0) {
            digits.insert(digits.begin(), '1');
        } else {
            ++digits[i - 1];
        }
    }
    const std::size_t width = static_cast<std::size_t>(decimals) + 1;
    if (digits.size() < width) {
        digits.insert(0, width - digits.size(), '0');
    }
    return digits;
}

int PatternDecimals(std::string_view pattern) {
    const bool well_formed = pattern.size() > 2 && pattern.substr(0, 2) == "#." &&
                             pattern.find_first_not_of('0', 2) == std::string_view::npos;
    if (!well_formed) {
        throw std::invalid_argument("unsupported number pattern");
    }
    return static_cast<int>(pattern.size() - 2);
}

}  // namespace

std::string FormatPattern(float value, std::string_view pattern) {
    const int decimals = PatternDecimals(pattern);
    if (std::string special = NonFiniteText(value); !special.empty()) {
        return special;
    }
    const std::string digits = ScaledDigits(SevenDigitsOf(value), decimals);
    const std::size_t point = digits.size() - static_cast<std::size_t>(decimals);
    const std::size_t first_nonzero = digits.find_first_not_of('0');
    const std::size_t integer_start = first_nonzero < point ? first_nonzero : point;

    std::string text = value < 0 ? "-" : "";
    text.append(digits, integer_start, point - integer_start);
    text += '.';
    text.append(digits, point);
    return text;
}

std::string SingleToText(float value) {
    if (std::string special = NonFiniteText(value); !special.empty()) {
        return special;
    }
    if (value == 0) {
        return "0";
    }
    const SevenDigitForm form = SevenDigitsOf(value);
    std::string digits(form.digits.begin(), form.digits.end());
    digits.erase(digits.find_last_not_of('0') + 1);
    const int length = static_cast<int>(digits.size());

    std::string text = value < 0 ? "-" : "";
    const int exponent = form.point - 1;
    if (exponent >= kSignificantDigits || exponent < -kSignificantDigits) {
        text += digits[0];
        if (length > 1) {
            text += '.';
            text.append(digits, 1);
        }
        const int magnitude = exponent < 0 ? -exponent : exponent;
        text += exponent < 0 ? "E-" : "E+";
        if (magnitude < 10) {
            text += '0';
        }
        text += std::to_string(magnitude);
    } else if (form.point <= 0) {
        text += '.';
        text.append(static_cast<std::size_t>(-form.point), '0');
        text += digits;
    } else if (form.point >= length) {
        text += digits;
        text.append(static_cast<std::size_t>(form.point - length), '0');
    } else {
        text.append(digits, 0, static_cast<std::size_t>(form.point));
        text += '.';
        text.append(digits, static_cast<std::size_t>(form.point));
    }
    return text;
}

std::string PrintNumber(float value) {
    // Built by appending: g++ 12 at -O2 misreads "literal + string" as an overlapping copy
    // (-Wrestrict), and the build keeps its warnings clean.
    std::string text(value < 0 ? "" : " ");
    text += SingleToText(value);
    text += ' ';
    return text;
}

}  // namespace pelagrin
