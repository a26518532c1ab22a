// Whatever text a diver can type or paste into a box, read by Val, against a second reader
// written apart from it: the same double, bit for bit, and no status flag but overflow.

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "FuzzCheck.h"

namespace pelagrin::fuzz {
namespace {

// What Val must read, worked out another way: the extent of the number by searching for the
// ends of its parts, the in-range value by from_chars over that extent, and, for a number
// beyond the double range, infinity if its leading digit stands at 10^0 or above, else zero.
double ExpectedVal(std::string_view text) {
    constexpr std::string_view kDigits = "0123456789";
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) {
        return 0.0;
    }
    std::string_view rest = text.substr(start);
    const bool negative = rest.front() == '-';
    if (rest.front() == '+' || rest.front() == '-') {
        rest.remove_prefix(1);
    }
    const std::size_t integer_end = std::min(rest.find_first_not_of(kDigits), rest.size());
    std::size_t end = integer_end;
    if (end < rest.size() && rest[end] == '.') {
        end = std::min(rest.find_first_not_of(kDigits, end + 1), rest.size());
    }
    std::string digits(rest.substr(0, end));
    std::erase(digits, '.');
    if (digits.empty()) {
        return 0.0;  // no digit before the exponent: not a number
    }
    long long exponent = 0;
    if (end + 1 < rest.size() && (rest[end] == 'e' || rest[end] == 'E')) {
        std::size_t exponent_start = end + 1;
        if (rest[exponent_start] == '+' || rest[exponent_start] == '-') {
            ++exponent_start;
        }
        const std::size_t exponent_end =
            std::min(rest.find_first_not_of(kDigits, exponent_start), rest.size());
        if (exponent_end > exponent_start) {
            std::string_view exponent_text = rest.substr(end + 1, exponent_end - end - 1);
            if (exponent_text.front() == '+') {
                exponent_text.remove_prefix(1);
            }
            const auto read = std::from_chars(
                exponent_text.data(), exponent_text.data() + exponent_text.size(), exponent);
            // Any exponent past a trillion means the same as a trillion, and keeps the sum
            // with the digits' own power of ten from overflowing.
            constexpr long long kBeyondAnyDouble = 1'000'000'000'000LL;
            if (read.ec == std::errc::result_out_of_range ||
                std::llabs(exponent) > kBeyondAnyDouble) {
                exponent = exponent_text.front() == '-' ? -kBeyondAnyDouble : kBeyondAnyDouble;
            }
            end = exponent_end;
        }
    }
    double magnitude = 0.0;
    const auto read = std::from_chars(rest.data(), rest.data() + end, magnitude);
    Require(read.ec == std::errc::result_out_of_range ||
                (read.ec == std::errc{} && read.ptr == rest.data() + end),
            "the harness finds the extent of the number", text);
    if (read.ec == std::errc::result_out_of_range) {
        // The power of ten of the leading nonzero digit.
        const std::size_t first_nonzero = digits.find_first_not_of('0');
        const long long power = static_cast<long long>(integer_end) - 1 -
                                static_cast<long long>(first_nonzero) + exponent;
        const bool huge = first_nonzero != std::string::npos && power >= 0;
        magnitude = huge ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -magnitude : magnitude;
}

void CheckVal(std::string_view text) {
    const double value = CheckedVal(text);
    Require(SameBits(value, ExpectedVal(text)),
            "Val reads the double nearest the leading decimal number", text);
    // Leading blanks are skipped, and nothing after the number is read.
    Require(SameBits(CheckedVal(" \t " + std::string(text)), value), "Val skips leading blanks",
            text);
    Require(SameBits(CheckedVal(std::string(text) + "x"), value),
            "Val stops at a character that cannot continue the number", text);
}

}  // namespace
}  // namespace pelagrin::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pelagrin::fuzz::CheckVal(std::string(data, data + size));
    return 0;
}
