#include "core/Val.h"

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>
#include <system_error>

#include "core/FloatStatus.h"

namespace pelagrin {
namespace {

constexpr bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The extent of a decimal number at the start of `text`, with what is needed to tell, when
// it does not fit a double, whether it is too large or too small. Counts and powers are 64-bit
// on every system (a Windows `long` has 32), so a typed exponent past 2^31 reads the same
// number there as here.
struct NumberExtent {
    std::size_t length = 0;    // 0: no number here
    std::int64_t scale = 0;    // rough power of ten of the leading nonzero digit
    bool all_zero = true;      // no nonzero digit at all
};

NumberExtent ScanNumber(std::string_view text) {
    NumberExtent n;
    std::size_t i = 0;
    std::int64_t int_digits = 0;      // significant digits before the point
    std::int64_t fraction_zeros = 0;  // zeros after the point before the first nonzero digit
    bool any_digit = false;

    for (; i < text.size() && IsDigit(text[i]); ++i) {
        any_digit = true;
        if (text[i] != '0' || !n.all_zero) {
            n.all_zero = false;
            ++int_digits;
        }
    }
    if (i < text.size() && text[i] == kDecimalPoint) {
        std::size_t j = i + 1;
        for (; j < text.size() && IsDigit(text[j]); ++j) {
            any_digit = true;
            if (n.all_zero) {
                if (text[j] == '0') {
                    ++fraction_zeros;
                } else {
                    n.all_zero = false;
                }
            }
        }
        if (any_digit) {
            i = j;
        }
    }
    if (!any_digit) {
        return {};
    }

    std::int64_t exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool negative = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            negative = text[j] == '-';
            ++j;
        }
        if (j < text.size() && IsDigit(text[j])) {
            // Far beyond any double's range, and far from the type's limit: once reached, more
            // digits change nothing.
            constexpr std::int64_t kSaturated = 1'000'000'000;
            for (; j < text.size() && IsDigit(text[j]); ++j) {
                if (exponent < kSaturated) {
                    exponent = exponent * 10 + (text[j] - '0');
                }
            }
            if (negative) {
                exponent = -exponent;
            }
            i = j;
        }
    }

    n.length = i;
    n.scale = (int_digits > 0 ? int_digits - 1 : -(fraction_zeros + 1)) + exponent;
    return n;
}

}  // namespace

double Val(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::string_view rest = text.substr(i);
    const NumberExtent n = ScanNumber(rest);
    if (n.length == 0) {
        return 0.0;
    }

    double magnitude = 0.0;
    std::from_chars_result read{};
    {
        // The conversion itself must leave the status as it found it: only a result beyond
        // the double range counts as a fault of reading the number.
        const SavedFloatStatus status;
        read = std::from_chars(rest.data(), rest.data() + n.length, magnitude,
                               std::chars_format::general);
    }

    if (read.ec == std::errc::result_out_of_range) {
        if (n.all_zero || n.scale < 0) {
            magnitude = 0.0;
        } else {
            RaiseOverflow();
            magnitude = std::numeric_limits<double>::infinity();
        }
    }
    return negative ? -magnitude : magnitude;
}

}  // namespace pelagrin
