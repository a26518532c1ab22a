// Whatever a diver can type or paste into the two boxes, run through everything that turns
// it into figures, captions and log lines, with the properties a diver relies on checked on
// every run. Any broken property aborts with a message, and libFuzzer keeps the input.
//
// The input is split at its first newline: the depth text before it, the O2 text after it
// (which may hold further newlines and any other byte). Without a newline the whole input is
// the depth text and the O2 box is empty. The first four bytes also serve, read as the bits
// of a Single, to put every Single the formats may meet (NaNs, subnormals, -0) before them.

#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <cfenv>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <iterator>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/CalcValues.h"
#include "core/Calculate.h"
#include "core/NumberFormat.h"
#include "core/RunTimeError.h"
#include "core/Val.h"
#include "log/LogRecord.h"
#include "support/RecordingView.h"

namespace pelagrin {
namespace {

using testing::RecordingView;

// ---------------------------------------------------------------------------------------
// Reporting

std::string Escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte <= 0x7E && c != '\\') {
            out += c;
        } else {
            std::array<char, 8> hex{};
            std::snprintf(hex.data(), hex.size(), "\\x%02X", static_cast<unsigned>(byte));
            out += hex.data();
        }
    }
    return out;
}

// The value in full (to_chars, so the German locale the fuzzer runs in leaves it alone) and
// its bits.
std::string Describe(float value) {
    std::array<char, 64> text{};
    const std::to_chars_result written =
        std::to_chars(text.data(), text.data() + text.size(), value);
    std::array<char, 24> bits{};
    std::snprintf(bits.data(), bits.size(), " (bits %08X)",
                  static_cast<unsigned>(std::bit_cast<std::uint32_t>(value)));
    return std::string(text.data(), written.ptr) + bits.data();
}

