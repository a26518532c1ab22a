#include "core/Calculate.h"

#include <cmath>
#include <string>

#include "core/FloatStatus.h"
#include "core/NumberFormat.h"
#include "core/Val.h"

namespace pelagrin {
namespace {

// Every figure is worked in double precision from the stored Singles, in exactly the operand
// order below, and rounded to Single only where it is stored. 0.79, 1.4 and 1.6 are the
// doubles nearest those decimals; 33 fsw make one atmosphere.
constexpr double kFswPerAtm = 33.0;
constexpr double kAirNitrogen = 0.79;
constexpr double kLimit14 = 1.4;
constexpr double kLimit16 = 1.6;

double Widened(float stored) {
    return static_cast<double>(stored);
}

void StoreInput(view& window, InputBox box, float& field) {
    ClearFloatStatus();
    StoreChecked(field, std::fabs(Val(window.InputText(box))));
}

void CaptionFixed3(view& window, ResultLabel label, const char* prefix, float value) {
    window.SetCaption(label, prefix + FormatFixed3(value));
}

// Best mix: the whole percent of O2 that reaches `limit` atm at the depth, truncated from
// the double product, so it never rounds up into a richer (more toxic) mix.
void StoreBestMix(const CalcValues& values, double limit, float& field) {
    ClearFloatStatus();
    const double ata = Checked(Widened(values.AD) / kFswPerAtm + 1.0);
    const double x = Checked((limit / ata) * 100.0);
    field = static_cast<float>(std::trunc(x));
}

void StoreMod(const CalcValues& values, double limit, float& field) {
    ClearFloatStatus();
    const double fraction = Checked(Widened(values.O2) / 100.0);
    StoreChecked(field, (limit / fraction - 1.0) * kFswPerAtm);
}

}  // namespace

void Calculate(view& window, CalcValues& values) {
    StoreInput(window, InputBox::txtAD, values.AD);
    StoreInput(window, InputBox::txtO2, values.O2);

    // Each test reads the box as it is now.
    const auto filled = [&window](InputBox box) { return !window.InputText(box).empty(); };

    if (filled(InputBox::txtAD) && filled(InputBox::txtO2)) {
        ClearFloatStatus();
        const double product = Checked((1.0 - Widened(values.O2) / 100.0) *
                                       (Widened(values.AD) + kFswPerAtm));
        StoreChecked(values.EAD, product / kAirNitrogen - kFswPerAtm);
        CaptionFixed3(window, ResultLabel::lblEAD, "EAD = ", values.EAD);

        ClearFloatStatus();
        StoreChecked(values.PO2,
                     (Widened(values.AD) / kFswPerAtm + 1.0) * (Widened(values.O2) / 100.0));
        CaptionFixed3(window, ResultLabel::lblPO2, "PP O2 atm = ", values.PO2);

        ClearFloatStatus();
        StoreChecked(values.PN2, ((100.0 - Widened(values.O2)) / 100.0) *
                                     (Widened(values.AD) / kFswPerAtm + 1.0));
        CaptionFixed3(window, ResultLabel::lblPN2, "PP N2 atm = ", values.PN2);
    }

    if (filled(InputBox::txtO2)) {
        StoreMod(values, kLimit14, values.MOD14);
        CaptionFixed3(window, ResultLabel::lblMOD14, "MOD fsw 1.4 atm = ", values.MOD14);
        StoreMod(values, kLimit16, values.MOD16);
        CaptionFixed3(window, ResultLabel::lblMOD16, "MOD fsw 1.6 atm = ", values.MOD16);
    }

    if (!filled(InputBox::txtAD)) {
        return;
    }
    StoreBestMix(values, kLimit14, values.BMX14);
    window.SetCaption(ResultLabel::lblBMX14, "Best Mix (1.4ATA) = " + SingleToText(values.BMX14));
    StoreBestMix(values, kLimit16, values.BMX16);
    window.SetCaption(ResultLabel::lblBMX16, "Best Mix (1.6ATA) = " + SingleToText(values.BMX16));

    ClearFloatStatus();
    StoreChecked(values.TATA, Widened(values.AD) / kFswPerAtm + 1.0);
    CaptionFixed3(window, ResultLabel::lblTATA, "Total ATA = ", values.TATA);
}

}  // namespace pelagrin
