#pragma once

namespace pelagrin {

// The calculation reports its faults the way the hardware does: through the sticky IEEE 754
// status flags. A formula clears them, computes, and tests them at each marked step.

// Forget every fault flagged so far.
void ClearFloatStatus() noexcept;

// Throws RunTimeError if an operation since the last clear divided by zero (DivisionByZero)
// or overflowed or was invalid (Overflow).
void CheckFloatStatus();

// Returns `value` after testing the flags. The value passes through memory first, so the
// optimiser cannot move the arithmetic that produced it past the test (it knows nothing of
// the flags).
double Checked(double value);

// Rounds `value` to the Single `field`, then tests the flags, which now include an overflow
// of that rounding. On a fault the field keeps what the faulted arithmetic produced.
void StoreChecked(float& field, double value);

}  // namespace pelagrin
