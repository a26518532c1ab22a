#pragma once

namespace pelagrin {

// The calculation reports its faults the way the hardware does: through the sticky IEEE 754
// status flags. A formula clears them, computes, and tests them at each marked step.

// Forget every fault flagged so far.
void ClearFloatStatus() noexcept;

// Returns `value` after testing the flags: throws RunTimeError if an operation since the last
// clear divided by zero (DivisionByZero) or overflowed or was invalid (Overflow). The value passes through memory first, so the
// optimiser cannot move the arithmetic that produced it past the test (it knows nothing of
// the flags).
double Checked(double value);

// Rounds `value` to the Single `field`, then tests the flags, which now include an overflow
// of that rounding. On a fault the field keeps what the faulted arithmetic produced.
void StoreChecked(float& field, double value);

// Flags the overflow of an operation whose result is beyond the double range.
void RaiseOverflow() noexcept;

// The flags as they stand, so that work which must not count as a fault of the formula
// (reading a number's digits) can put them back as it found them.
class SavedFloatStatus {
public:
    SavedFloatStatus() noexcept;
    ~SavedFloatStatus();
    SavedFloatStatus(const SavedFloatStatus&) = delete;
    SavedFloatStatus& operator=(const SavedFloatStatus&) = delete;
    SavedFloatStatus(SavedFloatStatus&&) = delete;
    SavedFloatStatus& operator=(SavedFloatStatus&&) = delete;

private:
    unsigned flags_;
};

}  // namespace pelagrin