[[noreturn]] void Fail(std::string_view property, std::string_view detail) {
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

bool IsPrintable(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

bool SameBits(float a, float b) {
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

bool SameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// ---------------------------------------------------------------------------------------
// Val

// Val over an exactly sized copy of `text`, so a read past its end is an AddressSanitizer
// report, with the status flags it leaves checked: only a number beyond the double range may
// raise one (overflow), and then the result is an infinity; nothing else may be signalled.
double CheckedVal(std::string_view text) {
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

// ---------------------------------------------------------------------------------------
// Number formats

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
    // form: d.dddddde[+-]XX
    SevenDigits seven;
    std::from_chars(form.data(), form.data() + form.size(), seven.nearest);
    const std::string digits = std::string(form.substr(0, 1)) + std::string(form.substr(2, 6));
    std::from_chars(digits.data(), digits.data() + digits.size(), seven.mantissa);
    std::string_view exponent_text = form.substr(form.find('e') + 1);
    if (exponent_text.front() == '+') {
        exponent_text.remove_prefix(1);
    }
    int exponent = 0;
    std::from_chars(exponent_text.data(), exponent_text.data() + exponent_text.size(), exponent);
    seven.exponent = exponent - 6;
    if (value < 0) {
        seven.nearest = -seven.nearest;
    }
    return seven;
}

std::string NonFiniteText(float value) {
    if (std::isnan(value)) {
        return "NaN";
    }
    return value < 0 ? "-Infinity" : "Infinity";
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
        std::uint64_t unit = 1;
        for (int i = 0; i < -shift; ++i) {
            unit *= 10;
        }
        std::uint64_t whole = seven.mantissa / unit;
        if (2 * (seven.mantissa % unit) >= unit) {
            ++whole;
        }
        digits = std::to_string(whole);
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

    std::string_view body = text;
    if (!body.empty() && body.front() == '-') {
        body.remove_prefix(1);
    }
    Require((body.size() != text.size()) == (value < 0),
            "SingleToText has a \"-\" exactly on a negative value", detail);
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
    std::string digits;
    std::copy_if(number.begin(), number.end(), std::back_inserter(digits),
                 [](char c) { return c != '.'; });
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

// ---------------------------------------------------------------------------------------
// Calculate

enum class Needs { Nothing, Both, O2Text, DepthText };

struct Figure {
    const char* name = nullptr;
    float CalcValues::*field = nullptr;
    Needs needs = Needs::Nothing;
    std::optional<ResultLabel> label;
    const char* prefix = nullptr;
    std::string (*format)(float) = nullptr;
};

// In the order Calculate works them out.
const std::array<Figure, 10> kFigures = {{
    {"AD", &CalcValues::AD, Needs::Nothing, std::nullopt, "", nullptr},
    {"O2", &CalcValues::O2, Needs::Nothing, std::nullopt, "", nullptr},
    {"EAD", &CalcValues::EAD, Needs::Both, ResultLabel::lblEAD, "EAD = ", FormatFixed3},
    {"PO2", &CalcValues::PO2, Needs::Both, ResultLabel::lblPO2, "PP O2 atm = ", FormatFixed3},
    {"PN2", &CalcValues::PN2, Needs::Both, ResultLabel::lblPN2, "PP N2 atm = ", FormatFixed3},
    {"MOD14", &CalcValues::MOD14, Needs::O2Text, ResultLabel::lblMOD14,
     "MOD fsw 1.4 atm = ", FormatFixed3},
    {"MOD16", &CalcValues::MOD16, Needs::O2Text, ResultLabel::lblMOD16,
     "MOD fsw 1.6 atm = ", FormatFixed3},
    {"BMX14", &CalcValues::BMX14, Needs::DepthText, ResultLabel::lblBMX14,
     "Best Mix (1.4ATA) = ", SingleToText},
    {"BMX16", &CalcValues::BMX16, Needs::DepthText, ResultLabel::lblBMX16,
     "Best Mix (1.6ATA) = ", SingleToText},
    {"TATA", &CalcValues::TATA, Needs::DepthText, ResultLabel::lblTATA,
     "Total ATA = ", FormatFixed3},
}};

struct Inputs {
    std::string depth;
    std::string o2;
};

// The figures Calculate works out for these inputs, in order.
std::vector<const Figure*> StepsFor(const Inputs& in) {
    const bool depth = !in.depth.empty();
    const bool o2 = !in.o2.empty();
    std::vector<const Figure*> steps;
    for (const Figure& figure : kFigures) {
        const bool runs =
            figure.needs == Needs::Nothing || (figure.needs == Needs::Both && depth && o2) ||
            (figure.needs == Needs::O2Text && o2) || (figure.needs == Needs::DepthText && depth);
        if (runs) {
            steps.push_back(&figure);
        }
    }
    return steps;
}

struct Outcome {
    RecordingView window;
    CalcValues values;
    std::optional<ErrorKind> fault;
};

void Run(Outcome& run) {
    try {
        Calculate(run.window, run.values);
    } catch (const RunTimeError& error) {
        run.fault = error.Kind();
    } catch (const std::exception& error) {
        Fail("Calculate ends only in a RunTimeError", error.what());
    }
}

Outcome RunFresh(const Inputs& in, const CalcValues& start) {
    Outcome run{RecordingView(in.depth, in.o2), start, std::nullopt};
    Run(run);
    return run;
}

// The figures a run worked out or faulted on: the steps up to and including `stop`.
std::vector<const Figure*> Touched(const Inputs& in, std::size_t stop) {
    std::vector<const Figure*> steps = StepsFor(in);
    steps.resize(std::min(stop + 1, steps.size()));
    return steps;
}

bool Contains(const std::vector<const Figure*>& figures, const Figure& figure) {
    return std::find(figures.begin(), figures.end(), &figure) != figures.end();
}

std::string FaultName(const std::optional<ErrorKind>& fault) {
    if (!fault) {
        return "none";
    }
    switch (*fault) {
        case ErrorKind::DivisionByZero:
            return "DivisionByZero";
        case ErrorKind::Overflow:
            return "Overflow";
        case ErrorKind::FileError:
            return "FileError";
    }
    return "unknown";
}

std::string DescribeRun(const Inputs& in, const Outcome& run) {
    std::string text =
        "depth \"" + in.depth + "\", O2 \"" + in.o2 + "\"; fault " + FaultName(run.fault);
    for (const Figure& figure : kFigures) {
        text += std::string("; ") + figure.name + " " + Describe(run.values.*figure.field);
    }
    return text;
}

// What the arithmetic allows, from a record that was all zero. Every input magnitude and
// every formula's double result is finite whatever was typed, so a step can fault only by
// rounding to a Single beyond its range, which leaves that field infinite; the one exception
// is the MOD of a stored O2 of exactly 0, a division by zero (infinite as well). Hence: the
// first infinite field in calculation order is where the run stopped, with captions written
// for exactly the figures before it and nothing after it touched.
std::size_t CheckFaultAndCaptions(const Inputs& in, const Outcome& run) {
    const auto detail = [&] { return DescribeRun(in, run); };
    const std::vector<const Figure*> steps = StepsFor(in);
    std::size_t stop = 0;
    while (stop < steps.size() && std::isfinite(run.values.*steps[stop]->field)) {
        ++stop;
    }

    std::vector<ResultLabel> expected_order;
    for (std::size_t i = 0; i < stop; ++i) {
        if (steps[i]->label) {
            expected_order.push_back(*steps[i]->label);
        }
    }
    Require(run.window.caption_order == expected_order,
            "captions are written one by one for exactly the figures worked out before a fault",
            detail);

    if (stop == steps.size()) {
        Require(!run.fault, "a run whose figures all fit a Single ends without a fault", detail);
    } else {
        Require(run.fault.has_value(), "a figure beyond the Single range is a fault", detail);
        const bool zero_o2_mod = steps[stop]->field == &CalcValues::MOD14 && run.values.O2 == 0;
        Require(*run.fault == (zero_o2_mod ? ErrorKind::DivisionByZero : ErrorKind::Overflow),
                "a division by zero is the MOD of a stored O2 of 0, any other fault an overflow",
                detail);
        Require(!zero_o2_mod || run.values.MOD14 > 0, "the MOD of no oxygen is +Infinity", detail);
    }

    const std::vector<const Figure*> touched = Touched(in, stop);
    for (const Figure& figure : kFigures) {
        Require(Contains(touched, figure) || SameBits(run.values.*figure.field, 0.0F),
                "a figure not worked out keeps its earlier value", detail);
        Require(!std::isnan(run.values.*figure.field), "no figure is ever NaN", detail);
    }

    // What the diver reads is what was stored, and what the log will write.
    for (std::size_t i = 0; i < stop; ++i) {
        const Figure& figure = *steps[i];
        if (figure.label) {
            const std::string caption = run.window.Caption(*figure.label);
            Require(IsPrintable(caption), "a caption is printable ASCII", caption);
            Require(caption == figure.prefix + figure.format(run.values.*figure.field),
                    "a caption shows the stored figure",
                    [&] { return detail() + "; caption " + caption; });
        }
    }
    return stop;
}

// The gas laws the figures stand for, checked on a run without a fault. The tolerances cover
// the rounding of each figure to a Single (2^-24 relative) and nothing like a wrong constant,
// operand or limit.
void CheckGasLaws(const Inputs& in, const Outcome& run) {
    if (run.fault) {
        return;
    }
    const auto detail = [&] { return DescribeRun(in, run); };
    const CalcValues& v = run.values;
    const double ad = v.AD;
    const double fo2 = static_cast<double>(v.O2) / 100.0;
    constexpr double kTolerance = 1e-6;

    if (!in.depth.empty()) {
        const double ata = v.TATA;
        Require(ata >= 1.0, "the total pressure is at least one atmosphere", detail);
        const std::array<std::pair<float, double>, 2> best = {{{v.BMX14, 140.0}, {v.BMX16, 160.0}}};
        for (const auto& [mix, limit] : best) {
            Require(mix >= 0 && std::trunc(mix) == mix, "a best mix is a whole percent", detail);
            Require(mix * ata <= limit * (1 + kTolerance),
                    "a best mix never passes its O2 limit at the depth", detail);
            Require((mix + 1.0) * ata > limit * (1 - kTolerance),
                    "a best mix is the richest whole percent within its limit", detail);
        }
        Require(v.BMX14 <= v.BMX16, "the 1.6 atm best mix is at least the 1.4 atm one", detail);
    }
    if (!in.o2.empty() && v.O2 > 0) {
        const std::array<std::pair<float, double>, 2> mods = {{{v.MOD14, 1.4}, {v.MOD16, 1.6}}};
        for (const auto& [mod, limit] : mods) {
            const double po2_at_mod = (mod / 33.0 + 1.0) * fo2;
            Require(std::fabs(po2_at_mod - limit) <= kTolerance * (limit + fo2),
                    "at its MOD the mix breathes exactly its O2 limit", detail);
        }
        Require(v.MOD14 <= v.MOD16, "the 1.6 atm MOD is at least the 1.4 atm one", detail);
    }
    if (!in.depth.empty() && !in.o2.empty()) {
        const double sum = static_cast<double>(v.PO2) + v.PN2;
        Require(
            std::fabs(sum - v.TATA) <= kTolerance * (std::fabs(v.PO2) + std::fabs(v.PN2) + v.TATA),
            "the partial pressures add up to the total pressure", detail);
        const double nitrogen_in_mix = (ad + 33.0) * (1.0 - fo2);
        const double nitrogen_in_air = (v.EAD + 33.0) * 0.79;
        Require(std::fabs(nitrogen_in_air - nitrogen_in_mix) <=
                    kTolerance * std::max(std::fabs(nitrogen_in_mix), 33.0),
                "air at the EAD has the nitrogen pressure of the mix at the depth", detail);
    }
}

// Same texts, same figures: from a record holding other figures and with every status flag
// raised beforehand, the figures worked out and the captions match bit for bit, and the rest
// keep what they held; and a second Calculate over the first changes nothing.
void CheckRepeatable(const Inputs& in, const Outcome& first, std::size_t stop) {
    const auto detail = [&] { return DescribeRun(in, first); };
    const std::vector<const Figure*> touched = Touched(in, stop);

    constexpr float kEarlier = -12345.678F;
    CalcValues earlier;
    for (const Figure& figure : kFigures) {
        earlier.*figure.field = kEarlier;
    }
    std::feraiseexcept(FE_ALL_EXCEPT);
    const Outcome other = RunFresh(in, earlier);
    Require(other.fault == first.fault, "the same texts end in the same fault", detail);
    Require(other.window.captions == first.window.captions &&
                other.window.caption_order == first.window.caption_order,
            "the same texts give the same captions", detail);
    for (const Figure& figure : kFigures) {
        Require(SameBits(other.values.*figure.field,
                         Contains(touched, figure) ? first.values.*figure.field : kEarlier),
                "the same texts give the same figures, bit for bit", detail);
    }

    Outcome again = first;
    again.window.caption_order.clear();
    again.fault.reset();
    Run(again);
    Require(again.fault == first.fault && again.window.captions == first.window.captions &&
                again.window.caption_order == first.window.caption_order,
            "Calculate pressed again gives the same captions and fault", detail);
    for (const Figure& figure : kFigures) {
        Require(SameBits(again.values.*figure.field, first.values.*figure.field),
                "Calculate pressed again leaves the figures as they were", detail);
    }
}

// ---------------------------------------------------------------------------------------
// The log

void CheckLogRecord(const Inputs& in, const CalcValues& values) {
    const std::string record = LogRecord(in.depth, in.o2, values);
    Require(record.size() >= 2 && record.ends_with("\r\n"), "a log record ends in CR LF", record);
    std::size_t start = 0;
    while (start < record.size()) {
        const std::size_t end = record.find("\r\n", start);
        const std::string_view line(record.data() + start, end - start);
        Require(IsPrintable(line), "every log line is printable ASCII", record);
        start = end + 2;
    }
    const std::string sample =
        LogRecord(in.depth.empty() ? "" : "1", in.o2.empty() ? "" : "1", values);
    Require(record == sample,
            "the log writes the stored figures: the box texts only decide whether it does",
            [&] { return record + " versus " + sample; });
}

void FuzzOne(const std::string& input) {
    const std::size_t newline = input.find('\n');
    const Inputs in = newline == std::string::npos
                          ? Inputs{input, ""}
                          : Inputs{input.substr(0, newline), input.substr(newline + 1)};

    CheckVal(in.depth);
    CheckVal(in.o2);

    const Outcome first = RunFresh(in, CalcValues{});
    const std::size_t stop = CheckFaultAndCaptions(in, first);
    CheckGasLaws(in, first);
    CheckRepeatable(in, first, stop);
    CheckLogRecord(in, first.values);

    std::vector<float> singles = {static_cast<float>(CheckedVal(in.depth)),
                                  static_cast<float>(CheckedVal(in.o2))};
    std::transform(kFigures.begin(), kFigures.end(), std::back_inserter(singles),
                   [&first](const Figure& figure) { return first.values.*figure.field; });
    if (input.size() >= sizeof(std::uint32_t)) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, input.data(), sizeof bits);
        singles.push_back(std::bit_cast<float>(bits));
    }
    for (const float value : singles) {
        CheckFormats(value);
    }
    std::feclearexcept(FE_ALL_EXCEPT);
}

}  // namespace
}  // namespace pelagrin

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    // A comma-decimal desktop, so anything that follows the user's number format shows up.
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pelagrin::FuzzOne(std::string(data, data + size));
    return 0;
}
