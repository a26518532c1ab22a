#include "ui/WindowCommands.h"

namespace pelagrin {
namespace {

constexpr const char* kContactEmail = "morvane@pelagrin.org";

}  // namespace

void Clear(view& window) {
    window.SetInputText(InputBox::txtAD, "");
    window.SetInputText(InputBox::txtO2, "");
    window.SetCaption(ResultLabel::lblMOD14, "MOD fsw 1.4 atm = ");
    window.SetCaption(ResultLabel::lblMOD16, "MOD fsw 1.6 atm = ");
    window.SetCaption(ResultLabel::lblEAD, "EAD = ");
    window.SetCaption(ResultLabel::lblPO2, "PP O2 atm = ");
    window.SetCaption(ResultLabel::lblPN2, "PP N2 atm = ");
    window.SetCaption(ResultLabel::lblBMX14, "Best Mix (1.4ATA) = ");
    window.SetCaption(ResultLabel::lblBMX16, "Best Mix (1.6ATA) = ");
    window.SetCaption(ResultLabel::lblTATA, "Total ATA = ");
    window.FocusDepthBox();
}

void About(view& window) {
    window.ShowMessage(std::string("EAD Calculator by Morvane\r\n") + kContactEmail +
                           "\r\nFor Tech Divers!",
                       MessageStyle::MessageInformation, "Pelagrin  Version 1.0");
}

}  // namespace pelagrin
