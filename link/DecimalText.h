#pragma once
// The readers of decimal texts, one for each rule the tool applies. Plain C++.

#include <cstdint>
#include <string>

namespace trelmo {

// A signed decimal number: leading white space skipped, one optional + or -, then digits up to the first other
// character; no digits give 0. Wraps modulo 2^32 ("-1" -> -1, so its low 16 bits are 0xFFFF). Callers keep the
// low 16 bits.
std::int32_t ParseDecimalValue(const std::string& text);

// The digits at the very start of the text (a blank or a sign stops the reading), saturating at INT_MAX instead of
// overflowing; 0 when the text does not begin with a digit.
int LeadingDigitsValue(const std::string& text);

// LeadingDigitsValue after leading white space: " 12" is 12, "-5" is 0.
int LeadingDigitsValueAfterSpace(const std::string& text);

} // namespace trelmo
