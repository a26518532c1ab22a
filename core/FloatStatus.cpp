#include "core/FloatStatus.h"

#include <limits>

#include "core/RunTimeError.h"

#if defined(__x86_64__) && !defined(PELAGRIN_FLOAT_STATUS_FENV)
#include <xmmintrin.h>
#else
#include <cfenv>
#endif

namespace pelagrin {
namespace {

#if defined(__x86_64__) && !defined(PELAGRIN_FLOAT_STATUS_FENV)

// On x86-64 every double and Single operation runs in SSE registers, whose sticky flags live
// in MXCSR alone. Reading and writing it directly costs a few cycles, where the C library's
// calls also save and reload the unused x87 unit: ten times the cost of a whole formula.
constexpr unsigned kInvalid = 0x01;
constexpr unsigned kDivisionByZero = 0x04;
constexpr unsigned kOverflow = 0x08;
constexpr unsigned kAllFlags = 0x3F;

unsigned RaisedFlags() noexcept {
    return _mm_getcsr() & kAllFlags;
}

void SetFlags(unsigned flags) noexcept {
    _mm_setcsr((_mm_getcsr() & ~kAllFlags) | flags);
}

#else

constexpr unsigned kInvalid = FE_INVALID;
constexpr unsigned kDivisionByZero = FE_DIVBYZERO;
constexpr unsigned kOverflow = FE_OVERFLOW;

unsigned RaisedFlags() noexcept {
    return static_cast<unsigned>(std::fetestexcept(FE_ALL_EXCEPT));
}

void SetFlags(unsigned flags) noexcept {
    std::feclearexcept(FE_ALL_EXCEPT);
    std::feraiseexcept(static_cast<int>(flags));
}

#endif

void CheckFloatStatus() {
    const unsigned raised = RaisedFlags();
    if ((raised & kDivisionByZero) != 0) {
        throw RunTimeError(ErrorKind::DivisionByZero);
    }
    if ((raised & (kOverflow | kInvalid)) != 0) {
        throw RunTimeError(ErrorKind::Overflow);
    }
}

}  // namespace

void ClearFloatStatus() noexcept {
    SetFlags(0);
}

double Checked(double value) {
    volatile double pinned = value;
    CheckFloatStatus();
    return pinned;
}

void StoreChecked(float& field, double value) {
    volatile float pinned = static_cast<float>(value);
    field = pinned;
    CheckFloatStatus();
}

void RaiseOverflow() noexcept {
    // A real overflowing operation, so the flag is raised exactly where the arithmetic keeps it.
    volatile double largest = std::numeric_limits<double>::max();
    largest = largest * 2.0;
}

SavedFloatStatus::SavedFloatStatus() noexcept : flags_(RaisedFlags()) {}

SavedFloatStatus::~SavedFloatStatus() {
    SetFlags(flags_);
}

}  // namespace pelagrin
