#include "core/Calculate.h"

#include <cfloat>
#include <cmath>
#include <string>

#include "core/CalcValues.h"
#include "core/FloatStatus.h"
#include "core/NumberFormat.h"
#include "core/ResultCaptions.h"
#include "core/Val.h"
#include "core/View.h"

// The figures depend on every double operation rounding to double, not to the x87 unit's
// wider registers: with those, 1.4 / 4 x 100 at a depth of 99 fsw would truncate to 34.
static_assert(FLT_EVAL_METHOD == 0, "double arithmetic must round to double (use SSE2)");

namespace pelagrin {
namespace {

// Every figure is worked in double precision from the stored Singles, in exactly the operand
// order below, and rounded to Single only where it is stored. The order is deliberate, not
// style: floating point is not associative, so an algebraically equal form (33 + depth first,
// a fraction multiplied before dividing) rounds differently in the last bits, and now and
// then that moves the third decimal a diver sees and finds in Nitrox.txt. Divers compare
// today's figures with the records they kept, so each must come out as it always has. 0.79,
// 1.4 and 1.6 are the doubles nearest those decimals; 33 fsw make one atmosphere.
constexpr double kFswPerAtm = 33.0;
constexpr double kAirNitrogen = 0.79;
constexpr double kLimit14 = 1.4;
constexpr double kLimit16 = 1.6;

double Widened(float stored) {
    return static_cast<double>(stored);
}

// The box is read before the flags are cleared: the window's own work in handing over the
// text may leave a flag raised, and that is no fault of the diver's number.
void StoreInput(const view& window, InputBox box, float& field) {
    const std::string text = window.InputText(box);
    ClearFloatStatus();
    StoreChecked(field, std::fabs(Val(text)));
}

void Caption(view& window, ResultLabel label, const std::string& figure) {
    std::string text(CaptionPrefix(label));
    text += figure;
    window.SetCaption(label, text);
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

    // Each test reads the box as it is now, on purpose, not once into a copy: what decides a
    // group is whether the diver filled the box, not the figure stored from it (a box of
    // blanks stores 0 yet is filled). Nothing here writes a box, so a copy would answer the
    // same today; reading at each test keeps every group asking the window itself, as its
    // rule is worded, should a command ever change a box on the way.
    const auto filled = [&window](InputBox box) { return !window.InputText(box).empty(); };

    if (filled(InputBox::txtAD) && filled(InputBox::txtO2)) {
        ClearFloatStatus();
        const double product = Checked((1.0 - Widened(values.O2) / 100.0) *
                                       (Widened(values.AD) + kFswPerAtm));
        StoreChecked(values.EAD, product / kAirNitrogen - kFswPerAtm);
        Caption(window, ResultLabel::lblEAD, FormatFixed3(values.EAD));

        ClearFloatStatus();
        StoreChecked(values.PO2,
                     (Widened(values.AD) / kFswPerAtm + 1.0) * (Widened(values.O2) / 100.0));
        Caption(window, ResultLabel::lblPO2, FormatFixed3(values.PO2));

        ClearFloatStatus();
        StoreChecked(values.PN2, ((100.0 - Widened(values.O2)) / 100.0) *
                                     (Widened(values.AD) / kFswPerAtm + 1.0));
        Caption(window, ResultLabel::lblPN2, FormatFixed3(values.PN2));
    }

    if (filled(InputBox::txtO2)) {
        StoreMod(values, kLimit14, values.MOD14);
        Caption(window, ResultLabel::lblMOD14, FormatFixed3(values.MOD14));
        StoreMod(values, kLimit16, values.MOD16);
        Caption(window, ResultLabel::lblMOD16, FormatFixed3(values.MOD16));
    }

    if (!filled(InputBox::txtAD)) {
        return;
    }
    StoreBestMix(values, kLimit14, values.BMX14);
    Caption(window, ResultLabel::lblBMX14, SingleToText(values.BMX14));
    StoreBestMix(values, kLimit16, values.BMX16);
    Caption(window, ResultLabel::lblBMX16, SingleToText(values.BMX16));

    ClearFloatStatus();
    StoreChecked(values.TATA, Widened(values.AD) / kFswPerAtm + 1.0);
    Caption(window, ResultLabel::lblTATA, FormatFixed3(values.TATA));
}

}  // namespace pelagrin
