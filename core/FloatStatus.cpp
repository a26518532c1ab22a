#include "core/FloatStatus.h"

#include <cfenv>

#include "core/RunTimeError.h"

namespace pelagrin {

void ClearFloatStatus() noexcept {
    std::feclearexcept(FE_ALL_EXCEPT);
}

void CheckFloatStatus() {
    const int raised = std::fetestexcept(FE_DIVBYZERO | FE_OVERFLOW | FE_INVALID);
    if ((raised & FE_DIVBYZERO) != 0) {
        throw RunTimeError(ErrorKind::DivisionByZero);
    }
    if (raised != 0) {
        throw RunTimeError(ErrorKind::Overflow);
    }
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

}  // namespace pelagrin
