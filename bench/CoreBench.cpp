// How long the calculator's own work takes on one press of Calculate, so a change that makes
// the window lag behind the diver's typing shows up as a number. bench/run.sh prints these
// against their targets.

#include <benchmark/benchmark.h>

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/CalcValues.h"
#include "core/Calculate.h"
#include "core/NumberFormat.h"
#include "core/Val.h"
#include "core/View.h"

namespace pelagrin {
namespace {

// A window without a screen that keeps what a real one keeps: the two texts and the eight
// captions, overwritten in place as the window's labels are.
class CaptionStore final : public view {
public:
    CaptionStore(std::string depth, std::string o2)
        : depth_(std::move(depth)), o2_(std::move(o2)) {}

    [[nodiscard]] std::string InputText(InputBox box) const override {
        return box == InputBox::txtAD ? depth_ : o2_;
    }
    void SetInputText(InputBox box, std::string_view text) override {
        (box == InputBox::txtAD ? depth_ : o2_) = text;
    }
    void SetCaption(ResultLabel label, std::string_view text) override {
        captions_[static_cast<std::size_t>(label)] = text;
    }
    void FocusDepthBox() override {}
    void ShowMessage(std::string_view /*text*/, MessageStyle /*style*/,
                     std::optional<std::string_view> /*title*/) override {}

    [[nodiscard]] const std::array<std::string, 8>& Captions() const { return captions_; }

private:
    std::string depth_;
    std::string o2_;
    std::array<std::string, 8> captions_;
};

// A whole Calculate on the table's classic dive: every figure worked out, all eight captions
// formatted and set.
// cppcheck-suppress constParameterCallback ; Google Benchmark passes a mutable State
void CalculateAll(benchmark::State& state) {
    CaptionStore window("100", "32");
    CalcValues values;
    for ([[maybe_unused]] auto _ : state) {
        Calculate(window, values);
        benchmark::DoNotOptimize(values);
        benchmark::DoNotOptimize(window.Captions().data());
    }
}
BENCHMARK(CalculateAll)->Name("Calculate");

// Each format on a figure of the kind it shows: an EAD, a depth, a best mix.
// cppcheck-suppress constParameterCallback ; Google Benchmark passes a mutable State
void FormatEach(benchmark::State& state, std::string (*format)(float), float value) {
    for ([[maybe_unused]] auto _ : state) {
        benchmark::DoNotOptimize(value);
        std::string text = format(value);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK_CAPTURE(FormatEach, ead, FormatFixed3, 81.48101F)->Name("FormatFixed3");
BENCHMARK_CAPTURE(FormatEach, depth, FormatFixed1, 100.0F)->Name("FormatFixed1");
BENCHMARK_CAPTURE(FormatEach, best_mix, SingleToText, 34.0F)->Name("SingleToText");
BENCHMARK_CAPTURE(FormatEach, best_mix, PrintNumber, 34.0F)->Name("PrintNumber");

// cppcheck-suppress constParameterCallback ; Google Benchmark passes a mutable State
void ReadDepth(benchmark::State& state) {
    const std::string text = "100";
    for ([[maybe_unused]] auto _ : state) {
        benchmark::DoNotOptimize(text.data());
        benchmark::DoNotOptimize(Val(text));
    }
}
BENCHMARK(ReadDepth)->Name("Val");

}  // namespace
}  // namespace pelagrin
