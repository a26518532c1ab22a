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

// What each result caption says before its figure, on screen and in the log, in the captions'
// order: the order Clear restores them in. Calculate writes the prefix and the figure; Clear
// writes the prefix alone, trailing blank included. (The window's rows are listed in the
// form's description, the record's lines in the log's record.)
inline constexpr std::array<ResultCaption, 8> kCaptionsOrder{{
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
    const auto* found = std::find_if(kCaptionsOrder.begin(), kCaptionsOrder.end(),
                                     [label](const ResultCaption& c) { return c.label == label; });
    return found == kCaptionsOrder.end() ? std::string_view() : found->prefix;
}

}  // namespace pelagrin
