// Whatever a diver can type or paste into the two boxes, run through Calculate and the log
// record, with the properties a diver relies on checked on every run. The input is split at
// its first newline: the depth text before it, the O2 text after it (further newlines and any
// byte included); without a newline, the whole input is the depth text and the O2 box empty.

#include <algorithm>
#include <array>
#include <cfenv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "FuzzCheck.h"
#include "core/CalcValues.h"
#include "core/Calculate.h"
#include "core/NumberFormat.h"
#include "core/RunTimeError.h"
#include "core/View.h"
#include "log/LogRecord.h"
#include "support/RecordingView.h"

namespace pelagrin::fuzz {
namespace {

using testing::RecordingView;

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
        if (figure.needs == Needs::Nothing || (figure.needs == Needs::Both && depth && o2) ||
            (figure.needs == Needs::O2Text && o2) || (figure.needs == Needs::DepthText && depth)) {
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

Outcome RunFresh(const Inputs& in, const CalcValues& start) {
    Outcome run{RecordingView(in.depth, in.o2), start, std::nullopt};
    try {
        Calculate(run.window, run.values);
    } catch (const RunTimeError& error) {
        run.fault = error.Kind();
    } catch (const std::exception& error) {
        Fail("Calculate ends only in a RunTimeError", error.what());
    }
    return run;
}

bool Contains(const std::vector<const Figure*>& figures, const Figure& figure) {
    return std::find(figures.begin(), figures.end(), &figure) != figures.end();
}

std::string DescribeRun(const Inputs& in, const Outcome& run) {
    constexpr std::array<const char*, 3> kFaults = {"DivisionByZero", "Overflow", "FileError"};
    std::string text = "depth \"" + in.depth + "\", O2 \"" + in.o2 + "\"; fault " +
                       (run.fault ? kFaults.at(static_cast<std::size_t>(*run.fault)) : "none");
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
// for exactly the figures before it and nothing after it touched. Returns the figures the run
// worked out or faulted on.
std::vector<const Figure*> CheckFaultAndCaptions(const Inputs& in, const Outcome& run) {
    const auto detail = [&] { return DescribeRun(in, run); };
    std::vector<const Figure*> steps = StepsFor(in);
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

    std::vector<const Figure*> touched = steps;
    touched.resize(std::min(stop + 1, steps.size()));
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
    return touched;
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
        const double nitrogen_in_mix = (v.AD + 33.0) * (1.0 - fo2);
        const double nitrogen_in_air = (v.EAD + 33.0) * 0.79;
        Require(std::fabs(nitrogen_in_air - nitrogen_in_mix) <=
                    kTolerance * std::max(std::fabs(nitrogen_in_mix), 33.0),
                "air at the EAD has the nitrogen pressure of the mix at the depth", detail);
    }
}

// Same texts, same figures: from a record holding other figures (the ones Calculate pressed
// again would start from, say) and with every status flag raised beforehand, the figures
// worked out and the captions match bit for bit, and the rest keep what they held.
void CheckRepeatable(const Inputs& in, const Outcome& first,
                     const std::vector<const Figure*>& touched) {
    const auto detail = [&] { return DescribeRun(in, first); };

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
}

// ---------------------------------------------------------------------------------------
// The log

void CheckLogRecord(const Inputs& in, const CalcValues& values) {
    const std::string record = LogRecord(in.depth, in.o2, values);
    Require(record.size() >= 2 && record.ends_with("\r\n"), "a log record ends in CR LF", record);
    for (std::size_t start = 0, end = 0; start < record.size(); start = end + 2) {
        end = record.find("\r\n", start);
        Require(IsPrintable(std::string_view(record).substr(start, end - start)),
                "every log line is printable ASCII", record);
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
    const Outcome first = RunFresh(in, CalcValues{});
    const std::vector<const Figure*> touched = CheckFaultAndCaptions(in, first);
    CheckGasLaws(in, first);
    CheckRepeatable(in, first, touched);
    CheckLogRecord(in, first.values);
    std::feclearexcept(FE_ALL_EXCEPT);
}

}  // namespace
}  // namespace pelagrin::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pelagrin::fuzz::FuzzOne(std::string(data, data + size));
    return 0;
}
