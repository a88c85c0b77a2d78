// MulDiv: number * numerator / denominator through a 64-bit product, so the
// middle result cannot overflow; the platform's one rounding of scaled
// measures (points to pixels, dialog units to pixels).
#pragma once

#include "platform/base/export.h"

// Rounds to nearest, halves away from zero; -1 on division by zero.
PLATFORM_API int MulDiv(int number, int numerator, int denominator);
