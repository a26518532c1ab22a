#pragma once

#include "core/View.h"

namespace pelagrin {

// Empties both boxes, restores every result caption's prefix and puts the focus back in the
// depth box, ready for the next dive. The stored figures stay as they are, so Print still
// has the last calculation.
void Clear(view& window);

// The About box: who made the calculator and for whom.
void About(view& window);

}  // namespace pelagrin
