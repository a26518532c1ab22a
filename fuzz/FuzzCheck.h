#pragma once

// What every fuzz target of the calculator shares: reporting a broken property, which aborts
// with a message (and libFuzzer keeps the input), Val with its status flags checked, and the
// German desktop the targets run on. Each target is one source file that includes this once.

#include <algorithm>
#include <array>
#include <bit>
#include <cfenv>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

#include "core/Val.h"

namespace pelagrin::fuzz {

// `text` with every byte outside printable ASCII, and "\\", written as \xHH.
inline std::string Escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        std::array<char, 8> hex{};
        std::snprintf(hex.data(), hex.size(), "\\x%02X", static_cast<unsigned>(byte));
        out += byte >= 0x20 && byte <= 0x7E && c != '\\' ? std::string(1, c) : hex.data();
    }
    return out;
}

// The value in full (to_chars, which no locale touches) and its bits.
inline std::string Describe(float value) {
    std::array<char, 64> text{};
    const auto written = std::to_chars(text.data(), text.data() + text.size(), value);
    std::array<char, 24> bits{};
    std::snprintf(bits.data(), bits.size(), " (bits %08X)",
                  static_cast<unsigned>(std::bit_cast<std::uint32_t>(value)));
    return std::string(text.data(), written.ptr) + bits.data();
}

[[noreturn]] inline void Fail(std::string_view property, std::string_view detail) {
    std::fprintf(stderr, "\n*** broken: %.*s\n*** %s\n", static_cast<int>(property.size()),
                 property.data(), Escaped(detail).c_str());
    std::abort();
}

// `detail` is text, or a callable that makes it: most details cost far more to build than
// the check, and are only wanted when it fails.
template <typename Detail>
void Require(bool holds, std::string_view property, const Detail& detail) {
    if (!holds) {
        if constexpr (std::is_invocable_v<const Detail&>) {
            Fail(property, detail());
        } else {
            Fail(property, detail);
        }
    }
}

inline bool IsPrintable(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

template <typename Number>
bool SameBits(Number a, Number b) {
    using Bits = std::conditional_t<sizeof(Number) == 4, std::uint32_t, std::uint64_t>;
    return std::bit_cast<Bits>(a) == std::bit_cast<Bits>(b);
}

// Val over an exactly sized copy of `text`, so a read past its end is an AddressSanitizer
// report, with the status flags it leaves checked: only a number beyond the double range may
// raise one (overflow), and then the result is an infinity; nothing else may be signalled.
inline double CheckedVal(std::string_view text) {
    const auto copy = std::make_unique<char[]>(text.size());
    std::copy(text.begin(), text.end(), copy.get());
    const std::string_view exact(copy.get(), text.size());
    std::feclearexcept(FE_ALL_EXCEPT);
    const double value = Val(exact);
    const int raised = std::fetestexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW);
    std::feclearexcept(FE_ALL_EXCEPT);
    Require(!std::isnan(value), "Val never reads a NaN", exact);
    Require(raised == (std::isinf(value) ? FE_OVERFLOW : 0),
            "Val raises overflow exactly when the number is beyond the double range, and no "
            "other fault",
            exact);
    return value;
}

}  // namespace pelagrin::fuzz

// NOLINTNEXTLINE(misc-definitions-in-headers): each target includes this header once
extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    // A comma-decimal desktop, so anything that follows the user's number format shows up:
    // glibc's name for it, then the Windows runtime's.
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
        std::setlocale(LC_ALL, "German_Germany.1252");
    }
    return 0;
}
