#pragma once
// Ascending order of floats that hold no NaN and no negative zero: for
// these, the order by value is a total order in which equal values have
// equal bits, so any correct sort gives the same bytes as std::sort.

#include <span>

namespace eco {

// Sorts x ascending. Needs: no NaN and no negative zero in x (infinities
// and subnormal values are fine).
void sortPlainFloats(std::span<float> x);

}  // namespace eco
