#pragma once

#include "core/CalcValues.h"
#include "core/View.h"

namespace pelagrin {

// The Calculate command: reads the depth and O2 texts, stores the figures they allow in
// `values` and writes the matching captions, one by one.
//
// Depth and O2 are always stored (an empty text reads 0). EAD, PP O2 and PP N2 need both
// texts; the two MODs need the O2 text; the best mixes and total ATA need the depth text.
// Figures whose input is missing keep their previous value and caption.
//
// Throws RunTimeError (DivisionByZero or Overflow) at the step where the arithmetic faults:
// the figures and captions already set stay, the faulted field keeps what the arithmetic
// produced, its caption and everything after it are left untouched.
void Calculate(view& window, CalcValues& values);

}  // namespace pelagrin
