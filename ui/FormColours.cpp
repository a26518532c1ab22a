#include "ui/FormColours.h"

#include <algorithm>
#include <cstdint>
#include <cmath>

#include "ui/FormDescription.h"

namespace pelagrin::form {
namespace {

// The share of white light a colour sends out, from its sRGB components.
double Luminance(Rgb colour) {
    const auto linear = [](std::uint8_t component) {
        const double c = component / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.red) + 0.7152 * linear(colour.green) +
           0.0722 * linear(colour.blue);
}

}  // namespace

double ContrastRatio(Rgb first, Rgb second) {
    const double a = Luminance(first);
    const double b = Luminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

Colours HighContrastColours(const SystemColours& system) {
    if (ContrastRatio(system.window_text, system.window) >= kHighContrastRatio) {
        return {system.window_text, system.window};
    }
    return {kWhite, kBlack};
}

Colours ControlColours(const Control& control, const SystemColours& system) {
    return system.high_contrast ? HighContrastColours(system) : Colours{control.colour, kBlack};
}

Rgb WindowBackground(const SystemColours& system) {
    return system.high_contrast ? HighContrastColours(system).background : kBlack;
}

}  // namespace pelagrin::form
