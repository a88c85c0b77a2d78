// Parsers of setting values. Both read exactly the text they are given and
// report failure without throwing.
#pragma once

#include <string_view>

namespace mml {

// A decimal number with optional sign, fraction and exponent ("1", "-2.5",
// ".5", "3.", "6.02e23"), or a fraction "[whole ]num/den" with an optional
// sign in front ("3/4", "-1 1/2"). Blanks and tabs may stand around it.
// False for anything else, a zero denominator, or a value out of range.
bool parse_real(std::string_view text, double* out);

}  // namespace mml
