#pragma once

#include <algorithm>
#include <array>
#include <string_view>

#include "core/View.h"

namespace pelagrin {

struct ResultCaption {
    ResultLabel label;
    std::string_view prefix;
};

// What each result caption says before its figure, on screen and in the log, in the order
// Clear restores them. Calculate writes the prefix and the figure; Clear writes the prefix
// alone, trailing blank included.
inline constexpr std::array<ResultCaption, 8> kResultCaptions{{
    {ResultLabel::lblMOD14, "MOD fsw 1.4 atm = "},
    {ResultLabel::lblMOD16, "MOD fsw 1.6 atm = "},
    {ResultLabel::lblEAD, "EAD = "},
    {ResultLabel::lblPO2, "PP O2 atm = "},
    {ResultLabel::lblPN2, "PP N2 atm = "},
    {ResultLabel::lblBMX14, "Best Mix (1.4ATA) = "},
    {ResultLabel::lblBMX16, "Best Mix (1.6ATA) = "},
    {ResultLabel::lblTATA, "Total ATA = "},
}};

constexpr std::string_view CaptionPrefix(ResultLabel label) {
    const auto* found = std::find_if(kResultCaptions.begin(), kResultCaptions.end(),
                                     [label](const ResultCaption& c) { return c.label == label; });
    return found == kResultCaptions.end() ? std::string_view() : found->prefix;
}

}  // namespace pelagrin
